// Lookup of texts by key.
#include "gui/localization.h"

#include <QCoreApplication>

namespace velq {

QString localized(const char* key) {
    return QCoreApplication::translate("Localizable", key);
}

} // namespace velq
