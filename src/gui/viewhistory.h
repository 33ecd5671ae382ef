// The history of views: the ring that Back and Forward step through, and the optional log of
// every view left.
#pragma once

#include "core/view/history.h"
#include "core/view/mandat.h"

#include <QString>

namespace velq {

class ViewHistory {
public:
    const HistoryRing& ring() const { return ring_; }
    // 1 while every view left is logged.
    int history_mode() const { return history_mode_; }
    void setLogging(bool on) { history_mode_ = on ? 1 : 0; }

    // The history step of a render, before the new view becomes current: the view left is
    // logged when logging is on and no slot holds it, then the ring takes it with `backup`.
    // `aspect`: the picture's width over height, written into the log line.
    void record(const MANDAT& leaving, int backup, double aspect);

    // Desktop/history.mdl in the user's home folder.
    static QString logPath();

private:
    HistoryRing ring_;
    int history_mode_ = 0;
};

} // namespace velq
