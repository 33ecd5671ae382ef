// The picture leaves the window: Copy to the clipboard and the Alt-drag of a numbered PNG.
#include "gui/drawingview.h"

#include <QClipboard>
#include <QDateTime>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

namespace velq {

void DrawingView::copy() {
    if (!settleGesture()) return;
    // The picture as shown, without its view: image/png first, as Linux programs expect.
    QGuiApplication::clipboard()->setImage(picture_.imageRep());
}

QString DrawingView::namesOfPromisedFilesDroppedAtDestination(const QString& folder) {
    const QString path = dragOut_.nextPath(folder);
    saveAsPNG(Mandat0_, path, selection_.mouse_on());
    return QFileInfo::exists(path) ? path : QString();
}

QImage DrawingView::dragPicture() const {
    // Full size for an Alt-drag, half size for Alt+Shift, in device pixels.
    const bool half = selection_.mouse_on() != MouseOn::DragFull;
    const int winx = picture_.winx(), winy = picture_.winy();
    QImage picture = picture_.imageRep().scaled(half ? winx / 2 : winx, half ? winy / 2 : winy,
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(1);
    return picture;
}

QMimeData* DrawingView::dragData() {
    const int kind = selection_.mouse_on();
    dragOut_.begin(QDateTime::currentDateTime());
    return DragOut::mimeData(dragPicture(), [this, kind] {
        selection_.setMouseOn(kind);
        return namesOfPromisedFilesDroppedAtDestination(dragOut_.folder());
    });
}

void DrawingView::dragImage() {
    if (!settleGesture()) return;
    const QImage picture = dragPicture();
    // What hangs under the pointer: the picture at 70 %, centred on the press point.
    QImage faded(picture.size(), QImage::Format_ARGB32_Premultiplied);
    faded.fill(Qt::transparent);
    {
        QPainter painter(&faded);
        painter.setOpacity(0.7);
        painter.drawImage(0, 0, picture);
    }
    QPixmap shown = QPixmap::fromImage(faded);
    shown.setDevicePixelRatio(picture_.ratio());
    auto* drag = new QDrag(this);  // Qt disposes of it when the drag is over
    drag->setMimeData(dragData()); // the drag owns the data
    drag->setPixmap(shown);
    drag->setHotSpot(QPoint(picture.width() / 2, picture.height() / 2) / picture_.ratio());
    dragOut_.end(drag->exec(Qt::CopyAction, Qt::CopyAction) != Qt::IgnoreAction);
}

} // namespace velq
