// Every language-dependent text is looked up by its key in the string table.
#pragma once

#include <QString>

class QCoreApplication;

namespace velq {

// The text of `key` in the current language; a key missing from every table shows itself.
QString localized(const char* key);

// Installs the English table and, over it, the table of the system's language.
void installTranslations(QCoreApplication& app);

} // namespace velq
