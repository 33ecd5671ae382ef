// Open Recent: the last ten files opened or saved, and the folder used last. These, kept in
// the user's settings, are the only things the program remembers from one run to the next.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QAction;
class QMenu;

namespace velq {

class RecentFiles {
public:
    static constexpr int kMaxFiles = 10;

    // Fills `menu` with the files, then a separator and `clear`; `open` opens a chosen one.
    void connect(QMenu* menu, QAction* clear, std::function<void(const QUrl&)> open);

    // Newest first; the URLs keep names that are not UTF-8 byte for byte.
    QList<QUrl> files() const;
    void add(const QUrl& file);
    void clear();
    QString lastFolder() const;
    void setLastFolder(const QString& folder);

private:
    void rebuild();

    QMenu* menu_ = nullptr;
    QAction* clear_ = nullptr;
    std::function<void(const QUrl&)> open_;
};

} // namespace velq
