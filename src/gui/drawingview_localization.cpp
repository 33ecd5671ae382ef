// The localization pass: menus, the save options and two buttons are titled from the table.
#include "gui/drawingview.h"
#include "gui/localization.h"
#include "ui_mainwindow.h"

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

void retitle(QMenu* menu, std::initializer_list<Title> titles) {
    const QList<QAction*> items = menu->actions();
    for (const Title& t : titles) {
        const QString text = t.withAppName ? localized(t.key).arg(kAppName) : localized(t.key);
        items.at(t.position)->setText(text);
    }
}

// The Control menu and its contextual twin share their first twelve items.
void retitleControl(QMenu* menu) {
    retitle(menu, {{0, "InitialCoordinates"},
                   {1, "ReDrawing"},
                   {3, "Back"},
                   {4, "Forward"},
                   {9, "Iteration"},
                   {10, "HistoryMode"},
                   {11, "DeepZoom"}});
    menu->actions().at(6)->setText(localized("ZoomIn").arg(2));
    menu->actions().at(7)->setText(localized("ZoomOut").arg(2));
}

} // namespace

void DrawingView::localization() {
    Ui_MainWindow& ui = *ui_;
    ui.menuFile->setTitle(localized("File"));
    retitle(ui.menuFile,
            {{0, "Open"}, {1, "OpenRecent"}, {2, "Save"}, {3, "ExportMovie"}, {5, "QuitApp"}});
    ui.menuEdit->setTitle(localized("Edit"));
    retitle(ui.menuEdit, {{0, "Copy"}});
    ui.menuControl->setTitle(localized("Control"));
    retitleControl(ui.menuControl);
    ui.menuGallery->setTitle(localized("Gallery"));
    ui.menuBenchmark->setTitle(localized("Benchmark"));
    ui.menuGalleryNext->setTitle(localized("Next"));
    for (QAction* sequence : ui.menuBenchmark->actions())
        sequence->setText(localized("Sequence").arg(tagOf(sequence)));
    ui.menuWindow->setTitle(localized("Window"));
    retitle(ui.menuWindow, {{0, "Zoom"}, {1, "FullScreen"}, {2, "Minimize"}});
    ui.menuHelp->setTitle(localized("Help"));
    retitle(ui.menuHelp, {{0, "Manual"}, {1, "AboutApp", true}});
    ui.actionClearRecent->setText(localized("ClearRecent"));
    retitleControl(ui.menu_);
    retitle(ui.menu_, {{13, "Open"}, {14, "Save"}, {15, "Copy"}});
    savePanel_.localize();
    driver_.outlets().PushButton->setText(localized("Run"));
    colours_.outlets().PushButtonCG->setText(localized("Green"));
}

} // namespace velq
