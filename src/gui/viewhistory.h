// The history of views: the ring that Back and Forward step through, and the optional log of
// every view left.
#pragma once

#include "core/view/history.h"
#include "core/view/mandat.h"

#include <QString>
#include <system_error>

namespace velq {

class ViewHistory {
public:
    const HistoryRing& ring() const { return ring_; }
    // 1 while every view left is logged.
    int history_mode() const { return history_mode_; }
    void setLogging(bool on) { history_mode_ = on ? 1 : 0; }

    // The history step of a render, before the new view becomes current: the view left is
    // logged when logging is on and no slot holds it, then the ring takes it with `backup`.
    // `aspect`: the picture's width over height, written into the log line. Returns the reason
    // the log could not be written the first time it fails in this run, and nothing after:
    // a log that cannot be written is reported once, not at every view.
    std::error_code record(const MANDAT& leaving, int backup, double aspect);

    // history.mdl in the user's desktop folder.
    static QString logPath();

private:
    HistoryRing ring_;
    int history_mode_ = 0;
    bool failureReported_ = false;
};

} // namespace velq
