// The history step of every render, and the history log.
#include "gui/viewhistory.h"

#include "core/files/paramline.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace velq {

QString ViewHistory::logPath() {
    return QDir(QDir::homePath()).filePath(QStringLiteral("Desktop/history.mdl"));
}

void ViewHistory::record(const MANDAT& leaving, int backup, double aspect) {
    if (history_mode_ == 1 && !ring_.contains(leaving) && std::isfinite(aspect)) {
        // A missing Desktop folder writes nothing, and nobody is told.
        appendParameterLine(QFile::encodeName(logPath()).toStdString(), leaving, aspect);
    }
    ring_.record(leaving, backup);
}

} // namespace velq
