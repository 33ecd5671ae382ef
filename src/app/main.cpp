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

// --help and --version: printed, and the program ends.
bool answered(const velq::WindowArguments& parsed) {
    if (!parsed.error.empty() || !(parsed.help || parsed.version)) return false;
    std::printf("%s",
                parsed.help ? velq::kWindowUsage.data() : "velquorantisphaeron " VELQ_VERSION "\n");
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    // --help and --version answer before anything of the desktop is needed.
    if (answered(velq::parseWindowArguments(std::vector<std::string_view>(argv + 1, argv + argc))))
        return 0;

    // Whole scale factors only: the picture's sizes stay multiples of 16 in device pixels.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velquorantisphaeron"));
    QApplication::setOrganizationName(QStringLiteral("Velquorantisphaeron"));
    QApplication::setApplicationVersion(QStringLiteral(VELQ_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Velquorantisphaeron"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velquorantisphaeron.png")));

    // Qt has taken its own options out of argv by now.
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const velq::WindowArguments parsed = velq::parseWindowArguments(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "velquorantisphaeron: %s\n%s", parsed.error.c_str(),
                     velq::kWindowUsage.data());
        return 2;
    }
    if (answered(parsed)) return 0;

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
