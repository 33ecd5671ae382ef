// Saving, opening, dropping, copying and dragging out, offscreen, with real files.
#include "app/translations.h"
#include "core/files/pngchunk.h"
#include "core/host/hostversion.h"
#include "gui/drawingview.h"
#include "gui/heldrender.h"
#include "gui/localization.h"
#include "gui/mainwindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

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
    f.write(bytes);
}

// The parameter text of a PNG file of ours, up to the end of its first line.
QByteArray chunkLine(const QByteArray& png) {
    const auto at = findParameterText(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                      static_cast<std::size_t>(png.size())));
    if (!at) return {};
    const QByteArray text = png.mid(static_cast<qsizetype>(*at));
    return text.left(text.indexOf("\r\n"));
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    DrawingView* view = nullptr;
    QTemporaryDir dir;
    QStringList alerts;

    QString path(const QString& name) const { return dir.filePath(name); }

    // Answers the next panel with `file` and the file type `tag`.
    void answerPanels(const QString& file, int tag) {
        view->savepaneltype->button(tag)->click();
        view->setFileDialogRunner([file](QFileDialog& panel) {
            panel.selectFile(file);
            return !file.isEmpty();
        });
    }

private slots:
    void initTestCase() { installTranslations(*QCoreApplication::instance()); }

    void init() {
        window = std::make_unique<MainWindow>(kHostToolkitVersion);
        view = window->view();
        QVERIFY(window->start());
        alerts.clear();
        view->setAlertHandler(
            [this](const QString& title, const QString& m) { alerts << title + ": " + m; });
    }
    void cleanup() { window.reset(); }

    void parameterFilesAppendOneLinePerSave() {
        answerPanels(path("views"), 1);
        view->saveAs();
        view->saveAs();
        const QByteArray text = readAll(path("views.mdl"));
        QCOMPARE(text.count("\r\n"), 2);
        QVERIFY(text.startsWith("0.00000000000000000000 0.00000000000000000000 2.00000000000"));
        QVERIFY(!view->savepanelSx->isEnabled()); // the size fields are off after every Save
    }

    void screenPngCarriesItsViewAndOpensAgain() {
        view->runMandel({-0.75, 0.1, 0.25, 2048, 0x742, 300}, 2);
        answerPanels(path("screen.png"), 2);
        view->saveAs();
        const QByteArray png = readAll(path("screen.png"));
        QCOMPARE(png.mid(37, 4), QByteArray("tEXt"));
        QCOMPARE(chunkLine(png),
                 QByteArray("-0.75000000000000000000 0.10000000000000000555 "
                            "0.25000000000000000000 1.33333333333333325932 2048 0x00000742 300"));
        QImage read;
        QVERIFY(read.loadFromData(png));
        QCOMPARE(read.size(), QSize(320, 240));
        view->runMandel(kStartView, 2);
        view->openfile(QUrl::fromLocalFile(path("screen.png")));
        QVERIFY(view->Mandat0 == (MANDAT{-0.75, 0.1, 0.25, 2048, 0x742, 300}));
        QVERIFY(alerts.isEmpty());
    }

    void thumbnailAndTypedSizes() {
        answerPanels(path("thumb.png"), 3);
        view->saveAs();
        QImage thumb(path("thumb.png"));
        QCOMPARE(thumb.size(), QSize(160, 120));
        QVERIFY(chunkLine(readAll(path("thumb.png"))).contains(" 1.33333333333333325932 "));
        QCOMPARE(view->winx, 320); // the window's buffers are back
        view->savepanelSx->setText(QStringLiteral("100"));
        view->savepanelSy->setText(QStringLiteral("75"));
        view->savepanelAnti->setChecked(true);
        answerPanels(path("typed.png"), 4);
        view->saveAs();
        QCOMPARE(QImage(path("typed.png")).size(), QSize(100, 75));
        // Rendered at 224 x 160 (R(100)*2 x R(75)*2): that is the aspect in the chunk.
        QVERIFY(chunkLine(readAll(path("typed.png"))).contains(" 1.39999999999999991118 "));
        QCOMPARE(view->winy, 240);
        QCOMPARE(view->imageRep.size(), QSize(320, 240));
    }

    void abortDuringAnExportWritesNothing() {
        // The Abort press is delivered by the export's render loop; the held workers make sure
        // it arrives before any row is computed.
        postClick(view->PushButton);
        holdTheNextRender(view);
        const std::vector<std::int16_t> counts = view->mandel;
        QVERIFY(!view->saveAsPNG(view->Mandat0, path("aborted.png"), 3));
        QVERIFY(!QFile::exists(path("aborted.png")));
        QCOMPARE(view->winx, 320);
        QVERIFY(view->mandel == counts); // the window's own picture was never touched
        QCOMPARE(view->status_cancel, 0);
    }

    void badTypedSizesAreRefusedWithAReason() {
        for (const auto& [w, h] : {std::pair{"0", "100"},
                                   {"-1", "100"},
                                   {"abc", "100"},
                                   {"99999999", "100"},
                                   {"", ""}}) {
            alerts.clear();
            view->savepanelSx->setText(QString::fromLatin1(w));
            view->savepanelSy->setText(QString::fromLatin1(h));
            answerPanels(path("bad.png"), 4);
            view->saveAs();
            QCOMPARE(alerts.size(), 1);
            QVERIFY(!QFile::exists(path("bad.png")));
        }
        QCOMPARE(view->winx, 320);
    }

    void failedWritesKeepTheOldFile() {
        // A disk too small for the new picture: a tiny file system where one can be mounted,
        // else a folder without write permission.
        QTemporaryDir small;
        const bool mounted = QProcess::execute(QStringLiteral("mount"),
                                               {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                QStringLiteral("-o"), QStringLiteral("size=12k"),
                                                QStringLiteral("tmpfs"), small.path()}) == 0;
        const QString keep = small.filePath(QStringLiteral("keep.png"));
        writeAll(keep, QByteArray(4000, 'k'));
        if (!mounted)
            QFile::setPermissions(small.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool written = view->saveAsPNG(view->Mandat0, keep, 2);
        const QByteArray after = readAll(keep);
        const qsizetype files = QDir(small.path()).entryList(QDir::Files | QDir::Hidden).size();
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {small.path()});
        else
            QFile::setPermissions(small.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ExeOwner);
        if (written) QSKIP("no way to make a write fail here");
        QCOMPARE(after, QByteArray(4000, 'k'));
        QCOMPARE(files, 1); // and no temporary file left behind
    }

    void openingFilesRendersEveryViewInTurn() {
        writeAll(path("three.MDL"), "0.1 0 1.5 1.3 256 0x00000782 0\n"
                                    "0.2 0 1.5 1.3 3000 0x00000782 0\r"
                                    "\r\n\n0.3 0 0.5 1.3 1000 0x00000742 2000");
        view->openfile(QUrl::fromLocalFile(path("three.MDL")));
        QCOMPARE(view->Mandat0.x, 0.3);
        QCOMPARE(view->Mandat0.it, 1024); // 1000 rounds up
        QCOMPARE(view->Mandat0.cp, 1000); // the rotation is brought into the map
        QCOMPARE(view->history.backTarget().x, 0.2);
        QCOMPARE(view->history.backTarget().it, 4096);
        QVERIFY(alerts.isEmpty());
    }

    void unusableFilesAreReported() {
        writeAll(path("plain.png"), QByteArray(200, 'x'));
        writeAll(path("short.PNG"), "12345678");
        writeAll(path("empty.mdl"), "");
        view->openfile(QUrl::fromLocalFile(path("plain.png")));
        view->openfile(QUrl::fromLocalFile(path("short.PNG")));
        QCOMPARE(alerts.size(), 2);
        QVERIFY(alerts[0].startsWith(QStringLiteral("This file cannot be opened: file://")));
        alerts.clear();
        view->openfile(QUrl::fromLocalFile(path("empty.mdl")));
        view->openfile(QUrl::fromLocalFile(dir.path())); // a folder
        view->openfile(QUrl::fromLocalFile(path("missing.mdl")));
        QVERIFY(alerts.isEmpty()); // parameter files fail silently
        QVERIFY(view->Mandat0 == kStartView);
    }

    void theAlertShowsTheUrlLiterally() {
        writeAll(path("100% a b.png"), "not a png at all");
        view->openfile(QUrl::fromLocalFile(path("100% a b.png")));
        QCOMPARE(alerts.size(), 1);
        QVERIFY(alerts[0].endsWith(QStringLiteral("/100%25%20a%20b.png")));
    }

    void dropsTakeAUrlOrTheLastFile() {
        writeAll(path("a.mdl"), "0.1 0 1 1 256 0x782 0\n");
        writeAll(path("b.mdl"), "0.2 0 1 1 256 0x782 0\n");
        writeAll(path("c.mdl"), "0.3 0 1 1 256 0x782 0\n");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(path("a.mdl")), QUrl::fromLocalFile(path("b.mdl")),
                       QUrl::fromLocalFile(path("c.mdl"))});
        QVERIFY(view->performDragOperation(&files));
        QCOMPARE(view->Mandat0.x, 0.3);
        QVERIFY(view->history.backTarget() == kStartView); // only the last file was opened
        QMimeData text;
        text.setText(QStringLiteral("hello"));
        QVERIFY(!view->performDragOperation(&text));
        QVERIFY(alerts.isEmpty());
        writeAll(path("notes.txt"), "0.5 0 1 1 256 0x782 0\n");
        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(path("notes.txt"))});
        QVERIFY(!view->performDragOperation(&other));
        QCOMPARE(alerts.size(), 1);
        // A remote URL wins over the files; one that cannot be reached renders nothing.
        const MANDAT before = view->Mandat0;
        QMimeData both;
        both.setUrls(
            {QUrl::fromLocalFile(path("a.mdl")), QUrl(QStringLiteral("http://127.0.0.1:9/v.mdl"))});
        QVERIFY(view->performDragOperation(&both));
        QVERIFY(view->Mandat0 == before);
    }

    void copyPutsThePictureOnTheClipboard() {
        view->copy();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(320, 240));
        QCOMPARE(copied.convertToFormat(QImage::Format_RGBA8888), view->imageRep);
    }

    void aDragWritesItsFileOnlyWhenATargetAsks() {
        view->mouse_on = 3; // Alt+Shift: half the picture, and the thumbnail as the file
        std::unique_ptr<QMimeData> data(view->dragData());
        QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(160, 120));
        QVERIFY(data->hasFormat(QStringLiteral("text/uri-list")));
        QVERIFY(QDir(view->dragFolder()).isEmpty());
        const QList<QUrl> urls = data->urls();
        QCOMPARE(urls.size(), 1);
        QVERIFY(urls[0].toLocalFile().endsWith(QStringLiteral("Mandelbrot_001.png")));
        QCOMPARE(QImage(urls[0].toLocalFile()).size(), QSize(160, 120));
        QCOMPARE(data->urls(), urls); // asked again: the same file, no second one
        QCOMPARE(QDir(view->dragFolder()).entryList(QDir::Files).size(), 1);
    }

    void draggedOutFilesAreNumbered() {
        QTemporaryDir target;
        view->mouse_on = 2;
        QString first = view->namesOfPromisedFilesDroppedAtDestination(target.path());
        QVERIFY(first.endsWith(QStringLiteral("Mandelbrot_001.png")));
        QVERIFY(view->namesOfPromisedFilesDroppedAtDestination(target.path())
                    .endsWith(QStringLiteral("Mandelbrot_002.png")));
        QTemporaryDir second;
        for (const char* name : {"Mandelbrot_003.png", "Mandelbrot_004.png"})
            writeAll(second.filePath(QString::fromLatin1(name)), "x");
        view->mouse_on = 3;
        const QString thumb = view->namesOfPromisedFilesDroppedAtDestination(second.path());
        QVERIFY(thumb.endsWith(QStringLiteral("Mandelbrot_005.png")));
        QCOMPARE(view->filenum, 5);
        QCOMPARE(QImage(thumb).size(), QSize(160, 120));
        QCOMPARE(QImage(first).size(), QSize(320, 240));
        QVERIFY(!chunkLine(readAll(thumb)).isEmpty());
    }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
