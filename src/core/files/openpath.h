// From the bytes of an opened or dropped file to the views it holds.
#pragma once

#include "core/files/paramline.h"
#include "core/view/mandat.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace velq {

enum class FileKind { Png, Parameters };

// ".png" in any case is a PNG file; every other name is read as parameter lines.
FileKind fileKindOf(std::string_view path);
// Whether a dropped name has one of the two accepted extensions, in any case.
bool hasAcceptedExtension(std::string_view path);

// Where the parameter lines start: 0 for parameter files, the chunk's text for a PNG file.
// Nothing for a PNG file that cannot be opened (too short, or without the parameter chunk).
std::optional<std::size_t> parameterTextStart(std::span<const char> data, FileKind kind);

// The view a read line stands for: its limit rounded to an allowed one, its rotation clamped.
// With `deep`, a line's deep extras give the view its full depth; without, the seven fields
// are the view, as for every reader that does not know the extras.
MANDAT viewOf(const ParsedLine& line, bool deep = false);

} // namespace velq
