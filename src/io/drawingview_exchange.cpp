// The picture leaves the window: Copy to the clipboard and the Alt-drag of a numbered PNG.
#include "app/drawingview.h"
#include "io/export.h"

#include <QClipboard>
#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QUrl>
#include <functional>

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

void DrawingView::copy() {
    // The picture as shown, without its view: image/png first, as Linux programs expect.
    QGuiApplication::clipboard()->setImage(imageRep);
}

QString DrawingView::namesOfPromisedFilesDroppedAtDestination(const QString& folder) {
    // Numbers run on through the run; names already taken in the folder are skipped.
    QString name;
    do {
        ++filenum;
        name = QStringLiteral("Mandelbrot_%1.png").arg(filenum, 3, 10, QLatin1Char('0'));
    } while (QFileInfo::exists(QDir(folder).filePath(name)));
    const QString path = QDir(folder).filePath(name);
    saveAsPNG(Mandat0, path, mouse_on);
    return QFileInfo::exists(path) ? path : QString();
}

void DrawingView::dragImage(const QPointF& at) {
    const bool half = mouse_on != 2;
    const int w = half ? winx / 2 : winx;
    const int h = half ? winy / 2 : winy;
    const QImage picture = imageRep.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // What hangs under the pointer: the picture at 70 %, centred on the press point.
    QPixmap shown(w, h);
    shown.fill(Qt::transparent);
    {
        QPainter painter(&shown);
        painter.setOpacity(0.7);
        painter.drawImage(0, 0, picture);
    }
    const int kind = mouse_on;
    auto* data = new PromisedPng([this, kind] {
        mouse_on = kind;
        return namesOfPromisedFilesDroppedAtDestination(dragFolder());
    });
    data->setImageData(picture);
    auto* drag = new QDrag(this); // Qt disposes of it when the drag is over
    drag->setMimeData(data);      // the drag owns the data
    drag->setPixmap(shown);
    drag->setHotSpot(QPoint(w / 2, h / 2));
    Q_UNUSED(at);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace velq
