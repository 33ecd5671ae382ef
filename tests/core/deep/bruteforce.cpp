// The plain loop in MPFR, and the fixture files.
#include "bruteforce.h"

#include <algorithm>
#include <atomic>
#include <sstream>
#include <thread>

namespace velq {

std::int32_t bruteForceCount(const Real& cr, const Real& ci, std::int32_t limit, long bits) {
    Real x(bits), y(bits), xx(bits), yy(bits), xy(bits), r2(bits);
    const Real a = cr.withBits(bits), b = ci.withBits(bits);
    for (std::int32_t n = 1; n < limit; ++n) {
        mpfr_mul(xy.get(), x.get(), y.get(), MPFR_RNDN);
        mpfr_sub(x.get(), xx.get(), yy.get(), MPFR_RNDN);
        mpfr_add(x.get(), x.get(), a.get(), MPFR_RNDN);
        mpfr_mul_2ui(xy.get(), xy.get(), 1, MPFR_RNDN);
        mpfr_add(y.get(), xy.get(), b.get(), MPFR_RNDN);
        mpfr_sqr(xx.get(), x.get(), MPFR_RNDN);
        mpfr_sqr(yy.get(), y.get(), MPFR_RNDN);
        mpfr_add(r2.get(), xx.get(), yy.get(), MPFR_RNDN);
        if (mpfr_cmp_ui(r2.get(), 4) > 0) return n + 1;
    }
    return 0;
}

long oracleBits(const ExtFloat& w) {
    return centreBits(w) + 64;
}

std::vector<std::int32_t> bruteForcePicture(const DeepView& view, int winx, int winy, long bits,
                                            int threads) {
    const ExtFloat s = (view.w + view.w) / ExtFloat(std::min(winx, winy));
    std::vector<std::int32_t> counts(static_cast<std::size_t>(winx) * winy);
    std::atomic<int> nextRow{0};
    const auto work = [&] {
        for (int j = nextRow++; j < winy; j = nextRow++) {
            const Real ci = view.y.withBits(bits) + Real(ExtFloat(winy / 2 - j) * s, 64);
            for (int i = 0; i < winx; ++i) {
                const Real cr = view.x.withBits(bits) + Real(ExtFloat(i - winx / 2) * s, 64);
                counts[static_cast<std::size_t>(j) * winx + i] =
                    bruteForceCount(cr, ci, view.it, bits);
            }
        }
    };
    std::vector<std::jthread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    return counts;
}

std::optional<DeepView> Fixture::view() const {
    const std::optional<ExtFloat> wide = ExtFloat::parse(w);
    if (!wide) return std::nullopt;
    const long b = oracleBits(*wide);
    std::optional<Real> cx = Real::parse(x, b), cy = Real::parse(y, b);
    if (!cx || !cy) return std::nullopt;
    return DeepView{std::move(*cx), std::move(*cy), *wide, limit};
}

std::string fixtureText(const Fixture& f) {
    std::ostringstream out;
    out << "x " << f.x << "\ny " << f.y << "\nw " << f.w << "\nlimit " << f.limit << "\nsize "
        << f.winx << " " << f.winy << "\nbits " << f.bits << "\ncounts\n";
    for (int j = 0; j < f.winy; ++j) {
        for (int i = 0; i < f.winx; ++i)
            out << (i ? " " : "") << f.counts[static_cast<std::size_t>(j) * f.winx + i];
        out << "\n";
    }
    return out.str();
}

std::optional<Fixture> parseFixture(const std::string& text) {
    std::istringstream in(text);
    Fixture f;
    std::string key;
    while (in >> key && key != "counts") {
        if (key == "x")
            in >> f.x;
        else if (key == "y")
            in >> f.y;
        else if (key == "w")
            in >> f.w;
        else if (key == "limit")
            in >> f.limit;
        else if (key == "size")
            in >> f.winx >> f.winy;
        else if (key == "bits")
            in >> f.bits;
        else
            return std::nullopt;
    }
    if (key != "counts" || f.winx <= 0 || f.winy <= 0) return std::nullopt;
    f.counts.resize(static_cast<std::size_t>(f.winx) * f.winy);
    for (std::int32_t& c : f.counts)
        if (!(in >> c)) return std::nullopt;
    return f;
}

} // namespace velq
