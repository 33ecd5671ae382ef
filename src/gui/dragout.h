// Dragging the picture out: numbered PNG files in a private folder, written when a drop
// target first asks for them.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>

class QMimeData;
class QImage;

namespace velq {

class DragOut {
public:
    // The private folder that dragged-out pictures are written to.
    QString folder() const { return folder_.path(); }
    // The number of the last picture named.
    int filenum() const { return filenum_; }
    // The next free name in `folder`: numbers run on through the run, names already taken are
    // skipped.
    QString nextPath(const QString& folder);

    // What a drag carries: `picture`, and a file that `write` writes (returning its path, or an
    // empty one) the first time a target asks for it.
    static QMimeData* mimeData(const QImage& picture, std::function<QString()> write);

private:
    QTemporaryDir folder_;
    int filenum_ = 0;
};

} // namespace velq
