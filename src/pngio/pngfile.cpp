// Encoding PNG files that carry their view.
#include "pngio/pngfile.h"

#include "core/files/pngchunk.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

namespace velq {

std::vector<std::uint8_t> encodePngWithChunk(std::span<const Rgba> pixels, int width, int height,
                                             const MANDAT& view, double aspect, PngEffort effort) {
    if (width <= 0 || height <= 0 ||
        pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const QImage picture(reinterpret_cast<const uchar*>(pixels.data()), width, height,
                         static_cast<qsizetype>(width) * 4, QImage::Format_RGBA8888);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // Qt takes 0..100 and gives deflate a ninth of it: 12 is level 1.
    if (effort == PngEffort::Fast) writer.setCompression(12);
    if (!writer.write(picture)) return {};
    return insertParameterChunk(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                                      static_cast<std::size_t>(encoded.size())),
        view, aspect);
}

} // namespace velq
