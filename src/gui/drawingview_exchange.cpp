// The picture leaves the window: Copy to the clipboard and the Alt-drag of a numbered PNG.
#include "core/files/export.h"
#include "gui/drawingview.h"

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

QImage DrawingView::dragPicture() const {
    // Full size for an Alt-drag, half size for Alt+Shift.
    const bool half = mouse_on != 2;
    return imageRep.scaled(half ? winx / 2 : winx, half ? winy / 2 : winy, Qt::IgnoreAspectRatio,
                           Qt::SmoothTransformation);
}

QMimeData* DrawingView::dragData() {
    const int kind = mouse_on;
    auto* data = new PromisedPng([this, kind] {
        mouse_on = kind;
        return namesOfPromisedFilesDroppedAtDestination(dragFolder());
    });
    data->setImageData(dragPicture());
    return data;
}

void DrawingView::dragImage() {
    const QImage picture = dragPicture();
    // What hangs under the pointer: the picture at 70 %, centred on the press point.
    QPixmap shown(picture.size());
    shown.fill(Qt::transparent);
    {
        QPainter painter(&shown);
        painter.setOpacity(0.7);
        painter.drawImage(0, 0, picture);
    }
    auto* drag = new QDrag(this);  // Qt disposes of it when the drag is over
    drag->setMimeData(dragData()); // the drag owns the data
    drag->setPixmap(shown);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace velq
