// Hostile files, URLs and typed values in the window, offscreen: each is refused with the
// alert, passed over in silence or rendered as it stands, and the window stays usable.
#include "app/translations.h"
#include "core/files/paramline.h"
#include "core/host/hostversion.h"
#include "gui/drawingview.h"
#include "gui/heldrender.h"
#include "gui/localization.h"
#include "gui/mainwindow.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QNetworkProxy>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <sys/stat.h>

using namespace velq;
using namespace velq::testing;

namespace {

QByteArray bigEndian(quint32 v) {
    QByteArray bytes(4, '\0');
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<char>(v >> (24 - 8 * k));
    return bytes;
}

// The signature and an IHDR chunk, then whatever follows.
QByteArray pngWith(const QByteArray& afterIhdr) {
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += bigEndian(13) + "IHDR" + QByteArray(13, '\0') + bigEndian(0);
    return png + afterIhdr;
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A local HTTP server for dropped URLs: it accepts and then says nothing at all, or answers
// with an endless stream of parameter lines (cut off after 128 MB all the same).
class LocalServer : public QObject {
public:
    enum class Kind { Silent, Endless };

    explicit LocalServer(Kind kind) : kind_(kind) {
        QVERIFY(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                if (kind_ == Kind::Endless) stream(socket);
            }
        });
    }

    QUrl url(const QString& name) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/%2").arg(server_.serverPort()).arg(name));
    }

private:
    void stream(QTcpSocket* socket) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n");
        const QByteArray lines =
            QByteArray::fromStdString(parameterLine({-0.5, 0.0, 1.0, 256, 0x782, 0}, 1.0))
                .repeated(4096);
        const auto refill = [this, socket, lines] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < 4 * lines.size() && sent_ < kMaxSent) {
                socket->write(lines);
                sent_ += lines.size();
            }
        };
        connect(socket, &QTcpSocket::bytesWritten, this, refill);
        refill();
    }

    static constexpr qint64 kMaxSent = 128LL * 1024 * 1024;
    Kind kind_;
    QTcpServer server_;
    qint64 sent_ = 0;
};

} // namespace

class HostileTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    DrawingView* view = nullptr;
    QTemporaryDir dir;
    QStringList alerts;

    QString path(const QString& name) const { return dir.filePath(name); }
    void open(const QString& file) { view->openfile(QUrl::fromLocalFile(file)); }

    // Nothing was rendered: the start view is current and the history is empty.
    bool untouched() const {
        return view->Mandat0 == kStartView && !view->history.canGoBack() &&
               view->status.load() == RenderStatus::Idle;
    }

private slots:
    void initTestCase() {
        installTranslations(*QCoreApplication::instance());
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the servers are local
    }

    void init() {
        window = std::make_unique<MainWindow>(kHostToolkitVersion);
        view = window->view();
        QVERIFY(window->start());
        alerts.clear();
        view->setAlertHandler(
            [this](const QString& title, const QString& m) { alerts << title + ": " + m; });
    }
    void cleanup() { window.reset(); }

    void unusableFilesGiveTheAlertOrSilence_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("alert");
        const QByteArray keyword = "Velquorantisphaeron";
        const QByteArray notALine = "tEXt" + keyword + '\0' + "this is no view\r\n";
        QTest::newRow("empty parameter file") << "empty.mdl" << QByteArray() << false;
        QTest::newRow("empty PNG") << "empty.png" << QByteArray() << true;
        QTest::newRow("PNG of 8 bytes")
            << "eight.png" << QByteArray("\x89PNG\r\n\x1a\n", 8) << true;
        QTest::newRow("length 0xFFFFFFFF")
            << "huge.png" << pngWith(bigEndian(0xFFFFFFFF) + "IDAT" + QByteArray(100, 'x')) << true;
        QTest::newRow("length wrapping back to an earlier chunk")
            << "back.png" << pngWith(bigEndian(0xFFFFFFE8) + "IDAT" + QByteArray(100, 'x')) << true;
        QTest::newRow("length past the end")
            << "past.png" << pngWith(bigEndian(5000) + "IDAT" + QByteArray(10, 'x')) << true;
        QTest::newRow("keyword cut at the end of the file")
            << "cut.png" << pngWith(bigEndian(100) + "tEXt" + keyword.left(12)) << true;
        QTest::newRow("keyword without its separator")
            << "nosep.png" << pngWith(bigEndian(100) + "tEXt" + keyword) << true;
        QTest::newRow("chunk text that is not a parameter line")
            << "words.png" << pngWith(bigEndian(notALine.size() - 4) + notALine + bigEndian(0))
            << false;
        QTest::newRow("parameter file of words")
            << "words.mdl" << QByteArray("hello world\n") << false;
        QTest::newRow("line with a field missing")
            << "six.mdl" << QByteArray("0.1 0 1 1 256 0x782\n") << false;
    }

    void unusableFilesGiveTheAlertOrSilence() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, alert);
        writeAll(path(name), bytes);
        open(path(name));
        QCOMPARE(alerts.size(), alert ? 1 : 0);
        QVERIFY(untouched());
    }

    void hundredMegabytesOfGarbageAreRefusedInTime() {
        // Random bytes, written here rather than kept in the repository.
        QByteArray garbage(100 * 1024 * 1024, Qt::Uninitialized);
        std::mt19937_64 rng(6);
        for (qsizetype k = 0; k + 8 <= garbage.size(); k += 8) {
            const std::uint64_t r = rng();
            std::memcpy(garbage.data() + k, &r, 8);
        }
        writeAll(path("garbage.png"), garbage);
        garbage.clear();
        QVERIFY(QFile::link(path("garbage.png"), path("garbage.mdl")));
        open(path("garbage.png"));
        QCOMPARE(alerts.size(), 1);
        open(path("garbage.mdl"));
        QCOMPARE(alerts.size(), 1);
        QVERIFY(untouched());
    }

    void abortEndsAHundredThousandLinesAtOnce() {
        QByteArray lines;
        for (int k = 0; k < 100000; ++k)
            lines += QByteArray::fromStdString(
                parameterLine({-0.5 + k * 1e-6, 0.0, 1.0, 256, 0x782, 0}, 4.0 / 3.0));
        writeAll(path("long.mdl"), lines);
        postClick(view->PushButton); // Abort, delivered by the first render's event loop
        holdTheNextRender(view);
        QElapsedTimer clock;
        clock.start();
        open(path("long.mdl"));
        QCOMPARE(view->Mandat0.x, -0.5);
        QVERIFY(view->history.backTarget() == kStartView); // only the first line was rendered
        QCOMPARE(view->status.load(), RenderStatus::Idle);
        QVERIFY2(clock.elapsed() < 30000, "the reading went on after the Abort");
        QVERIFY(alerts.isEmpty());
    }

    void hostileFieldsRenderAsTheyStand_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("w"); // the width rendered, after the floor
        QTest::addColumn<int>("it");
        QTest::addColumn<int>("cs");
        QTest::addColumn<int>("cp");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("nan") << QByteArray("nan 0 nan 1 1024 0x742 0") << nan << nan << 1024
                             << 0x742 << 0;
        QTest::newRow("inf") << QByteArray("inf 0 inf 1 1024 0x742 0") << inf << inf << 1024
                             << 0x742 << 0;
        QTest::newRow("1e308") << QByteArray("1e308 0 1e308 1 1024 0x742 0") << 1e308 << 1e308
                               << 1024 << 0x742 << 0;
        QTest::newRow("-0") << QByteArray("-0 0 -0 1 1024 0x742 0") << -0.0 << 1e-15 << 1024
                            << 0x742 << 0;
        QTest::newRow("limit 0") << QByteArray("0.1 0 0.5 1 0 0x742 0") << 0.1 << 0.5 << 256
                                 << 0x742 << 0;
        QTest::newRow("negative limit")
            << QByteArray("0.1 0 0.5 1 -1024 0x742 0") << 0.1 << 0.5 << 256 << 0x742 << 0;
        QTest::newRow("limit 2^31-1")
            << QByteArray("0.1 0 0.5 1 2147483647 0x742 0") << 0.1 << 0.5 << 32768 << 0x742 << 0;
        // All bits set is the "from the controls" value: the colours shown stay.
        QTest::newRow("colour word 0xffffffff")
            << QByteArray("0.1 0 0.5 1 256 0xffffffff 0") << 0.1 << 0.5 << 256 << 0x782 << 0;
        QTest::newRow("nine hex digits")
            << QByteArray("0.1 0 0.5 1 256 0x123456789 5") << 0.1 << 0.5 << 256 << 0x12345678 << 9;
        QTest::newRow("rotation -1")
            << QByteArray("0.1 0 0.5 1 256 0x742 -1") << 0.1 << 0.5 << 256 << 0x742 << 0;
        QTest::newRow("rotation 1001")
            << QByteArray("0.1 0 0.5 1 256 0x742 1001") << 0.1 << 0.5 << 256 << 0x742 << 1000;
        QTest::newRow("rotation 2^31-1")
            << QByteArray("0.1 0 0.5 1 256 0x742 2147483647") << 0.1 << 0.5 << 256 << 0x742 << 1000;
    }

    void hostileFieldsRenderAsTheyStand() {
        QFETCH(QByteArray, line);
        QFETCH(double, x);
        QFETCH(double, w);
        QFETCH(int, it);
        QFETCH(int, cs);
        QFETCH(int, cp);
        writeAll(path("field.mdl"), line + "\r\n");
        open(path("field.mdl"));
        QVERIFY(alerts.isEmpty());
        const auto same = [](double a, double b) {
            return (std::isnan(a) && std::isnan(b)) ||
                   (a == b && std::signbit(a) == std::signbit(b));
        };
        QVERIFY2(same(view->Mandat0.x, x), qPrintable(QString::number(view->Mandat0.x)));
        QVERIFY2(same(view->Mandat0.w, w), qPrintable(QString::number(view->Mandat0.w)));
        QCOMPARE(view->Mandat0.it, it);
        QCOMPARE(view->Mandat0.cs, cs);
        QCOMPARE(view->Mandat0.cp, cp);
        QCOMPARE(view->status.load(), RenderStatus::Idle);
        QVERIFY(view->history.backTarget() == kStartView);
        // The window goes on: Run renders what the fields now show.
        QTest::mouseClick(view->PushButton, Qt::LeftButton);
        QCOMPARE(view->status.load(), RenderStatus::Idle);
        QCOMPARE(view->PushButton->text(), localized("Run"));
    }

    void foldersPipesAndUnreadableFiles_data() {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<bool>("alert");
        QTest::newRow("parameter file") << "mdl" << false;
        QTest::newRow("PNG") << "png" << true;
    }

    void foldersPipesAndUnreadableFiles() {
        QFETCH(QString, extension);
        QFETCH(bool, alert);
        const QString folder = path("folder." + extension);
        QVERIFY(QDir().mkpath(folder));
        // A pipe that no one writes to would block the reading for ever.
        const QString pipe = path("pipe." + extension);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // A file whose reading fails at its first byte, even for root.
        const QString unreadable = path("unreadable." + extension);
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), unreadable));
        for (const QString& file : {folder, pipe, unreadable}) {
            alerts.clear();
            open(file);
            QVERIFY2(alerts.size() == (alert ? 1 : 0), qPrintable(file));
            QVERIFY(untouched());
        }
    }

    void aFileThatVanishesBeforeItIsRead_data() { foldersPipesAndUnreadableFiles_data(); }

    void aFileThatVanishesBeforeItIsRead() {
        QFETCH(QString, extension);
        QFETCH(bool, alert);
        // Listed in the Open panel, gone when it is opened.
        const QString file = path("vanishing." + extension);
        writeAll(file, "0.1 0 1 1 256 0x782 0\r\n");
        view->setFileDialogRunner([file](QFileDialog& panel) {
            panel.selectFile(file);
            return QFile::remove(file);
        });
        view->openDocument();
        QCOMPARE(alerts.size(), alert ? 1 : 0);
        QVERIFY(untouched());
    }

    void remoteFilesAreBoundInTimeAndSize_data() {
        QTest::addColumn<bool>("endless");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("alert");
        QTest::newRow("silent, parameter file") << false << "view.mdl" << false;
        QTest::newRow("silent, PNG") << false << "view.png" << true;
        QTest::newRow("endless, parameter file") << true << "view.mdl" << false;
        QTest::newRow("endless, PNG") << true << "view.png" << true;
    }

    void remoteFilesAreBoundInTimeAndSize() {
        QFETCH(bool, endless);
        QFETCH(QString, name);
        QFETCH(bool, alert);
        LocalServer server(endless ? LocalServer::Kind::Endless : LocalServer::Kind::Silent);
        // The silent server meets the time bound; the endless one must meet the size bound long
        // before it.
        view->setRemoteTimeout(std::chrono::milliseconds(endless ? 60000 : 700));
        // The window stays alive meanwhile (its timers run), and user input is swallowed.
        int ticks = 0;
        QTimer alive;
        connect(&alive, &QTimer::timeout, this, [&ticks] { ++ticks; });
        alive.start(20);
        const QString typed = view->TextField_x->text();
        view->TextField_x->setFocus();
        QCoreApplication::postEvent(
            view->TextField_x, new QKeyEvent(QEvent::KeyPress, Qt::Key_7, Qt::NoModifier, "7"));
        postClick(view->PushButtonCa);
        QMimeData drop;
        drop.setUrls({server.url(name)});
        QElapsedTimer clock;
        clock.start();
        QVERIFY(view->performDragOperation(&drop)); // an accepted name, whatever it held
        QVERIFY2(clock.elapsed() < 30000, "the remote reading was not bounded");
        QCOMPARE(alerts.size(), alert ? 1 : 0);
        QVERIFY(untouched());
        if (!endless) QVERIFY(ticks >= 5);
        QCoreApplication::processEvents();
        QCOMPARE(view->TextField_x->text(), typed);
        QCOMPARE(view->PushButtonCa->text(), QStringLiteral("a1"));
    }

    void coordinateFieldsWithoutANumberKeepTheirValue_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("x");
        const double kept = -0.5;
        QTest::newRow("text") << "abc" << kept;
        QTest::newRow("nothing") << "" << kept;
        QTest::newRow("spaces") << "   " << kept;
        QTest::newRow("decimal comma") << "0,25" << kept;
        QTest::newRow("number and text") << "0.25x" << kept;
        QTest::newRow("beyond the doubles") << "1e400" << kept;
        QTest::newRow("a number in spaces") << " 0.125 " << 0.125;
        QTest::newRow("exponent") << "-2.5e-3" << -2.5e-3;
    }

    void coordinateFieldsWithoutANumberKeepTheirValue() {
        QFETCH(QString, typed);
        QFETCH(double, x);
        const MANDAT before{-0.5, 0.25, 0.75, 1024, 0x782, 0};
        view->runMandel(before, 2);
        view->TextField_x->setText(typed);
        view->TextField_y->setText(typed);
        QTest::mouseClick(view->PushButton, Qt::LeftButton);
        QCOMPARE(view->Mandat0.x, x);
        QCOMPARE(view->Mandat0.y, x == before.x ? before.y : x);
        QCOMPARE(view->Mandat0.w, before.w);
        QCOMPARE(view->TextField_x->text().toDouble(), x); // the field shows the value used
    }

    void savingOnAFullDiskKeepsTheOldLines() {
        QTemporaryDir small;
        if (QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=12k"), QStringLiteral("tmpfs"),
                               small.path()}) != 0)
            QSKIP("a small file system cannot be mounted here (needs root)");
        // Old lines that leave less room in their last page than a line needs, then a disk
        // filled up: the next line can be written only in part.
        const QString views = small.filePath(QStringLiteral("views.mdl"));
        const QByteArray line = QByteArray::fromStdString(parameterLine(kStartView, 4.0 / 3.0));
        writeAll(views, line.repeated(4096 / line.size()));
        QFile filler(small.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (filler.write(QByteArray(1024, 'f')) == 1024) {
        }
        filler.close();
        const QByteArray before = readAll(views);
        view->saveAsMDL(view->Mandat0, views);
        const QByteArray after = readAll(views);
        QProcess::execute(QStringLiteral("umount"), {small.path()});
        QCOMPARE(after.size(), before.size());
        QVERIFY(after == before);
    }
};

QTEST_MAIN(HostileTest)
#include "hostile_test.moc"
