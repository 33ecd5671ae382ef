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

bool HistoryRing::contains(const MANDAT& v) const {
    return std::find(Mandath_.begin(), Mandath_.end(), v) != Mandath_.end();
}

} // namespace velq
