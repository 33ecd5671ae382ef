// PNG files with the parameter chunk: encoding by Qt's writer, written without loss.
#pragma once

#include "engine/mandat.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace velq {

// The picture as a non-interlaced PNG with the view's parameter chunk right after IHDR.
// `aspect`: the width over the height of the picture that was rendered.
QByteArray encodePngWithChunk(const QImage& picture, const MANDAT& view, double aspect);

// Writes through a temporary file that replaces the target only when complete, so a failed
// write never leaves a truncated file under the user's name. False when it failed.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

} // namespace velq
