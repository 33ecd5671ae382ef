// Encoding and writing PNG files that carry their view.
#include "io/pngfile.h"

#include "io/pngchunk.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cstdint>
#include <filesystem>
#include <span>
#include <unistd.h>

namespace velq {

QByteArray encodePngWithChunk(const QImage& picture, const MANDAT& view, double aspect) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(picture)) return {};
    const std::vector<std::uint8_t> withChunk = insertParameterChunk(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                                      static_cast<std::size_t>(encoded.size())),
        view, aspect);
    return QByteArray(reinterpret_cast<const char*>(withChunk.data()),
                      static_cast<qsizetype>(withChunk.size()));
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes) {
    if (bytes.isEmpty()) return false;
    // A named temporary file beside the target, checked at every step, then renamed over it.
    // (QSaveFile in this Qt reports success after a short write on a full disk.)
    const QFileInfo target(path);
    QTemporaryFile temp(QDir(target.absolutePath()).filePath(QStringLiteral(".velq-XXXXXX")));
    if (!temp.open()) return false;
    const bool complete = temp.write(bytes) == bytes.size() && temp.flush() &&
                          ::fsync(temp.handle()) == 0 && temp.error() == QFileDevice::NoError;
    if (!complete) return false;
    temp.setPermissions(target.exists() ? QFile::permissions(path)
                                        : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ReadGroup | QFileDevice::ReadOther);
    std::error_code error;
    std::filesystem::rename(temp.fileName().toStdString(), path.toStdString(), error);
    if (error) return false;
    temp.setAutoRemove(false); // it has become the target
    return true;
}

} // namespace velq
