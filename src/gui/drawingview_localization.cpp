// The localization pass: menus, the save options and two buttons are titled from the table.
#include "gui/drawingview.h"
#include "gui/localization.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace velq {
namespace {

const QString kAppName = QStringLiteral("Velquorantisphaeron");

struct Title {
    int position;
    const char* key;
    bool withAppName = false;
};

QMenu* topMenu(QMenuBar* bar, int position) {
    return bar->actions().at(position)->menu();
}

void retitle(QMenu* menu, std::initializer_list<Title> titles) {
    const QList<QAction*> items = menu->actions();
    for (const Title& t : titles) {
        const QString text = t.withAppName ? localized(t.key).arg(kAppName) : localized(t.key);
        items.at(t.position)->setText(text);
    }
}

QAction* itemTitled(QMenu* menu, const QString& title) {
    for (QAction* item : menu->actions())
        if (item->text() == title) return item;
    return nullptr;
}

} // namespace

void DrawingView::localization() {
    QMenuBar* mainMenu = menus_.outlets().mainMenu;
    QMenu* menu_ = menus_.outlets().menu_;
    retitle(topMenu(mainMenu, 0), {{0, "AboutApp", true},
                                   {2, "HideApp", true},
                                   {3, "HideOthers"},
                                   {4, "ShowAll"},
                                   {6, "QuitApp", true}});
    QMenu* file = topMenu(mainMenu, 1);
    file->setTitle(localized("File"));
    retitle(file, {{0, "Open"}, {2, "Save"}, {4, "PageSetup"}, {5, "Print"}});
    QMenu* edit = topMenu(mainMenu, 2);
    edit->setTitle(localized("Edit"));
    retitle(edit, {{0, "Cut"}, {1, "Copy"}, {2, "Paste"}});
    QMenu* control = topMenu(mainMenu, 3);
    control->setTitle(localized("Control"));
    const auto controlTitles = {Title{0, "InitialCoordinates"},
                                Title{1, "ReDrawing"},
                                Title{3, "Back"},
                                Title{4, "Forward"},
                                Title{9, "Iteration"},
                                Title{10, "HistoryMode"}};
    retitle(control, controlTitles);
    control->actions().at(6)->setText(localized("ZoomIn").arg(2));
    control->actions().at(7)->setText(localized("ZoomOut").arg(2));
    QMenu* gallery = topMenu(mainMenu, 4);
    gallery->setTitle(localized("Gallery"));
    if (QAction* benchmark = itemTitled(gallery, QStringLiteral("Benchmark Test")))
        benchmark->setText(localized("Benchmark"));
    if (QAction* next = itemTitled(gallery, QStringLiteral("Next")))
        next->setText(localized("Next"));
    QMenu* help = topMenu(mainMenu, 5);
    help->setTitle(localized("Help"));
    retitle(help, {{0, "AppHelp", true}});
    retitle(menu_, controlTitles);
    menu_->actions().at(6)->setText(localized("ZoomIn").arg(2));
    menu_->actions().at(7)->setText(localized("ZoomOut").arg(2));
    retitle(menu_, {{12, "Open"}, {13, "Save"}, {14, "Copy"}});
    savePanel_.localize();
    driver_.outlets().PushButton->setText(localized("Run"));
    colours_.outlets().PushButtonCG->setText(localized("Green"));
}

} // namespace velq
