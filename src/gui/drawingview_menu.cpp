// Menu commands: the command table, validation, iteration limits, history mode, gallery, help.
#include "core/files/paramline.h"
#include "core/gallery/gallery.h"
#include "core/view/iterationlimit.h"
#include "gui/drawingview.h"
#include "gui/helpaddress.h"
#include "gui/localization.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>

namespace velq {
namespace {

int tagOf(const QAction* action) {
    return action->property("tag").toInt();
}

bool isIterationTag(int tag) {
    return tag >= 256 && tag <= 32768 && (tag & (tag - 1)) == 0;
}

// The items of a menu and of its submenus, submenus' own items left out.
void collectItems(const QMenu* menu, QList<QAction*>& items) {
    for (QAction* action : menu->actions()) {
        if (action->menu())
            collectItems(action->menu(), items);
        else if (!action->isSeparator())
            items.push_back(action);
    }
}

// Items the view has no handler for stay disabled.
void disableAll(std::initializer_list<QAction*> actions) {
    for (QAction* action : actions)
        action->setEnabled(false);
}

} // namespace

void DrawingView::addViewAction(QAction* action, bool command) {
    viewActions.push_back(action);
    if (command) connect(action, &QAction::triggered, this, [this, action] { menuMandel(action); });
}

void DrawingView::connectMenus(Ui_MainWindow& ui) {
    mainMenu = ui.menubar;
    menu_ = ui.menu_;
    menuHistmode = ui.menuHistmode;
    menuHistmode_ = ui.menuHistmode_;
    menuIterations = ui.menuIterations;
    menuIterations_ = ui.menuIterations_;
    menuZoomIn = ui.menuZoomInSub->menuAction();
    menuZoomIn_ = ui.menuZoomInSub_->menuAction();
    menuZoomOut = ui.menuZoomOutSub->menuAction();
    menuZoomOut_ = ui.menuZoomOutSub_->menuAction();
    addGalleryItems(ui);
    // The zoom items carry the last factor chosen; at start it is 2.
    for (QAction* in : {menuZoomIn, menuZoomIn_})
        in->setProperty("tag", 2);
    for (QAction* out : {menuZoomOut, menuZoomOut_})
        out->setProperty("tag", -2);

    // Every item with a tag in the Control and Gallery menus and the contextual menu is a
    // command of menuMandel; the rest that goes to the view is validated all the same.
    const QList<QAction*> benchmarks = ui.menuBenchmark->actions();
    for (QMenu* menu : {ui.menuControl, ui.menu_, ui.menuGallery}) {
        QList<QAction*> items;
        collectItems(menu, items);
        for (QAction* action : items) {
            const bool command = action->property("tag").isValid() && !benchmarks.contains(action);
            addViewAction(action, command && action != menuHistmode && action != menuHistmode_);
        }
        connect(menu, &QMenu::aboutToShow, this, &DrawingView::updateActions);
    }
    for (QAction* action : {menuZoomIn, menuZoomIn_, menuZoomOut, menuZoomOut_,
                            ui.menuIterations->menuAction(), ui.menuIterations_->menuAction()})
        viewActions.push_back(action);
    for (QAction* action : {ui.actionOpen, ui.actionOpen_, ui.actionSave, ui.actionSave_,
                            ui.actionCopy, ui.actionCopy_, ui.actionHelp})
        viewActions.push_back(action);
    for (QAction* history : {menuHistmode, menuHistmode_})
        connect(history, &QAction::triggered, this, [this, history] { menuHist(history); });
    connect(ui.actionHelp, &QAction::triggered, this, &DrawingView::showHelp);
    for (QAction* sequence : benchmarks)
        connect(sequence, &QAction::triggered, this,
                [this, sequence] { benchmark(tagOf(sequence)); });
    for (QAction* open : {ui.actionOpen, ui.actionOpen_})
        connect(open, &QAction::triggered, this, &DrawingView::openDocument);
    for (QAction* save : {ui.actionSave, ui.actionSave_})
        connect(save, &QAction::triggered, this, &DrawingView::saveAs);
    for (QAction* copy : {ui.actionCopy, ui.actionCopy_})
        connect(copy, &QAction::triggered, this, &DrawingView::copy);
    disableAll({ui.actionCut, ui.actionPaste, ui.actionPageSetup, ui.actionPrint,
                ui.actionHideOthers, ui.actionShowAll});
    if (osversion == 10.2) {
        // That host class reads the six command keys in keyDown instead.
        for (QAction* keyed : {ui.actionInitial, ui.actionRedraw, ui.actionBack, ui.actionForward,
                               ui.actionZoomIn2, ui.actionZoomOut2})
            keyed->setShortcut({});
    }
}

void DrawingView::addGalleryItems(Ui_MainWindow& ui) {
    // The first half of the places in the Gallery menu itself, the rest under "Next".
    const auto presets = galleryPresets();
    const std::size_t half = presets.size() / 2;
    QAction* before = ui.menuGalleryNext->menuAction();
    for (std::size_t i = 0; i < presets.size(); ++i) {
        auto* item = new QAction(QString::fromUtf8(presets[i].title.data(),
                                                   static_cast<qsizetype>(presets[i].title.size())),
                                 ui.menuGallery);
        item->setProperty("tag", presets[i].tag);
        if (i < half)
            ui.menuGallery->insertAction(before, item);
        else
            ui.menuGalleryNext->addAction(item);
    }
    ui.menuGallery->insertSeparator(before);
}

bool DrawingView::validateMenuItem(const QAction* item) const {
    if (item->text() == localized("Forward") && !history.canGoForward()) return false;
    if (item->text() == localized("Back") && !history.canGoBack()) return false;
    return status == RenderStatus::Idle;
}

void DrawingView::updateActions() {
    for (QAction* action : viewActions)
        action->setEnabled(validateMenuItem(action));
}

void DrawingView::retitleZoom(QAction* main, QAction* contextual, const char* key, int factor,
                              int tag) {
    for (QAction* item : {main, contextual}) {
        item->setText(localized(key).arg(factor));
        item->setProperty("tag", tag);
    }
}

void DrawingView::menuMandel(QAction* sender) {
    const int tag = tagOf(sender);
    MANDAT v = Mandat0;
    int backup = 2;
    if (tag == 0) {
        v.x = 0.0;
        v.y = 0.0;
        v.w = 2.0;
        v.it = 1024;
    } else if (tag == 1) {
        backup = 0;
    } else if (tag == 2 || tag == 5 || tag == 10 || tag == 20) {
        retitleZoom(menuZoomIn, menuZoomIn_, "ZoomIn", tag, tag);
        v.w = v.w / tag;
    } else if (tag == -2 || tag == -5 || tag == -10 || tag == -20) {
        retitleZoom(menuZoomOut, menuZoomOut_, "ZoomOut", -tag, tag);
        v.w = v.w / (-1.0 / tag);
    } else if (tag == 50) {
        v = history.backTarget();
        backup = -1;
    } else if (tag == 51) {
        v = history.forwardTarget();
        backup = 1;
    } else if (const auto preset = galleryPreset(tag)) {
        v = *preset;
    } else if (isIterationTag(tag)) {
        // The menu's own check toggle is undone: setIterations moves the marks.
        if (sender->isCheckable()) sender->setChecked(!sender->isChecked());
        v.it = tag;
        backup = 0;
    } else {
        return;
    }
    v.it = setIterations(v.it);
    runMandel(v, backup);
    repaint();
}

int DrawingView::setIterations(int requested) {
    const QList<QAction*> items = menuIterations->actions();
    const QList<QAction*> twins = menuIterations_->actions();
    for (qsizetype k = 0; k < items.size(); ++k) {
        if (items[k]->isChecked()) {
            items[k]->setChecked(false);
            if (k < twins.size()) twins[k]->setChecked(false);
            break;
        }
    }
    const int limit = allowedLimit(requested);
    if (needsLargeLimits(limit) && items.size() == 6) {
        for (int large : {16384, 32768}) {
            for (QMenu* menu : {menuIterations, menuIterations_}) {
                QAction* item = menu->addAction(QString::number(large));
                item->setCheckable(true);
                item->setProperty("tag", large);
                addViewAction(item, true);
            }
        }
    }
    const QList<QAction*> now = menuIterations->actions();
    const QList<QAction*> nowTwins = menuIterations_->actions();
    for (qsizetype k = 0; k < now.size(); ++k) {
        if (tagOf(now[k]) == limit) {
            now[k]->setChecked(true);
            if (k < nowTwins.size()) nowTwins[k]->setChecked(true);
            break;
        }
    }
    return limit;
}

void DrawingView::menuHist(QAction* sender) {
    // The menu has already flipped the sender's mark: both items follow it.
    const bool on = sender->isChecked();
    menuHistmode->setChecked(on);
    menuHistmode_->setChecked(on);
    history_mode = on ? 1 : 0;
}

void DrawingView::recordHistory(int backup) {
    if (history_mode == 1 && !history.contains(Mandat0) && winy > 0) {
        // A missing Desktop folder writes nothing, and nobody is told.
        const QString log = QDir(QDir::homePath()).filePath(QStringLiteral("Desktop/history.mdl"));
        appendParameterLine(log.toStdString(), Mandat0, static_cast<double>(winx) / winy);
    }
    history.record(Mandat0, backup);
}

void DrawingView::showHelp() {
    alert(localized("Help"),
          localized("Refer_URL")
              .arg(QString::fromUtf8(kManualAddress.data(),
                                     static_cast<qsizetype>(kManualAddress.size()))));
}

void DrawingView::setTextField() {
    // Hands the keys back to the picture on the host class that reads them in keyDown.
    if (osversion == 10.2) setFocus();
}

} // namespace velq
