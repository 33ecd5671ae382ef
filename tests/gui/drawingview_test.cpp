// The window offscreen: start-up, Run and Abort, input during a render, colours, sizing.
#include "app/translations.h"
#include "core/host/hostversion.h"
#include "core/render/renderworkers.h"
#include "gui/drawingview.h"
#include "gui/heldrender.h"
#include "gui/localization.h"
#include "gui/mainwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <array>
#include <chrono>
#include <thread>

using namespace velq;
using namespace velq::testing;

namespace {

// The picture as the plain loop and the colour map give it, for comparison with the window.
std::vector<Rgba> expectedPixels(const MANDAT& v, int winx, int winy) {
    std::vector<std::int16_t> counts(static_cast<std::size_t>(winx) * winy);
    std::atomic<int> status{RenderStatus::Rendering};
    RenderWorkers workers(status);
    workers.run(KernelFrame::of(v, winx, winy, iterationLimitInForce(v)), counts.data());
    std::array<Rgba, kCmapEntries> cmap{};
    buildColourMap(v.cs, cmap);
    std::vector<Rgba> pixels(counts.size());
    recolour(counts, pixels, cmap, v.cp);
    return pixels;
}

std::atomic<bool> barShown{false};
struct ShowWatch : QObject {
    ShowWatch() { barShown = false; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) barShown = true;
        return false;
    }
};
std::int64_t heavyRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    for (int waited = 0; r0 >= 200 && !barShown && waited < 5000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return referenceRows(f, r0, rows, stride, mandel) + (std::int64_t{1} << 28);
}

} // namespace

class DrawingViewTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    DrawingView* view = nullptr;

private slots:
    void initTestCase() { installTranslations(*QCoreApplication::instance()); }
    void init() {
        window = std::make_unique<MainWindow>(kHostToolkitVersion);
        view = window->view();
        QVERIFY(window->start());
    }
    void cleanup() { window.reset(); }

    void startUpShowsTheStartView() {
        QCOMPARE(view->winx, 320);
        QCOMPARE(view->winy, 240);
        QVERIFY(view->Mandat0 == kStartView);
        QCOMPARE(view->status.load(), 0);
        QCOMPARE(view->osversion, 10.3);
        QCOMPARE(view->PushButton->text(), QStringLiteral("Run"));
        QCOMPARE(view->TextField_w->text(), QStringLiteral("2"));
        QCOMPARE(view->PushButtonCa->text(), QStringLiteral("a1"));
        QCOMPARE(view->PushButtonCb->text(), QStringLiteral("b2"));
        QVERIFY(!view->history.canGoBack());
        QVERIFY(!view->history.canGoForward());
        QVERIFY(window->isVisible());
        QCOMPARE(view->size(), QSize(320, 240));
        QCOMPARE(view->imageRep.bytesPerLine(), 1280);
        const std::vector<Rgba> expected = expectedPixels(kStartView, 320, 240);
        QVERIFY(std::equal(expected.begin(), expected.end(), view->pixelArr().begin()));
    }

    void oldHostIsRefusedWithAnAlert() {
        MainWindow old(620.0); // a 10.1 host
        QString title, message;
        old.view()->setAlertHandler([&](const QString& t, const QString& m) {
            title = t;
            message = m;
        });
        QVERIFY(!old.start());
        QCOMPARE(title, QStringLiteral("Velquorantisphaeron"));
        QVERIFY(message.contains(QStringLiteral("10.1")));
        QCOMPARE(old.view()->winx, 0); // nothing sized or rendered
    }

    void runRendersTheTypedFieldsAsANewView() {
        view->TextField_x->setText(QStringLiteral("-0.75"));
        view->TextField_y->setText(QStringLiteral("0.1"));
        view->TextField_w->setText(QStringLiteral("0.25"));
        QTest::mouseClick(view->PushButton, Qt::LeftButton);
        QCOMPARE(view->Mandat0.x, -0.75);
        QCOMPARE(view->Mandat0.y, 0.1);
        QCOMPARE(view->Mandat0.w, 0.25);
        QCOMPARE(view->Mandat0.it, 1024);
        QVERIFY(view->history.canGoBack());
        QVERIFY(view->history.backTarget() == kStartView);
        const std::vector<Rgba> expected = expectedPixels(view->Mandat0, 320, 240);
        QVERIFY(std::equal(expected.begin(), expected.end(), view->pixelArr().begin()));
    }

    void typedWidthsBelowTheFloorRenderAtTheFloor() {
        view->TextField_w->setText(QStringLiteral("-1"));
        QTest::mouseClick(view->PushButton, Qt::LeftButton);
        QCOMPARE(view->Mandat0.w, 1e-15);
        QCOMPARE(view->TextField_w->text(), QStringLiteral("1.0000000000000001e-15"));
        QCOMPARE(view->it_lim, 1024);
    }

    void fieldsGiveBackTheExactDouble() {
        const MANDAT v{-0.7454282857142857, -0.113008642857143, 6.726190476e-06, 1024, 0x584, 180};
        view->runMandel(v, 2);
        QCOMPARE(view->TextField_x->text().toDouble(), v.x);
        QCOMPARE(view->TextField_y->text().toDouble(), v.y);
        QCOMPARE(view->TextField_w->text().toDouble(), v.w);
    }

    void inputDuringARenderIsGone() {
        QKeyEvent* key = new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        view->TextField_x->setFocus();
        QCoreApplication::postEvent(view->TextField_x, key);
        postClick(view->PushButtonCa);
        holdTheNextRender(view);
        const QString before = view->TextField_x->text();
        QCOMPARE(view->runMandel(view->Mandat0, 0) >= 0, true);
        QCoreApplication::processEvents();
        QCOMPARE(view->PushButtonCa->text(), QStringLiteral("a1"));
        QCOMPARE(view->TextField_x->text(), before);
    }

    void theProgressBarShowsOnlyForLongRenders() {
        ShowWatch watch;
        view->progressBar->installEventFilter(&watch);
        view->runMandel(kStartView, 0); // little work: the bar stays hidden
        QVERIFY(!barShown);
        // Every group claims 2^28 iterations, far past 524288 * 256; the last rows wait until
        // the render's loop has shown the bar.
        view->setKernel(heavyRows);
        view->runMandel(kStartView, 0);
        QVERIFY(barShown);
        QVERIFY(!view->progressBar->isVisible());
        QCOMPARE(view->progressBar->value(), 0);
    }

    void abortFinishesCoarselyInBlocks() {
        postClick(view->PushButton);
        holdTheNextRender(view);
        const MANDAT v{-0.75, 0.0, 1.5, 1024, 0x782, 0};
        QCOMPARE(view->runMandel(v, 2), -1);
        QCOMPARE(view->status.load(), 0);
        QVERIFY(view->Mandat0.x == -0.75 && view->Mandat0.w == 1.5);
        QCOMPARE(view->PushButton->text(), QStringLiteral("Run"));
        for (int j = 0; j < view->winy; ++j)
            for (int i = 0; i < view->winx; ++i)
                QCOMPARE(view->mandel[j * view->winx + i],
                         view->mandel[(j & ~3) * view->winx + (i & ~3)]);
    }

    void abortWithStopKeepsThePreviousRowsAndRotation() {
        const std::vector<std::int16_t> before = view->mandel;
        view->status_cancel = 1;
        postClick(view->PushButton);
        holdTheNextRender(view);
        QCOMPARE(view->runMandel({0.3, 0.0, 0.01, 1024, 0x782, 500}, 2), -1);
        QCOMPARE(view->Mandat0.cp, 0);
        QCOMPARE(view->mandel.back(), before.back()); // the last group was never claimed
    }

    void colourControlsRecolourWithoutRendering() {
        const std::vector<std::int16_t> counts = view->mandel;
        const MANDAT start = view->Mandat0;
        QTest::mouseClick(view->PushButtonCa, Qt::LeftButton);
        QCOMPARE(view->PushButtonCa->text(), QStringLiteral("a2"));
        QCOMPARE(view->Mandat0.cs, 0x742);
        QTest::mouseClick(view->PushButtonCb, Qt::LeftButton);
        QCOMPARE(view->PushButtonCb->text(), QStringLiteral("b3"));
        QTest::mouseClick(view->PushButtonCb, Qt::LeftButton);
        QCOMPARE(view->PushButtonCb->text(), QStringLiteral("b1"));
        QTest::mouseClick(view->PushButtonCR, Qt::LeftButton); // a toggle acts at once
        QCOMPARE(view->Mandat0.cs & 0x100, 0);
        view->Slider->setValue(321);
        QCOMPARE(view->Mandat0.cp, 321);
        QCOMPARE(view->SliderNum->text(), QStringLiteral("321"));
        QVERIFY(view->mandel == counts);
        QCOMPARE(view->Mandat0.x, start.x);
        QCOMPARE(view->Mandat0.w, start.w);
        QVERIFY(!view->history.canGoBack());
        const std::vector<Rgba> expected = expectedPixels(view->Mandat0, 320, 240);
        QVERIFY(std::equal(expected.begin(), expected.end(), view->pixelArr().begin()));
    }

    void rotationFromOutsideIsClamped() {
        view->runMandel({0, 0, 2, 1024, 0x782, 5000}, 2);
        QCOMPARE(view->Mandat0.cp, 1000);
        view->runMandel({0, 0, 2, 1024, 0x782, -3}, 2);
        QCOMPARE(view->Mandat0.cp, 0);
    }

    void zoomGivesTheLargestMultipleOf16AndRenders() {
        const QSize margins = window->size() - view->size();
        view->windowShouldZoom(QRect(0, 0, 510 + margins.width(), 415 + margins.height()));
        QCOMPARE(view->winx, 496);
        QCOMPARE(view->winy, 400);
        QCOMPARE(view->imageRep.size(), QSize(496, 400));
        QCOMPARE(view->mandel.size(), std::size_t{496 * 400});
        QTRY_COMPARE_WITH_TIMEOUT(view->size(), QSize(496, 400), 3000);
        const std::vector<Rgba> expected = expectedPixels(view->Mandat0, 496, 400);
        QVERIFY(std::equal(expected.begin(), expected.end(), view->pixelArr().begin()));
    }

    void liveResizeEndsWithOneRenderOfTheSameView() {
        const MANDAT before = view->Mandat0;
        window->resize(window->size() + QSize(100, 37)); // the manager ignores the 16-steps
        QTRY_COMPARE_WITH_TIMEOUT(view->winx, 416, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(view->status.load(), 0, 3000);
        QCOMPARE(view->winy, 272);
        QVERIFY(view->Mandat0 == before);
        QVERIFY(!view->history.canGoBack()); // backup 0: no new entry
        QTRY_COMPARE_WITH_TIMEOUT(view->size(), QSize(416, 272), 3000);
        const std::vector<Rgba> expected = expectedPixels(before, 416, 272);
        QVERIFY(std::equal(expected.begin(), expected.end(), view->pixelArr().begin()));
    }

    void buffersThatCannotBeAllocatedKeepTheOldPicture() {
#if defined(__SANITIZE_ADDRESS__)
        // Its operator new ends the process when memory runs out, whatever its options say.
        QSKIP("a failed allocation cannot throw std::bad_alloc under AddressSanitizer");
#endif
        const std::vector<Rgba> before(view->pixelArr().begin(), view->pixelArr().end());
        view->resizeMandel(window->pos(), QSize(65536, 1 << 20), 1); // 128 GB of counts
        QCOMPARE(view->winx, 320);
        QCOMPARE(view->winy, 240);
        QVERIFY(std::equal(before.begin(), before.end(), view->pixelArr().begin()));
        QTRY_COMPARE_WITH_TIMEOUT(view->size(), QSize(320, 240), 3000);
    }

    void sizingIsRefusedDuringARender() {
        view->status = RenderStatus::Rendering;
        view->resizeMandel(window->pos(), QSize(640, 480), 0);
        view->status = RenderStatus::Idle;
        QCOMPARE(view->winx, 320);
    }
};

QTEST_MAIN(DrawingViewTest)
#include "drawingview_test.moc"
