// Enabling, check marks and titles of the command menus.
#include "gui/commandmenus.h"

#include "core/deep/deepview.h"
#include "core/view/iterationlimit.h"
#include "gui/localization.h"

#include <QAction>
#include <QMenu>

namespace velq {

int tagOf(const QAction* action) {
    return action->property("tag").toInt();
}

void CommandMenus::connect(const Outlets& outlets, std::function<void(QAction*)> command) {
    outlets_ = outlets;
    command_ = std::move(command);
    // The zoom items carry the last factor chosen; at start it is 2.
    for (QAction* in : {outlets_.menuZoomIn, outlets_.menuZoomIn_})
        in->setProperty("tag", 2);
    for (QAction* out : {outlets_.menuZoomOut, outlets_.menuZoomOut_})
        out->setProperty("tag", -2);
}

bool CommandMenus::validateMenuItem(const QAction* item, bool idle, const HistoryRing& ring) const {
    if (item->text() == localized("Forward") && !ring.canGoForward()) return false;
    if (item->text() == localized("Back") && !ring.canGoBack()) return false;
    return idle;
}

void CommandMenus::updateActions(bool idle, const HistoryRing& ring) {
    for (QAction* action : viewActions_)
        action->setEnabled(validateMenuItem(action, idle, ring));
}

int CommandMenus::setIterations(int requested, bool deep) {
    QMenu* const menus[] = {outlets_.menuIterations, outlets_.menuIterations_};
    // Only the first marked item is cleared, in both submenus at its index.
    const QList<QAction*> items = menus[0]->actions();
    for (qsizetype k = 0; k < items.size(); ++k) {
        if (!items[k]->isChecked()) continue;
        for (QMenu* menu : menus)
            if (QAction* twin = menu->actions().value(k)) twin->setChecked(false);
        break;
    }
    const int limit = deep ? allowedDeepLimit(requested) : allowedLimit(requested);
    if (deep)
        addLimitsUpTo(kMaxDeepIterations);
    else if (needsLargeLimits(limit))
        addLimitsUpTo(kMaxIterations);
    const QList<QAction*> now = menus[0]->actions();
    for (qsizetype k = 0; k < now.size(); ++k) {
        if (tagOf(now[k]) != limit) continue;
        for (QMenu* menu : menus)
            if (QAction* twin = menu->actions().value(k)) twin->setChecked(true);
        break;
    }
    return limit;
}

void CommandMenus::addLimitsUpTo(int largest) {
    // The items come in pairs, one to each submenu, and stay once added.
    int next = tagOf(outlets_.menuIterations->actions().constLast()) * 2;
    for (; next <= largest; next *= 2) {
        for (QMenu* menu : {outlets_.menuIterations, outlets_.menuIterations_}) {
            QAction* item = menu->addAction(QString::number(next));
            item->setCheckable(true);
            item->setProperty("tag", next);
            addViewAction(item);
            if (command_) command_(item);
        }
    }
}

void CommandMenus::retitleZoom(int tag) {
    const bool in = tag > 0;
    const QString title = localized(in ? "ZoomIn" : "ZoomOut").arg(in ? tag : -tag);
    for (QAction* item : {in ? outlets_.menuZoomIn : outlets_.menuZoomOut,
                          in ? outlets_.menuZoomIn_ : outlets_.menuZoomOut_}) {
        item->setText(title);
        item->setProperty("tag", tag);
    }
}

void CommandMenus::showHistoryMode(bool on) {
    outlets_.menuHistmode->setChecked(on);
    outlets_.menuHistmode_->setChecked(on);
}

void CommandMenus::showDeepZoom(bool on) {
    outlets_.menuDeepZoom->setChecked(on);
    outlets_.menuDeepZoom_->setChecked(on);
    if (on) addLimitsUpTo(kMaxDeepIterations);
}

} // namespace velq
