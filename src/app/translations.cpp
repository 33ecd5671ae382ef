// The string tables and the choice of language.
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velq {

void installTranslations(QCoreApplication& app) {
    // Translators are looked up newest first: the locale's table wins over English.
    auto* english = new QTranslator(&app);
    if (english->load(QStringLiteral(":/i18n/velquorantisphaeron_en.qm")))
        QCoreApplication::installTranslator(english);
    auto* local = new QTranslator(&app);
    if (local->load(QLocale(), QStringLiteral("velquorantisphaeron"), QStringLiteral("_"),
                    QStringLiteral(":/i18n")) &&
        !local->filePath().endsWith(QStringLiteral("_en.qm")))
        QCoreApplication::installTranslator(local);
    // Qt's own dialogs (the file panels) in the same language.
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
}

} // namespace velq
