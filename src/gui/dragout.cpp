// The promised file of a drag out, its name, and the private folders it goes into.
#include "gui/dragout.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace velq {
namespace {

const QString kFolderPrefix = QStringLiteral("velquorantisphaeron-drag-");

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

// Folders of ours whose run has ended without removing them: named for a process that is gone.
void removeLeftovers() {
    QDir temp = QDir::temp();
    const QStringList folders =
        temp.entryList({kFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders) {
        const pid_t pid = name.mid(kFolderPrefix.size()).section(QLatin1Char('-'), 0, 0).toInt();
        const QFileInfo info(temp.filePath(name));
        if (pid > 0 && info.ownerId() == ::getuid() && ::kill(pid, 0) != 0 && errno == ESRCH)
            QDir(info.filePath()).removeRecursively();
    }
}

} // namespace

DragOut::DragOut()
    : folder_(QDir::temp().filePath(kFolderPrefix + QString::number(::getpid()) +
                                    QStringLiteral("-XXXXXX"))) {
    removeLeftovers();
}

QString DragOut::nextPath(const QString& folder) {
    const QString stamp = (when_.isValid() ? when_ : QDateTime::currentDateTime())
                              .toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path;
    numberBefore_ = filenum_;
    do {
        ++filenum_;
        path = QDir(folder).filePath(QStringLiteral("Mandelbrot_%1_%2.png")
                                         .arg(stamp)
                                         .arg(filenum_, 3, 10, QLatin1Char('0')));
    } while (QFileInfo::exists(path));
    written_ = path;
    return path;
}

void DragOut::end(bool dropped) {
    if (!dropped && !written_.isEmpty() && QFile::remove(written_)) filenum_ = numberBefore_;
    written_.clear();
}

QMimeData* DragOut::mimeData(const QImage& picture, std::function<QString()> write) {
    auto* data = new PromisedPng(std::move(write));
    data->setImageData(picture);
    return data;
}

} // namespace velq
