// Fuzzes opening a file, from its name and bytes to the views it would render, with the
// rendering replaced by recording the views; every recorded view, written again as a parameter
// line or a PNG chunk, must read back as the same view.
#include "core/files/openpath.h"
#include "core/files/paramline.h"
#include "core/files/pngchunk.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

namespace {

using namespace velq;

void check(bool promise) {
    if (!promise) std::abort();
}

constexpr std::array<std::string_view, 6> kNames = {"views.mdl", "picture.png",  "PICTURE.PnG",
                                                    "notes.txt", "no-extension", "a.png/views.mdl"};

struct Read {
    std::vector<MANDAT> views;
    std::vector<double> aspects;
    bool refused = false; // the alert of a PNG that cannot be opened
};

// What opening does, with a recorder in place of the renders. The user aborts the render of
// view number `abortAt` (0: none), which ends the reading.
Read openBytes(std::string_view name, std::span<const char> data, std::size_t abortAt) {
    Read read;
    const FileKind kind = fileKindOf(name);
    const auto start = parameterTextStart(data, kind);
    if (!start) {
        check(kind == FileKind::Png); // parameter files are never refused, only silent
        read.refused = true;
        return read;
    }
    check(*start <= data.size());
    ParameterReader reader(data, *start);
    while (const auto line = reader.next()) {
        read.views.push_back(viewOf(*line));
        read.aspects.push_back(line->aspect);
        check(read.views.size() <= data.size());
        if (read.views.size() == abortAt) break;
    }
    return read;
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A double written with 20 decimals and read again. From 2^-13 on a unit in the last place is
// wider than that rounding, so the very double comes back; below it, what the decimals hold.
bool readsBack(double written, double read) {
    if (std::isnan(written)) return std::isnan(read) && std::signbit(written) == std::signbit(read);
    if (std::isinf(written) || std::fabs(written) >= 0x1p-13) return sameBits(written, read);
    return std::signbit(written) == std::signbit(read) && std::fabs(written - read) <= 1e-20;
}

bool sameView(const MANDAT& written, const MANDAT& read) {
    return readsBack(written.x, read.x) && readsBack(written.y, read.y) &&
           readsBack(written.w, read.w) && written.it == read.it && written.cs == read.cs &&
           written.cp == read.cp;
}

std::span<const char> chars(std::string_view s) {
    return {s.data(), s.size()};
}

// The smallest encoded PNG the chunk can go into: the signature and IHDR.
std::vector<std::uint8_t> bareIhdr() {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                                     0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    png.resize(kIhdrEnd, 0);
    return png;
}

void checkRoundTrip(const MANDAT& v, double aspect) {
    const std::string line = parameterLine(v, aspect);
    const Read again = openBytes("again.mdl", chars(line), 0);
    check(again.views.size() == 1 && sameView(v, again.views[0]));
    // Written once more, the view gives the very same text.
    check(parameterLine(again.views[0], again.aspects[0]) == line);

    // In a PNG the parameter line is followed by the home address: exactly one view.
    const std::vector<std::uint8_t> png = insertParameterChunk(bareIhdr(), v, aspect);
    const Read fromPng =
        openBytes("again.png",
                  std::span<const char>(reinterpret_cast<const char*>(png.data()), png.size()), 0);
    check(fromPng.views.size() == 1 && sameView(v, fromPng.views[0]));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view name = kNames[data[0] % kNames.size()];
    const std::size_t abortAt = data[1];
    const std::span<const char> bytes(reinterpret_cast<const char*>(data + 2), size - 2);
    const Read read = openBytes(name, bytes, abortAt);
    check(abortAt == 0 || read.views.size() <= abortAt);
    for (std::size_t k = 0; k < read.views.size(); ++k)
        checkRoundTrip(read.views[k], read.aspects[k]);
    return 0;
}
