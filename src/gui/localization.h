// Every language-dependent text is looked up by its key in the string table.
#pragma once

#include <QString>

namespace velq {

// The text of `key` in the current language; a key missing from every table shows itself.
QString localized(const char* key);
// The same without its mnemonic mark and closing ellipsis, for window titles.
QString localizedTitle(const char* key);

} // namespace velq
