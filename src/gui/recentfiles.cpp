// The recent files in the settings and in their menu.
#include "gui/recentfiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace velq {
namespace {

const QString kFiles = QStringLiteral("recent/files");
const QString kFolder = QStringLiteral("recent/folder");

} // namespace

void RecentFiles::connect(QMenu* menu, QAction* clear, std::function<void(const QUrl&)> open) {
    menu_ = menu;
    clear_ = clear;
    open_ = std::move(open);
    // Not the menu as the context: a menu disconnects its actions from itself when it lets them go.
    QObject::connect(clear_, &QAction::triggered, clear_, [this] { this->clear(); });
    rebuild();
}

QList<QUrl> RecentFiles::files() const {
    QList<QUrl> out;
    for (const QString& encoded : QSettings().value(kFiles).toStringList())
        out << QUrl::fromEncoded(encoded.toLatin1());
    return out;
}

void RecentFiles::add(const QUrl& file) {
    QStringList encoded = QSettings().value(kFiles).toStringList();
    const QString entry = QString::fromLatin1(file.toEncoded());
    encoded.removeAll(entry);
    encoded.prepend(entry);
    QSettings().setValue(kFiles, encoded.mid(0, kMaxFiles));
    rebuild();
}

void RecentFiles::clear() {
    QSettings().remove(kFiles);
    rebuild();
}

QString RecentFiles::lastFolder() const {
    return QSettings().value(kFolder).toString();
}

void RecentFiles::setLastFolder(const QString& folder) {
    QSettings().setValue(kFolder, folder);
}

void RecentFiles::rebuild() {
    if (!menu_) return;
    menu_->clear();
    const QList<QUrl> recent = files();
    for (qsizetype k = 0; k < recent.size(); ++k) {
        const QUrl file = recent[k];
        QAction* item =
            menu_->addAction(QStringLiteral("&%1  %2")
                                 .arg((k + 1) % 10)
                                 .arg(QFileInfo(file.path())
                                          .fileName()
                                          .replace(QLatin1Char('&'), QStringLiteral("&&"))));
        item->setToolTip(file.toDisplayString(QUrl::PreferLocalFile));
        QObject::connect(item, &QAction::triggered, item, [this, file] { open_(file); });
    }
    menu_->addSeparator();
    menu_->addAction(clear_);
    clear_->setEnabled(!recent.isEmpty());
}

} // namespace velq
