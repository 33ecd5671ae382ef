// Lookup of texts by key.
#include "gui/localization.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace velq {

QString localized(const char* key) {
    return QCoreApplication::translate("Localizable", key);
}

QString localizedTitle(const char* key) {
    // "&Save…" titles a window as "Save".
    static const QRegularExpression mark(QStringLiteral("&(?!&)|\\s*…$"));
    return localized(key).remove(mark).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

} // namespace velq
