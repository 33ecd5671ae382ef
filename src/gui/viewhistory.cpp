// The history step of every render, and the history log.
#include "gui/viewhistory.h"

#include "core/files/paramline.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cmath>

namespace velq {

QString ViewHistory::logPath() {
    // The desktop folder of the user's system: ~/Schreibtisch on a German one, for example.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
        .filePath(QStringLiteral("history.mdl"));
}

std::error_code ViewHistory::record(const MANDAT& leaving, int backup, double aspect) {
    std::error_code why;
    if (history_mode_ == 1 && !ring_.contains(leaving) && std::isfinite(aspect))
        why = appendParameterLine(QFile::encodeName(logPath()).toStdString(), leaving, aspect);
    ring_.record(leaving, backup);
    if (!why || failureReported_) return {};
    failureReported_ = true;
    return why;
}

} // namespace velq
