// The command menus: the main menu and the contextual menu, which of their items go to the
// view, their enabling, the Iteration submenus' check marks and the retitled Zoom items.
#pragma once

#include "core/view/history.h"

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace velq {

class CommandMenus {
public:
    struct Outlets {
        QMenuBar* mainMenu = nullptr;
        QMenu* menu_ = nullptr; // the contextual menu
        QAction* menuHistmode = nullptr;
        QAction* menuHistmode_ = nullptr;
        QAction* menuDeepZoom = nullptr;
        QAction* menuDeepZoom_ = nullptr;
        QMenu* menuIterations = nullptr;
        QMenu* menuIterations_ = nullptr;
        QAction* menuZoomIn = nullptr; // the Zoom submenus' own items, carrying the last factor
        QAction* menuZoomIn_ = nullptr;
        QAction* menuZoomOut = nullptr;
        QAction* menuZoomOut_ = nullptr;
    };

    // `command` is called with each Iteration item added later.
    void connect(const Outlets& outlets, std::function<void(QAction*)> command);
    const Outlets& outlets() const { return outlets_; }

    // An action whose command goes to the view: enabled only while the view is idle.
    void addViewAction(QAction* action) { viewActions_.push_back(action); }
    const std::vector<QAction*>& viewActions() const { return viewActions_; }

    // Back and Forward are found by their titles and need a target in the ring.
    bool validateMenuItem(const QAction* item, bool idle, const HistoryRing& ring) const;
    void updateActions(bool idle, const HistoryRing& ring);

    // The allowed limit for `requested`, checked in both Iteration submenus; the items for
    // 16384 and 32768 are added the first time they are needed. With `deep`, limits go up to
    // 2^24 and their items are there.
    int setIterations(int requested, bool deep = false);
    // The Zoom items of both menus take the factor chosen last.
    void retitleZoom(int tag);
    // Both History Mode items show the same mark; likewise both Deep Zoom items.
    void showHistoryMode(bool on);
    void showDeepZoom(bool on);

private:
    // Adds items for the limits from the next one up to `largest`, to both submenus.
    void addLimitsUpTo(int largest);

    Outlets outlets_;
    std::function<void(QAction*)> command_;
    std::vector<QAction*> viewActions_;
};

// The integer tag of a menu item.
int tagOf(const QAction* action);

} // namespace velq
