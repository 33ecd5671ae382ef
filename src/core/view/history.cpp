// The history step of a render and the lookups that Back, Forward and the log need.
#include "core/view/history.h"

#include <algorithm>

namespace velq {

void HistoryRing::record(const MANDAT& leaving, int backup) {
    hp_ = slot(hp_, backup0_);
    Mandath_[hp_] = leaving;
    if (backup == Backup::NewView) {
        // Emptying the slot after the new one ends the forward history.
        Mandath_[slot(hp_, 2)].it = 0;
        backup0_ = 1;
    } else {
        backup0_ = backup;
    }
}

std::optional<MANDAT> HistoryRing::oldest() const {
    // Back stops at an empty slot, and seven slots at most lie behind the shown view's.
    int steps = 0;
    while (steps + 1 < kSlots && Mandath_[slot(currentSlot(), -(steps + 1))].it != 0)
        ++steps;
    if (steps == 0) return std::nullopt;
    return Mandath_[slot(currentSlot(), -steps)];
}

bool HistoryRing::contains(const MANDAT& v) const {
    return std::find(Mandath_.begin(), Mandath_.end(), v) != Mandath_.end();
}

} // namespace velq
