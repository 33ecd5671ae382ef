// Saving, opening, dropping, copying and dragging out, offscreen, with real and hostile files.
#include "core/files/paramline.h"
#include "core/files/pngchunk.h"
#include "gui/window.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <cmath>
#include <sys/stat.h>

using namespace velq;
using namespace velq::testing;

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

QByteArray bigEndian(quint32 v) {
    return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0'));
}

// The signature and an IHDR chunk, then whatever follows.
QByteArray pngWith(const QByteArray& afterIhdr) {
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + bigEndian(13) + "IHDR" + QByteArray(13, '\0') +
           bigEndian(0) + afterIhdr;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<Window> w;
    DrawingView* view = nullptr;
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    void open(const QString& file) { view->openfile(QUrl::fromLocalFile(file)); }
    // Save with the file type `tag` under `name`.
    void save(const QString& name, int tag) {
        view->savePanel().savepaneltype()->button(tag)->click();
        w->answer = path(name);
        view->saveAs();
    }
    QLineEdit* option(const char* name) {
        return view->savePanel().savepanelview()->findChild<QLineEdit*>(QLatin1String(name));
    }
    bool untouched() const {
        return view->Mandat0() == kStartView && !view->history().ring().canGoBack();
    }

private slots:
    void initTestCase() {
        installTranslations(*QCoreApplication::instance());
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); // the servers are local
    }
    void init() {
        w = std::make_unique<Window>();
        view = w->view;
        QVERIFY(w->start());
    }
    void cleanup() { w.reset(); }

    void savedFilesCarryTheViewAndOpenAgain() {
        save(QStringLiteral("views"), 1);
        save(QStringLiteral("views"), 1);
        const QByteArray text = readAll(path("views.mdl"));
        QCOMPARE(text.count("\r\n"), 2); // a parameter file grows by a line each time
        QVERIFY(text.startsWith("0.00000000000000000000 0.00000000000000000000 2.000000000"));
        QVERIFY(!option("savepanelSx")->isEnabled());
        view->runMandel({-0.75, 0.1, 0.25, 2048, 0x742, 300}, 2);
        save(QStringLiteral("screen.png"), 2);
        const QByteArray png = readAll(path("screen.png"));
        QCOMPARE(png.mid(37, 4), QByteArray("tEXt"));
        QCOMPARE(chunkLine(png), QByteArray("-0.75000000000000000000 0.10000000000000000555 "
                                            "0.25000000000000000000 1.33333333333333325932 2048 "
                                            "0x00000742 300"));
        QCOMPARE(QImage::fromData(png).convertToFormat(QImage::Format_RGBA8888),
                 view->picture().imageRep());
        view->runMandel(kStartView, 2);
        open(path("screen.png"));
        QVERIFY(view->Mandat0() == (MANDAT{-0.75, 0.1, 0.25, 2048, 0x742, 300}));
        QVERIFY(w->alerts.isEmpty());
    }

    void exportsRenderApartAndKeepTheWindowsPicture() {
        const QImage shown = view->picture().imageRep();
        save(QStringLiteral("thumb.png"), 3);
        QCOMPARE(QImage(path("thumb.png")).size(), QSize(160, 120));
        QVERIFY(chunkLine(readAll(path("thumb.png"))).contains(" 1.33333333333333325932 "));
        option("savepanelSx")->setText(QStringLiteral("100"));
        option("savepanelSy")->setText(QStringLiteral("75"));
        view->savePanel()
            .savepanelview()
            ->findChild<QAbstractButton*>("savepanelAnti")
            ->setChecked(true);
        save(QStringLiteral("typed.png"), 4);
        QCOMPARE(QImage(path("typed.png")).size(), QSize(100, 75));
        // Rendered at 224 x 160 (R(100)*2 x R(75)*2): that is the aspect in the chunk.
        QVERIFY(chunkLine(readAll(path("typed.png"))).contains(" 1.39999999999999991118 "));
        QCOMPARE(view->picture().imageRep(), shown);
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

    void aFailedWriteKeepsTheOldFile() {
        w = std::make_unique<Window>(Seams{.writeFile = [](const std::string&, auto) {
            return std::make_error_code(std::errc::no_space_on_device);
        }});
        view = w->view;
        QVERIFY(w->start());
        writeAll(path("keep.png"), "old");
        QVERIFY(!view->saveAsPNG(view->Mandat0(), path("keep.png"), 2));
        QCOMPARE(readAll(path("keep.png")), QByteArray("old"));
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
        const QByteArray keyword = "tEXtVelquorantisphaeron";
        const QByteArray words = keyword + '\0' + "this is no view\r\n";
        const std::tuple<const char*, QByteArray, bool> rows[] = {
            {"empty.mdl", "", false},
            {"words.mdl", "hello world\n", false},
            {"six-fields.mdl", "0.1 0 1 1 256 0x782\n", false},
            {"empty.png", "", true},
            {"eight.png", QByteArray("\x89PNG\r\n\x1a\n", 8), true},
            {"huge.png", pngWith(bigEndian(0xFFFFFFFF) + "IDAT" + QByteArray(100, 'x')), true},
            {"back.png", pngWith(bigEndian(0xFFFFFFE8) + "IDAT" + QByteArray(100, 'x')), true},
            {"cut.png", pngWith(bigEndian(100) + keyword.left(16)), true},
            {"words.png", pngWith(bigEndian(words.size() - 4) + words + bigEndian(0)), false},
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
        for (const char* name : {"a", "b", "c", "notes"})
            writeAll(path(QLatin1String(name) + (name[1] ? ".txt" : ".mdl")),
                     QByteArray("0.") + QByteArray::number(name[0] - 'a' + 1) +
                         " 0 1 1 256 0x782 0\n");
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

    void aSilentServerIsGivenUpInTime() {
        w = std::make_unique<Window>(Seams{.remoteTimeout = std::chrono::milliseconds(500)});
        view = w->view;
        QVERIFY(w->start());
        QTcpServer server; // accepts, then says nothing
        QVERIFY(server.listen(QHostAddress::LocalHost));
        for (const char* name : {"view.mdl", "view.png"}) {
            QMimeData drop;
            drop.setUrls({QUrl(QStringLiteral("http://127.0.0.1:%1/%2")
                                   .arg(server.serverPort())
                                   .arg(QLatin1String(name)))});
            QVERIFY(view->performDragOperation(&drop));
        }
        QCOMPARE(w->alerts.size(), 1); // the PNG: parameter files fail silently
        QVERIFY(untouched());
    }

    void copyAndDragOutCarryThePicture() {
        view->copy();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGBA8888),
                 view->picture().imageRep());
        QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, {});
        std::unique_ptr<QMimeData> data(view->dragData()); // half size, and the thumbnail
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(160, 120));
        QVERIFY(QDir(view->dragOut().folder()).isEmpty()); // written only when a target asks
        const QList<QUrl> urls = data->urls();
        QVERIFY(urls.at(0).toLocalFile().endsWith(QStringLiteral("Mandelbrot_001.png")));
        QCOMPARE(QImage(urls[0].toLocalFile()).size(), QSize(160, 120));
        QCOMPARE(data->urls(), urls); // asked again: the same file
        QTemporaryDir target;
        writeAll(target.filePath("Mandelbrot_002.png"), "taken");
        const QString next = view->namesOfPromisedFilesDroppedAtDestination(target.path());
        QVERIFY(next.endsWith(QStringLiteral("Mandelbrot_003.png")));
        QVERIFY(!chunkLine(readAll(next)).isEmpty());
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
