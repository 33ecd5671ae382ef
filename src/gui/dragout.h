// Dragging the picture out: PNG files named by the time of the drag and a number within the
// run, written into a private folder when a drop target first asks for them.
#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class QMimeData;
class QImage;

namespace velq {

class DragOut {
public:
    // Makes this run's private folder, and removes those that runs which were killed left.
    DragOut();

    // The private folder that dragged-out pictures are written to.
    QString folder() const { return folder_.path(); }
    // The number of the last picture named in this run.
    int filenum() const { return filenum_; }

    // A drag starts at `when`: its file, if a target asks for one, is named for that time.
    void begin(const QDateTime& when) { when_ = when; }
    // The next free name in `folder`: Mandelbrot_YYYYMMDD-HHMMSS_NNN.png.
    QString nextPath(const QString& folder);
    // The drag is over; a cancelled one takes back the file it wrote and its number.
    void end(bool dropped);

    // What a drag carries: `picture`, and a file that `write` writes (returning its path, or an
    // empty one) the first time a target asks for it.
    static QMimeData* mimeData(const QImage& picture, std::function<QString()> write);

private:
    QTemporaryDir folder_;
    int filenum_ = 0;
    QDateTime when_;
    QString written_;      // the file of the drag in flight
    int numberBefore_ = 0; // the number before that file's
};

} // namespace velq
