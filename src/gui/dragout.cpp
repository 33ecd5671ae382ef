// The promised file of a drag out, and its name.
#include "gui/dragout.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QUrl>

namespace velq {
namespace {

// Offers a file that is written only when a drop target first asks for it.
class PromisedPng : public QMimeData {
public:
    explicit PromisedPng(std::function<QString()> write) : write_(std::move(write)) {}

    QStringList formats() const override {
        QStringList list = QMimeData::formats();
        list.prepend(QStringLiteral("text/uri-list"));
        return list;
    }
    bool hasFormat(const QString& mimeType) const override {
        return mimeType == QLatin1String("text/uri-list") || QMimeData::hasFormat(mimeType);
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (mimeType != QLatin1String("text/uri-list"))
            return QMimeData::retrieveData(mimeType, type);
        if (path_.isEmpty()) path_ = write_();
        if (path_.isEmpty()) return {};
        return QVariant(QList<QVariant>{QUrl::fromLocalFile(path_)});
    }

private:
    std::function<QString()> write_;
    mutable QString path_;
};

} // namespace

QString DragOut::nextPath(const QString& folder) {
    QString name;
    do {
        ++filenum_;
        name = QStringLiteral("Mandelbrot_%1.png").arg(filenum_, 3, 10, QLatin1Char('0'));
    } while (QFileInfo::exists(QDir(folder).filePath(name)));
    return QDir(folder).filePath(name);
}

QMimeData* DragOut::mimeData(const QImage& picture, std::function<QString()> write) {
    auto* data = new PromisedPng(std::move(write));
    data->setImageData(picture);
    return data;
}

} // namespace velq
