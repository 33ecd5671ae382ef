// Entry point of the explorer's window.
#include "app/translations.h"
#include "gui/mainwindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velquorantisphaeron"));
    QApplication::setApplicationVersion(QStringLiteral(VELQ_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Velquorantisphaeron"));
    velq::installTranslations(app);
    velq::MainWindow window;
    if (!window.start()) return 0;
    return QApplication::exec();
}
