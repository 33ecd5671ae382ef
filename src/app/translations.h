// The string tables the application embeds, and the choice of language in one place.
#pragma once

class QCoreApplication;

namespace velq {

// Installs the English table and, over it, the table of the system's language, then Qt's own
// table for that language (the file panels).
void installTranslations(QCoreApplication& app);

} // namespace velq
