// Saving, opening, dropping, copying and dragging out, offscreen, with real and hostile files.
#include "core/files/paramline.h"
#include "core/files/pngchunk.h"
#include "gui/window.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QNetworkProxy>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <sys/stat.h>

using namespace velq;
using namespace velq::testing;

// Allocations of more than 2 MB fail while this is set.
bool failLargeAllocations = false;

#if !defined(__SANITIZE_ADDRESS__)
void* operator new(std::size_t size) {
    if (failLargeAllocations && size > (2u << 20)) throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#endif

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The parameter text of a PNG file of ours, up to the end of its first line.
QByteArray chunkLine(const QByteArray& png) {
    const auto at =
        findParameterText(std::span(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                    static_cast<std::size_t>(png.size())));
    const QByteArray text = at ? png.mid(static_cast<qsizetype>(*at)) : QByteArray();
    return text.left(text.indexOf("\r\n"));
}

QByteArray lineOf(const MANDAT& v, double aspect) {
    return QByteArray::fromStdString(parameterLine(v, aspect)).trimmed();
}

} // namespace

class FilesTest : public WindowTest {
    Q_OBJECT
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    using WindowTest::open;
    void open(const QString& file) { view->openfile(QUrl::fromLocalFile(file)); }
    // Save with the file type `tag` under `name`.
    void save(const QString& name, int tag) {
        view->savePanel().savepaneltype()->button(tag)->click();
        w->answer = path(name);
        w->inPanel = [this] {
            sizeFieldsOn = option("savepanelSx")->isEnabled() && option("savepanelSy")->isEnabled();
        };
        view->saveAs();
    }
    bool sizeFieldsOn = false; // in the last save panel
    template <typename T = QLineEdit> T* option(const char* name) {
        return view->savePanel().savepanelview()->findChild<T*>(QLatin1String(name));
    }
    bool untouched() const {
        return view->Mandat0() == kStartView && !view->history().ring().canGoBack();
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true); // settings of their own, not the user's
        QSettings().clear();
        installTranslations(*QCoreApplication::instance());
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the servers are local
    }
    void init() { open(); }
    void cleanup() { w.reset(); }

    void openRecentKeepsTheLastTenFilesAndFolder() {
        for (int k = 0; k < 12; ++k) {
            writeAll(path(QStringLiteral("v%1.mdl").arg(k)),
                     QByteArray::number(k) + " 0 1 1 256 0x782 0\n");
            open(path(QStringLiteral("v%1.mdl").arg(k)));
        }
        open(path("v5.mdl")); // opened again: to the top, not twice
        const QList<QUrl> recent = view->recent().files();
        QCOMPARE(recent.size(), 10);
        QCOMPARE(recent[0].toLocalFile(), path("v5.mdl"));
        QCOMPARE(recent[1].toLocalFile(), path("v11.mdl"));
        QCOMPARE(w->ui().menuRecent->actions().size(), 12); // the files, a separator, Clear
        view->runMandel(kStartView, 2);
        w->ui().menuRecent->actions().at(2)->trigger(); // v10
        QCOMPARE(view->Mandat0().x, 10.0);
        save(QStringLiteral("saved.png"), 2);
        QCOMPARE(view->recent().files().at(0).toLocalFile(), path("saved.png"));
        QCOMPARE(view->recent().lastFolder(), dir.path());
        w->ui().actionClearRecent->trigger();
        QVERIFY(view->recent().files().isEmpty());
        QVERIFY(!w->ui().actionClearRecent->isEnabled());
    }

    void savedFilesCarryTheViewAndOpenAgain() {
        save(QStringLiteral("views"), 1);
        save(QStringLiteral("views"), 1);
        const QByteArray text = readAll(path("views.mdl"));
        QCOMPARE(text.count("\r\n"), 2); // a parameter file grows by a line each time
        QVERIFY(text.startsWith("0.00000000000000000000 0.00000000000000000000 2.000000000"));
        QVERIFY(!sizeFieldsOn); // only a picture of a typed size takes one
        const MANDAT v{-0.75, 0.1, 0.25, 2048, 0x742, 300};
        view->runMandel(v, 2);
        save(QStringLiteral("screen.png"), 2);
        const QByteArray png = readAll(path("screen.png"));
        QCOMPARE(chunkLine(png), lineOf(v, 4.0 / 3));
        QCOMPARE(QImage::fromData(png).convertToFormat(QImage::Format_RGBA8888),
                 view->picture().imageRep());
        view->runMandel(kStartView, 2);
        open(path("screen.png"));
        QVERIFY(view->Mandat0() == v && w->alerts.isEmpty());
    }

    void exportsRenderApartAndKeepTheWindowsPicture() {
        const QImage shown = view->picture().imageRep();
        save(QStringLiteral("thumb.png"), 3);
        QCOMPARE(QImage(path("thumb.png")).size(), QSize(160, 120));
        QVERIFY(chunkLine(readAll(path("thumb.png"))).contains(" 1.33333333333333325932 "));
        option("savepanelSx")->setText(QStringLiteral("100"));
        option("savepanelSy")->setText(QStringLiteral("75"));
        option<QAbstractButton>("savepanelAnti")->setChecked(true);
        save(QStringLiteral("typed.png"), 4);
        QCOMPARE(QImage(path("typed.png")).size(), QSize(100, 75));
        QVERIFY(sizeFieldsOn);
        // Rendered at 224 x 160 (R(100)*2 x R(75)*2): that is the aspect in the chunk.
        QVERIFY(chunkLine(readAll(path("typed.png"))).contains(" 1.39999999999999991118 "));
        for (const char* size : {"0", "-1", "abc", "99999999", ""}) {
            option("savepanelSx")->setText(QString::fromLatin1(size));
            save(QStringLiteral("bad.png"), 4);
        }
        QCOMPARE(w->alerts.size(), 5); // each refused with its reason
        QVERIFY(!QFile::exists(path("bad.png")));
        duringTheNextRender(view, [this] { view->pushButton(); }); // Abort writes nothing
        QVERIFY(!view->saveAsPNG(view->Mandat0(), path("aborted.png"), 3));
        QVERIFY(!QFile::exists(path("aborted.png")));
        QCOMPARE(view->driver().statusCancel(), 0);
        QCOMPARE(view->picture().imageRep(), shown);
    }

    void openingRendersEveryViewInTurn() {
        writeAll(path("three.MDL"), "0.1 0 1.5 1.3 256 0x00000782 0\n"
                                    "0.2 0 1.5 1.3 3000 0x00000782 0\r"
                                    "\r\n\n0.3 0 0.5 1.3 1000 0x00000742 2000");
        open(path("three.MDL"));
        QVERIFY(view->Mandat0() == (MANDAT{0.3, 0, 0.5, 1024, 0x742, 1000}));
        QCOMPARE(view->history().ring().backTarget().it, 4096);
        QByteArray lines; // Abort ends a long file at once
        for (int k = 0; k < 100000; ++k)
            lines += QByteArray::fromStdString(parameterLine({k * 1e-6, 0, 1, 256, 0x782, 0}, 1));
        writeAll(path("long.mdl"), lines);
        duringTheNextRender(view, [this] { view->pushButton(); });
        open(path("long.mdl"));
        QCOMPARE(view->Mandat0().x, 0.0);
        QCOMPARE(view->history().ring().backTarget().x, 0.3);
        QVERIFY(w->alerts.isEmpty());
    }

    void unusableFilesGiveTheAlertOrSilence() {
        // A PNG without our chunk gets the alert; a parameter file that holds no view, silence
        // (the chunk scan itself is tested in the core).
        const QByteArray text = QByteArray("Velquorantisphaeron") + '\0' + "no view\r\n";
        const QByteArray words =
            QByteArray(3, '\0') + char(text.size()) + "tEXt" + text + QByteArray(4, '\0');
        QVERIFY(QImage(1, 1, QImage::Format_RGBA8888).save(path("x.png")));
        const QByteArray png = readAll(path("x.png"));
        const std::tuple<const char*, QByteArray, bool> rows[] = {
            {"empty.mdl", "", false},
            {"words.mdl", "hello world\n", false},
            {"eight.png", QByteArray("\x89PNG\r\n\x1a\n", 8), true},
            {"words.png", png.left(33) + words + png.mid(33), false},
            {"100% a b.png", "not a png", true}};
        for (const auto& [name, bytes, alert] : rows) {
            w->alerts.clear();
            writeAll(path(name), bytes);
            open(path(name));
            QVERIFY2(w->alerts.size() == (alert ? 1 : 0) && untouched(), name);
        }
        QVERIFY(w->alerts[0].endsWith(QStringLiteral("/100%25%20a%20b.png"))); // shown literally
        for (const QString& ext : {QStringLiteral("mdl"), QStringLiteral("png")}) {
            QVERIFY(QDir().mkpath(path("folder." + ext)));
            QCOMPARE(::mkfifo(QFile::encodeName(path("pipe." + ext)).constData(), 0600), 0);
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), path("unreadable." + ext)));
            for (const char* name : {"folder.", "pipe.", "unreadable.", "missing."}) {
                w->alerts.clear();
                open(path(QLatin1String(name) + ext));
                QVERIFY2(w->alerts.size() == (ext == "png" ? 1 : 0) && untouched(), name);
            }
        }
    }

    void hostileFieldsRenderAsTheyStand() {
        const double nan = std::nan(""), inf = INFINITY;
        // A colour word of all ones is "read it from the controls": the colours shown stay.
        const std::tuple<const char*, MANDAT> rows[] = {
            {"nan 0 nan 1 1024 0x742 0", {nan, 0, nan, 1024, 0x742, 0}},
            {"inf 0 inf 1 1024 0x742 0", {inf, 0, inf, 1024, 0x742, 0}},
            {"0.1 0 -0 1 0 0xffffffff 1001", {0.1, 0, 1e-15, 256, 0x742, 1000}}};
        for (const auto& [line, v] : rows) {
            writeAll(path("field.mdl"), line);
            open(path("field.mdl"));
            const MANDAT& got = view->Mandat0();
            QVERIFY2(std::isnan(v.x) ? std::isnan(got.x) && std::isnan(got.w) : got == v, line);
            QCOMPARE(got.cp, v.cp);
            QTest::mouseClick(w->ui().PushButton, Qt::LeftButton); // and the window goes on
            QCOMPARE(view->driver().status(), 0);
        }
    }

    void dropsTakeAUrlOrTheLastFile() {
        writeAll(path("a.mdl"), "0.1 0 1 1 256 0x782 0\n");
        for (const char* name : {"c.mdl", "notes.txt"})
            writeAll(path(name), "0.3 0 1 1 256 0x782 0\n");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(path("a.mdl")), QUrl::fromLocalFile(path("c.mdl"))});
        QVERIFY(view->performDragOperation(&files));
        QCOMPARE(view->Mandat0().x, 0.3);
        QVERIFY(view->history().ring().backTarget() == kStartView); // only the last file
        QMimeData text, other, both;
        text.setText(QStringLiteral("hello"));
        QVERIFY(!view->performDragOperation(&text) && w->alerts.isEmpty());
        other.setUrls({QUrl::fromLocalFile(path("notes.txt"))});
        QVERIFY(!view->performDragOperation(&other));
        QCOMPARE(w->alerts.size(), 1);
        // A remote URL wins over the files; one that cannot be reached renders nothing.
        both.setUrls(
            {QUrl::fromLocalFile(path("a.mdl")), QUrl(QStringLiteral("http://127.0.0.1:9/v.mdl"))});
        QVERIFY(view->performDragOperation(&both));
        QCOMPARE(view->Mandat0().x, 0.3);
    }

    // A server that accepts and then says nothing: given up after the time allowed, or at
    // once on Escape.
    void aSilentServerIsGivenUpInTimeOrOnEscape() {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const auto drop = [&](const char* name) {
            QMimeData data;
            data.setUrls({QUrl(QStringLiteral("http://127.0.0.1:%1/%2")
                                   .arg(server.serverPort())
                                   .arg(QLatin1String(name)))});
            return view->performDragOperation(&data);
        };
        open({.remoteTimeout = std::chrono::milliseconds(500)});
        QVERIFY(drop("view.mdl"));
        QVERIFY(drop("view.png"));
        QCOMPARE(w->alerts.size(), 1); // the PNG: parameter files fail silently
        QVERIFY(untouched());
        open({.remoteTimeout = std::chrono::seconds(60)});
        bool busy = false;
        QTimer::singleShot(300, view, [&] {
            busy = QGuiApplication::overrideCursor() &&
                   QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor &&
                   w->ui().PushButton->text() == QStringLiteral("Abort");
            QTest::keyClick(w->ui().TextField_x, Qt::Key_Escape);
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(drop("v.png"));
        QVERIFY(busy && clock.elapsed() < 20000 && w->alerts.isEmpty() && untouched());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void copyAndDragOutCarryThePicture() {
        view->copy();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGBA8888),
                 view->picture().imageRep());
        QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, {});
        QVERIFY(untouched()); // the press starts a drag and changes nothing
        std::unique_ptr<QMimeData> data(view->dragData()); // half size, and the thumbnail
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(160, 120));
        QVERIFY(QDir(view->dragOut().folder()).isEmpty()); // written only when a target asks
        const QList<QUrl> urls = data->urls();
        const QString name = urls.at(0).toLocalFile();
        QVERIFY2(QRegularExpression(R"(/Mandelbrot_\d{8}-\d{6}_001\.png$)").match(name).hasMatch(),
                 qPrintable(name));
        QCOMPARE(QImage(name).size(), QSize(160, 120));
        QCOMPARE(data->urls(), urls); // asked again: the same file
        QTemporaryDir target;
        const QString taken = QString(name).replace(QStringLiteral("_001.png"), "_002.png");
        writeAll(target.filePath(QFileInfo(taken).fileName()), "taken");
        const QString next = view->namesOfPromisedFilesDroppedAtDestination(target.path());
        QVERIFY(next.endsWith(QStringLiteral("_003.png")) && !chunkLine(readAll(next)).isEmpty());
    }

    void aCancelledDragLeavesNoFileAndNoNumber() {
        DragOut drag;
        drag.begin(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
        const QString first = drag.nextPath(drag.folder());
        QVERIFY(first.endsWith(QStringLiteral("/Mandelbrot_20261207-090503_001.png")));
        writeAll(first, "png");
        drag.end(false);
        QVERIFY(!QFile::exists(first));
        QCOMPARE(drag.nextPath(drag.folder()), first);
        // The folders of runs that were killed go at the next start; a live run's stay.
        const QString dead = QDir::temp().filePath("velquorantisphaeron-drag-999999999-x");
        QVERIFY(QDir().mkpath(dead + "/inside"));
        const DragOut next;
        QVERIFY(!QFileInfo::exists(dead) && QFileInfo::exists(drag.folder()));
    }

    void savingAsksAboutTheNameThatIsWritten() {
        writeAll(path("keep.mdl.png"), "old picture");
        writeAll(path("views.mdl"), "");
        w->confirm = false;
        save(QStringLiteral("keep.mdl"), 2); // typed with another extension: PNG adds its own
        save(QStringLiteral("views"), 1);
        QCOMPARE(w->questions.size(), 2);
        QVERIFY(w->questions[0].contains("“keep.mdl.png”") &&
                w->questions[0].endsWith("[Replace]"));
        QVERIFY(w->questions[1].contains("added") && w->questions[1].endsWith("[Add]"));
        QCOMPARE(readAll(path("keep.mdl.png")), QByteArray("old picture"));
        QCOMPARE(readAll(path("views.mdl")), QByteArray());
        w->confirm = true;
        save(QStringLiteral("keep.mdl"), 2);
        QVERIFY(readAll(path("keep.mdl.png")).startsWith("\x89PNG"));
    }

    void aFailedSaveSaysWhy() {
        QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.png")).constData(), 0600), 0);
        QVERIFY(!view->saveAsPNG(view->Mandat0(), path("fifo.png"), 2)); // never blocks
        view->saveAsMDL(view->Mandat0(), path("fifo.png"));
        view->saveAsMDL(view->Mandat0(), path("missing/views.mdl"));
        QCOMPARE(w->alerts.size(), 3);
        for (int k : {0, 1})
            QVERIFY2(w->alerts[k].endsWith(QStringLiteral("fifo.png” could not be saved: it is "
                                                          "not a regular file.")),
                     qPrintable(w->alerts[k]));
        QVERIFY(w->alerts[2].endsWith(QStringLiteral(": No such file or directory.")));
        QVERIFY(QFileInfo(path("fifo.png")).isFile() == false);
        // The history log reports its failure once, not at every view.
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        w->ui().menuHistmode->trigger();
        for (int zoom = 0; zoom < 3; ++zoom)
            view->menuMandel(w->ui().actionZoomIn2);
        QCOMPARE(w->alerts.size(), 4);
        QVERIFY(w->alerts[3].contains(QStringLiteral("Desktop/history.mdl")));
    }

    void anExportThatRunsOutOfMemoryIsReported() {
#if defined(__SANITIZE_ADDRESS__) // moc sees the slot either way
        QSKIP("the address sanitizer's operator new ends the process instead of throwing");
#endif
        option("savepanelSx")->setText(QStringLiteral("1024"));
        option("savepanelSy")->setText(QStringLiteral("768"));
        failLargeAllocations = true; // the render's buffers are had; the cut's are not
        const bool written = view->saveAsPNG(view->Mandat0(), path("big.png"), 4);
        failLargeAllocations = false;
        QVERIFY(!written && !QFile::exists(path("big.png")));
        QCOMPARE(w->alerts, QStringList{"The picture cannot be exported: There is not enough "
                                        "memory for a picture of 1024 x 768 pixels."});
        QCOMPARE(view->picture().winx(), 320);
    }

    // The start view and seven more: the history reaches back six, to the first of the seven.
    // A movie from there keeps the window's picture; Abort keeps the frames done, and the next
    // run takes them up.
    void aMovieGoesFromTheOldestViewToTheCurrentOne() {
        for (int k = 1; k <= 7; ++k)
            view->runMandel({-0.75, 0.1, 1.0 / (k * k), 256, 0x742, 10 * k}, 2);
        const MANDAT current = view->Mandat0();
        const QImage shown = view->picture().imageRep();
        QString output = path("frames");
        w->fillDialog = [&](QDialog& dialog) {
            dialog.findChild<QSpinBox*>("frames")->setValue(4);
            dialog.findChild<QSpinBox*>("width")->setValue(64);
            dialog.findChild<QSpinBox*>("height")->setValue(48);
            dialog.findChild<QLineEdit*>("output")->setText(output);
        };
        duringTheNextRender(view, [this] { view->pushButton(); }); // after the first frame
        w->ui().actionExportMovie->trigger();
        QCOMPARE(QDir(output).entryList(QDir::Files), QStringList{"frame-000001.png"});
        struct stat first {};
        ::stat(QFile::encodeName(path("frames/frame-000001.png")).constData(), &first);
        w->ui().actionExportMovie->trigger();
        QCOMPARE(QDir(output).entryList(QDir::Files).size(), 4);
        struct stat again {};
        ::stat(QFile::encodeName(path("frames/frame-000001.png")).constData(), &again);
        QCOMPARE(again.st_ino, first.st_ino); // kept, not written again
        const QByteArray last = readAll(path("frames/frame-000004.png"));
        QCOMPARE(chunkLine(last), lineOf(current, 64.0 / 48));
        const std::vector<Rgba> pixels = expectedPixels(current, 64, 48);
        QCOMPARE(
            QImage::fromData(last).convertToFormat(QImage::Format_RGBA8888),
            QImage(reinterpret_cast<const uchar*>(pixels.data()), 64, 48, QImage::Format_RGBA8888));
        QCOMPARE(chunkLine(readAll(path("frames/frame-000001.png"))),
                 lineOf({-0.75, 0.1, 1.0, 256, 0x742, 10}, 64.0 / 48));
        QVERIFY(view->Mandat0() == current && view->picture().imageRep() == shown);
        QVERIFY(w->alerts.isEmpty());

        output = path("views.mdl"); // a file where the folder would go
        writeAll(output, "0 0 2 256 0x782 0\n");
        w->ui().actionExportMovie->trigger();
        QCOMPARE(w->alerts.size(), 1);
        if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) return;
        output = path("zoom.mp4");
        w->ui().actionExportMovie->trigger();
        QCOMPARE(readAll(output).mid(4, 4), QByteArray("ftyp"));
        QCOMPARE(w->alerts.size(), 1);
    }

    void namesThatAreNotUtf8() {
        const QByteArray bytes = QFile::encodeName(dir.path()) + "/o\xff.mdl";
        std::FILE* file = std::fopen(bytes.constData(), "w");
        QVERIFY(file && std::fputs("0.25 0 1 1 256 0x782 0\n", file) >= 0 &&
                std::fclose(file) == 0);
        QMimeData drop; // a drop carries the name's bytes, percent-encoded
        drop.setUrls({QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"))});
        QVERIFY(view->performDragOperation(&drop));
        QCOMPARE(view->Mandat0().x, 0.25);
        w->answer = QFile::decodeName(bytes); // the panel has only U+FFFD for the byte
        view->openDocument();
        QCOMPARE(w->alerts.size(), 1);
        QVERIFY(w->alerts[0].contains(QStringLiteral("not UTF-8")));
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
