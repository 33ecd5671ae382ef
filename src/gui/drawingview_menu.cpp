// Menu commands: the command table, validation, iteration limits, history mode, gallery, help.
#include "core/deep/deeparith.h"
#include "core/gallery/gallery.h"
#include "gui/drawingview.h"
#include "gui/helpaddress.h"
#include "gui/localization.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace velq {
namespace {

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

} // namespace

void DrawingView::addCommand(QAction* action) {
    connect(action, &QAction::triggered, this, [this, action] { menuMandel(action); });
}

void DrawingView::connectMenus(Ui_MainWindow& ui) {
    menus_.connect({ui.menubar, ui.menu_, ui.menuHistmode, ui.menuHistmode_, ui.menuDeepZoom,
                    ui.menuDeepZoom_, ui.menuIterations, ui.menuIterations_,
                    ui.menuZoomInSub->menuAction(), ui.menuZoomInSub_->menuAction(),
                    ui.menuZoomOutSub->menuAction(), ui.menuZoomOutSub_->menuAction()},
                   [this](QAction* added) { addCommand(added); });
    addGalleryItems(ui);

    // Every item with a tag in the Control and Gallery menus and the contextual menu is a
    // command of menuMandel; the rest that goes to the view is validated all the same.
    const QList<QAction*> benchmarks = ui.menuBenchmark->actions();
    for (QMenu* menu : {ui.menuControl, ui.menu_, ui.menuGallery}) {
        QList<QAction*> items;
        collectItems(menu, items);
        for (QAction* action : items) {
            menus_.addViewAction(action);
            if (action->property("tag").isValid() && !benchmarks.contains(action))
                addCommand(action);
        }
        connect(menu, &QMenu::aboutToShow, this, &DrawingView::updateActions);
    }
    for (QAction* action :
         {ui.menuZoomInSub->menuAction(), ui.menuZoomInSub_->menuAction(),
          ui.menuZoomOutSub->menuAction(), ui.menuZoomOutSub_->menuAction(),
          ui.menuIterations->menuAction(), ui.menuIterations_->menuAction(), ui.actionOpen,
          ui.actionOpen_, ui.menuRecent->menuAction(), ui.actionSave, ui.actionSave_,
          ui.actionExportMovie, ui.actionCopy, ui.actionCopy_})
        menus_.addViewAction(action);
    for (QAction* history : {ui.menuHistmode, ui.menuHistmode_})
        connect(history, &QAction::triggered, this, [this, history] { menuHist(history); });
    for (QAction* deep : {ui.menuDeepZoom, ui.menuDeepZoom_})
        connect(deep, &QAction::triggered, this, [this, deep] { menuDeepZoom(deep); });
    connect(ui.actionHelp, &QAction::triggered, this, &DrawingView::showHelp);
    for (QAction* sequence : benchmarks)
        connect(sequence, &QAction::triggered, this,
                [this, sequence] { benchmark(tagOf(sequence)); });
    for (QAction* open : {ui.actionOpen, ui.actionOpen_})
        connect(open, &QAction::triggered, this, &DrawingView::openDocument);
    for (QAction* save : {ui.actionSave, ui.actionSave_})
        connect(save, &QAction::triggered, this, &DrawingView::saveAs);
    connect(ui.actionExportMovie, &QAction::triggered, this, &DrawingView::exportMovie);
    for (QAction* copy : {ui.actionCopy, ui.actionCopy_})
        connect(copy, &QAction::triggered, this, &DrawingView::copy);
    if (osversion_ == 10.2) {
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
        // The titles describe the places, so they are translated too.
        const QByteArray title(presets[i].title.data(),
                               static_cast<qsizetype>(presets[i].title.size()));
        auto* item =
            new QAction(QCoreApplication::translate("Gallery", title.constData()), ui.menuGallery);
        item->setProperty("tag", presets[i].tag);
        if (i < half)
            ui.menuGallery->insertAction(before, item);
        else
            ui.menuGalleryNext->addAction(item);
    }
    ui.menuGallery->insertSeparator(before);
}

bool DrawingView::validateMenuItem(const QAction* item) const {
    return menus_.validateMenuItem(item, driver_.idle(), history_.ring());
}

void DrawingView::updateActions() {
    menus_.updateActions(driver_.idle(), history_.ring());
}

void DrawingView::menuMandel(QAction* sender) {
    const int tag = tagOf(sender);
    MANDAT v = Mandat0_;
    int backup = Backup::NewView;
    if (tag == 0) {
        v.x = 0.0;
        v.y = 0.0;
        v.w = 2.0;
        v.it = 1024;
    } else if (tag == 1) {
        backup = Backup::Same;
    } else if (tag == 2 || tag == 5 || tag == 10 || tag == 20) {
        menus_.retitleZoom(tag);
        v = zoomedBy(v, tag);
    } else if (tag == -2 || tag == -5 || tag == -10 || tag == -20) {
        menus_.retitleZoom(tag);
        v = zoomedBy(v, -1.0 / tag);
        v.w = capZoomWidth(v.w);
    } else if (tag == 50) {
        v = history_.ring().backTarget();
        backup = Backup::Back;
    } else if (tag == 51) {
        v = history_.ring().forwardTarget();
        backup = Backup::Forward;
    } else if (const auto preset = galleryPreset(tag)) {
        v = *preset;
    } else if (isIterationTag(tag)) {
        // The menu's own check toggle is undone: setIterations moves the marks.
        if (sender->isCheckable()) sender->setChecked(!sender->isChecked());
        v = withLimit(v, tag);
        backup = Backup::Same;
    } else {
        return;
    }
    // A deep view reached by Back or Forward brings Deep Zoom back.
    if ((tag == 50 || tag == 51) && v.deep && !deepZoom_) menuDeepZoom(nullptr);
    v = withLimit(v, setIterations(v.deep ? v.deep->it : v.it));
    runMandel(v, backup);
    repaint();
}

int DrawingView::setIterations(int requested) {
    return menus_.setIterations(requested, deepZoom_);
}

void DrawingView::menuDeepZoom(QAction* sender) {
    // From a menu, the item has already flipped its mark; otherwise it is turned on.
    deepZoom_ = sender ? sender->isChecked() : true;
    menus_.showDeepZoom(deepZoom_);
    // Turning it off renders nothing: the next render floors the width and maps the limit.
}

void DrawingView::menuHist(QAction* sender) {
    // The menu has already flipped the sender's mark: both items follow it.
    const bool on = sender->isChecked();
    menus_.showHistoryMode(on);
    history_.setLogging(on);
}

void DrawingView::showHelp() {
    // The installed manual, or after a build the one in the build tree.
    QUrl manual(
        QString::fromUtf8(kManualAddress.data(), static_cast<qsizetype>(kManualAddress.size())));
    const QString built =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../installed/doc/manual.html");
    if (!QFileInfo::exists(manual.toLocalFile()) && QFileInfo::exists(built))
        manual = QUrl::fromLocalFile(QFileInfo(built).canonicalFilePath());
    const bool shown = seams_.openUrl ? seams_.openUrl(manual) : QDesktopServices::openUrl(manual);
    if (!shown) alert(localizedTitle("Help"), localized("Refer_URL").arg(manual.toString()));
}

void DrawingView::setTextField() {
    // Hands the keys back to the picture on the host class that reads them in keyDown.
    if (osversion_ == 10.2) setFocus();
}

} // namespace velq
