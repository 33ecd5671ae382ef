// Entry point of the explorer's window.
#include "app/arguments.h"
#include "app/translations.h"
#include "gui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <vector>

namespace {

// A file named on the command line, as a URL that keeps its name's bytes.
QUrl fileUrl(const std::string& name) {
    QByteArray path = QByteArray::fromStdString(name);
    if (!path.startsWith('/')) path = QFile::encodeName(QDir::currentPath()) + '/' + path;
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"));
}

} // namespace

int main(int argc, char* argv[]) {
    // Whole scale factors only: the picture's sizes stay multiples of 16 in device pixels.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velquorantisphaeron"));
    QApplication::setOrganizationName(QStringLiteral("Velquorantisphaeron"));
    QApplication::setApplicationVersion(QStringLiteral(VELQ_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Velquorantisphaeron"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velquorantisphaeron.png")));

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const velq::WindowArguments parsed = velq::parseWindowArguments(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "velquorantisphaeron: %s\n%s", parsed.error.c_str(),
                     velq::kWindowUsage.data());
        return 2;
    }
    if (parsed.help || parsed.version) {
        std::printf("%s", parsed.help ? velq::kWindowUsage.data()
                                      : "velquorantisphaeron " VELQ_VERSION "\n");
        return 0;
    }

    velq::installTranslations(app);
    velq::MainWindow window;
    if (!window.start()) return 0;
    if (parsed.file) {
        // After the start-up picture, as the Open command would.
        const QUrl file = fileUrl(*parsed.file);
        QTimer::singleShot(0, &window, [&window, file] { window.view()->openNamed(file); });
    }
    return QApplication::exec();
}
