// The ring of the last eight views that Back and Forward step through.
#pragma once

#include "core/view/mandat.h"

#include <array>
#include <optional>

namespace velq {

// Backup modes of a render: where the coming view goes in the ring.
namespace Backup {
inline constexpr int NewView = 2; // next slot; the slot after it is emptied
inline constexpr int Forward = 1;
inline constexpr int Same = 0; // the current slot is reused
inline constexpr int Back = -1;
} // namespace Backup

// The shown view belongs to the slot (hp + backup0) mod 8 but is written there only when it is
// left, so until then that slot keeps older content (an empty entry after a run of new views).
class HistoryRing {
public:
    static constexpr int kSlots = 8;

    // The history step of a render, taken before the new view becomes current. Ask contains()
    // first when logging: afterwards the view left is always in the ring.
    void record(const MANDAT& leaving, int backup);

    const MANDAT& backTarget() const { return Mandath_[slot(currentSlot(), -1)]; }
    const MANDAT& forwardTarget() const { return Mandath_[slot(currentSlot(), 1)]; }
    bool canGoBack() const { return backTarget().it != 0; }
    bool canGoForward() const { return forwardTarget().it != 0; }

    // The view furthest back that Back can reach, or nothing when Back cannot go anywhere.
    std::optional<MANDAT> oldest() const;

    // The log rule: a view left is logged only when no slot, empty ones included, equals it.
    bool contains(const MANDAT& v) const;

    // The slot the shown view is stored in when it is left.
    int currentSlot() const { return slot(hp_, backup0_); }
    const std::array<MANDAT, kSlots>& Mandath() const { return Mandath_; }
    int hp() const { return hp_; }
    int backup0() const { return backup0_; }

private:
    // The low three bits of the 32-bit sum, so that -1 gives 7; unsigned, so it cannot overflow.
    static int slot(int a, int b) {
        return static_cast<int>((static_cast<unsigned>(a) + static_cast<unsigned>(b)) & 7u);
    }

    std::array<MANDAT, kSlots> Mandath_{}; // an entry with `it` 0 is empty
    int hp_ = 0;                           // the slot of the last update, 0..7
    int backup0_ = 0;                      // the step the next update adds to hp: 1, 0 or -1
};

} // namespace velq
