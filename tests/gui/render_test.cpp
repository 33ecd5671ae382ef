// The window offscreen: start-up, Run and Abort, input during a render, colours, sizing and
// the benchmark.
#include "core/deep/deeparith.h"
#include "core/deep/deeprender.h"
#include "core/explore/navigation.h"
#include "gui/rendereventfilter.h"
#include "gui/window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

using namespace velq;
using namespace velq::testing;

namespace {

// Every group claims 2^28 iterations, far past the 524288 * 256 that show the bar.
std::int64_t heavyRows(const KernelFrame& f, int r0, int rows, int stride, std::int16_t* mandel) {
    return referenceRows(f, r0, rows, stride, mandel) + (std::int64_t{1} << 28);
}

struct ShowWatch : QObject {
    bool shown = false;
    bool eventFilter(QObject*, QEvent* event) override {
        shown = shown || event->type() == QEvent::Show;
        return false;
    }
};

} // namespace

class RenderTest : public WindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { installTranslations(*QCoreApplication::instance()); }
    void init() { open(); }
    void cleanup() { w.reset(); }

    void startUpShowsTheStartView() {
        QCOMPARE(view->picture().imageRep().size(), QSize(320, 240));
        QCOMPARE(view->picture().imageRep().bytesPerLine(), 1280);
        QVERIFY(view->Mandat0() == kStartView && shows(view, kStartView));
        QCOMPARE(view->osversion(), 10.3);
        QCOMPARE(w->ui().TextField_w->text(), QStringLiteral("2"));
        QVERIFY(w->main->isVisible());
        Window old(Seams{.toolkitVersion = 620.0}); // a 10.1 host is refused, with a reason
        QVERIFY(!old.start());
        QVERIFY(old.alerts.size() == 1 && old.alerts[0].contains(QStringLiteral("10.1")));
        QCOMPARE(old.view->picture().winx(), 0);
    }

    // Junk in a field keeps the value shown; a width below the floor is raised to it; the
    // fields then show the view's exact doubles.
    void runRendersTheTypedFieldsAsANewView() {
        std::vector<std::tuple<QString, QString, double, double>> rows{
            {"-0.7454282857142857", "6.726190476e-06", -0.7454282857142857, 6.726190476e-06},
            {" 0.125 ", "-1", 0.125, 1e-15}};
        for (const char* junk : {"abc", "", "0,25", "0.25x", "1e400"})
            rows.emplace_back(junk, junk, 0.0, 2.0);
        for (const auto& [x, wText, xUsed, wUsed] : rows) {
            open();
            w->ui().TextField_x->setText(x);
            w->ui().TextField_w->setText(wText);
            QTest::mouseClick(w->ui().PushButton, Qt::LeftButton);
            const MANDAT& v = view->Mandat0();
            QVERIFY2(v.x == xUsed && v.w == wUsed && // and the fields give them back exactly
                         w->ui().TextField_x->text().toDouble() == xUsed &&
                         w->ui().TextField_w->text().toDouble() == wUsed &&
                         view->history().ring().backTarget() == kStartView && shows(view, v),
                     qPrintable('"' + x + '"'));
        }
    }

    void onlyAbortAndHousekeepingPassDuringARender() {
        using E = QEvent;
        using enum RenderInput;
        // type, key, addressed to Run, pointer on Run, application active, press passed
        const std::tuple<E::Type, int, bool, bool, bool, bool, RenderInput> rows[] = {
            {E::Paint, 0, false, false, true, false, Pass},
            {E::Close, 0, false, false, true, false, Pass},
            {E::MouseButtonPress, 0, true, true, true, false, Pass},
            {E::MouseButtonPress, 0, false, false, true, false, Swallow},
            {E::MouseButtonPress, 0, false, false, false, false, Pass},
            {E::MouseButtonRelease, 0, false, false, true, true, Pass},
            {E::MouseButtonRelease, 0, false, false, true, false, Swallow},
            {E::KeyPress, Qt::Key_Return, true, false, true, false, Swallow},
            {E::Wheel, 0, false, true, true, false, Swallow},
            {E::Drop, 0, false, false, false, false, Swallow}};
        for (const auto& [type, key, onRun, atRun, active, passed, result] : rows)
            QVERIFY2(duringRender(type, key, onRun, atRun, active, passed) == result,
                     qPrintable(QString::number(type)));
        // And in the window: a key and a click posted before the render are gone after it.
        w->ui().TextField_x->setFocus();
        const QString typed = w->ui().TextField_x->text();
        QCoreApplication::postEvent(w->ui().TextField_x,
                                    new QKeyEvent(E::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
        const QPointF at(5, 5);
        for (const E::Type type : {E::MouseButtonPress, E::MouseButtonRelease})
            QCoreApplication::postEvent(
                w->ui().PushButtonCa,
                new QMouseEvent(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        const QString pattern = w->ui().PushButtonCa->text();
        QVERIFY(view->runMandel(view->Mandat0(), 0) >= 0);
        QCoreApplication::processEvents();
        QCOMPARE(w->ui().TextField_x->text(), typed);
        QCOMPARE(w->ui().PushButtonCa->text(), pattern);
    }

    void abortGetsThroughPopupsAndEscape() {
        // A press on Abort taken by a menu open when the render starts still aborts.
        QMenu* menu = view->menus().outlets().menu_;
        menu->popup(w->main->geometry().topLeft());
        const QPoint run = w->ui().PushButton->mapToGlobal(w->ui().PushButton->rect().center());
        duringTheNextRender(view, [&] {
            QMouseEvent press(QEvent::MouseButtonPress, menu->mapFromGlobal(run), run,
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(menu, &press);
        });
        QCOMPARE(view->runMandel({-0.75, 0, 1.5, 1024, 0x782, 0}, 2), -1);
        menu->close();
        // The aborted view stays, its picture finished coarsely in blocks of four.
        QVERIFY(view->Mandat0().w == 1.5 && view->driver().status() == 0);
        QCOMPARE(w->ui().PushButton->text(), QStringLiteral("Run"));
        const auto m = view->picture().mandel();
        for (int j = 0; j < 240; ++j)
            for (int i = 0; i < 320; ++i)
                QCOMPARE(m[j * 320 + i], m[(j & ~3) * 320 + (i & ~3)]);
        duringTheNextRender(view, [&] { QTest::keyClick(w->ui().TextField_y, Qt::Key_Escape); });
        QCOMPARE(view->runMandel(kStartView, 2), -1);
        // Closing the window stops the render outright; a slide show ends with it.
        duringTheNextRender(view, [&] { w->main->close(); });
        QCOMPARE(view->runMandel({-0.75, 0, 0.5, 1024, 0x782, 7}, 2), -1);
        QVERIFY(!w->main->isVisible() && view->Mandat0().cp == 0 && view->driver().idle());
    }

    void theHandMovesTheViewAndTheExactPictureFollows() {
        MANDAT expected = kStartView;
        for (int k = 0; k < 4; ++k) { // four notches about (80, 60): a gesture of one step each
            wheel(view, {80, 60}, 120);
            expected = zoomAbout(expected, 80, 60, 320, 240, 1);
        }
        QVERIFY(view->Mandat0() == expected && view->driver().status() == 0);
        QCOMPARE(w->ui().TextField_w->text().toDouble(), expected.w);
        QTRY_VERIFY(view->settled());
        QVERIFY(shows(view, expected));
        QVERIFY(view->history().ring().backTarget() == kStartView); // one entry for the gesture
        QTest::mousePress(view, Qt::MiddleButton, {}, {100, 100});
        QTest::mouseMove(view, {110, 105});
        QTest::mouseRelease(view, Qt::MiddleButton, {}, {110, 105});
        QVERIFY(view->Mandat0() == panBy(expected, 10, 5, 320, 240));
        // The keys, while the picture has the keyboard: they never retitle the Zoom items.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Plus);
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(view->Mandat0().w, expected.w / 2);
        QCOMPARE(w->ui().menuZoomInSub->title(), QString::fromUtf8("Zoom &In ×2"));
        // Run right after a step: the gesture's render is stopped first; Run renders exactly.
        wheel(view, {300, 10}, -60);
        view->pushButton();
        QVERIFY(!view->hand().rendering() && view->settled());
        QVERIFY(shows(view, view->Mandat0()));
    }

    // A deep view renders at its depth; a wheel step shows the picture scaled until the hand
    // rests, then the exact one; an Abort while the orbit is made keeps the picture.
    void deepViewsRenderAtTheirDepth() {
        w->ui().menuDeepZoom->trigger();
        w->ui().TextField_x->setText("0");
        w->ui().TextField_y->setText("1");
        w->ui().TextField_w->setText("1e-300");
        view->pushButton();
        QVERIFY(rendersDeep(view->Mandat0()) && shows(view, view->Mandat0()));
        wheel(view, {80, 60}, 120);
        QVERIFY(view->Mandat0().deep->w < *ExtFloat::parse("1e-300"));
        QVERIFY(!view->hand().rendering() && !view->settled());
        QTRY_VERIFY(view->settled());
        QVERIFY(shows(view, view->Mandat0()));
        const std::vector<Rgba> before(view->picture().pixelArr().begin(),
                                       view->picture().pixelArr().end());
        duringTheNextRender(view, [this] { view->pushButton(); });
        QCOMPARE(view->runMandel(zoomedBy(view->Mandat0(), 1e100), 2), -1);
        QVERIFY(std::ranges::equal(before, view->picture().pixelArr()));
    }

    void theProgressBarShowsOnlyForLongRenders() {
        for (const bool heavy : {false, true}) {
            open(Seams{.kernel = heavy ? heavyRows : referenceRows});
            ShowWatch watch;
            w->ui().progressBar->installEventFilter(&watch);
            view->runMandel(kStartView, 0);
            QCOMPARE(watch.shown, heavy);
            QVERIFY(!w->ui().progressBar->isVisible());
        }
    }

    void colourControlsRecolourWithoutRendering() {
        const std::vector<std::int16_t> counts(view->picture().mandel().begin(),
                                               view->picture().mandel().end());
        QTest::mouseClick(w->ui().PushButtonCa, Qt::LeftButton);
        QCOMPARE(w->ui().PushButtonCa->text(), QStringLiteral("a2"));
        QCOMPARE(view->Mandat0().cs, 0x742);
        for (const char* shown : {"b3", "b1"}) {
            QTest::mouseClick(w->ui().PushButtonCb, Qt::LeftButton);
            QCOMPARE(w->ui().PushButtonCb->text(), QString::fromLatin1(shown));
        }
        QTest::mouseClick(w->ui().PushButtonCR, Qt::LeftButton);
        QCOMPARE(view->Mandat0().cs, 0x644);
        w->ui().Slider->setValue(321);
        QCOMPARE(view->Mandat0().cp, 321);
        QCOMPARE(w->ui().SliderNum->text(), QStringLiteral("321"));
        QVERIFY(std::equal(counts.begin(), counts.end(), view->picture().mandel().begin()));
        QVERIFY(!view->history().ring().canGoBack());
        QVERIFY(shows(view, view->Mandat0()));
        view->runMandel({0, 0, 2, 1024, 0x782, 5000}, 2); // a rotation from outside is clamped
        QCOMPARE(view->Mandat0().cp, 1000);
    }

    // A second Zoom returns to the size and place before the first; a live resize, which waits
    // for the manager's button, renders the same view in place once.
    void zoomFullScreenAndLiveResizeRenderTheSameView() {
        const QPoint origin = w->main->pos();
        const QSize margins = w->main->size() - view->size();
        const QRect area(0, 0, 510 + margins.width(), 415 + margins.height());
        view->windowShouldZoom(area);
        QCOMPARE(view->picture().imageRep().size(), QSize(496, 400));
        QVERIFY(shows(view, kStartView));
        view->windowShouldZoom(area);
        QCOMPARE(view->picture().imageRep().size(), QSize(320, 240));
        QCOMPARE(w->main->pos(), origin);
        // Full screen: the largest picture that fits the screen with the controls, and back.
        const QSize screen = w->main->screen()->geometry().size() - margins;
        QVERIFY(view->fullScreen(true));
        QCOMPARE(view->picture().points(), QSize(screen.width() & ~15, screen.height() & ~15));
        QVERIFY(!view->fullScreen(false));
        QCOMPARE(view->picture().points(), QSize(320, 240));
        QTRY_COMPARE_WITH_TIMEOUT(w->main->pos(), origin, 3000);
        QTest::mousePress(w->main->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
        w->main->resize(w->main->size() + QSize(120, 37)); // not in steps of 16
        QTest::qWait(400);
        QCOMPARE(view->picture().winx(), 320);
        QTest::mouseRelease(w->main->windowHandle(), Qt::LeftButton, {}, QPoint(2, 2));
        QTRY_COMPARE_WITH_TIMEOUT(view->picture().winx(), 432, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(view->driver().status(), 0, 3000);
        QCOMPARE(view->picture().winy(), 272);
        QVERIFY(view->Mandat0() == kStartView && shows(view, kStartView));
        QVERIFY(!view->history().ring().canGoBack()); // in place: no new entry
        QTRY_COMPARE_WITH_TIMEOUT(view->size(), QSize(432, 272), 3000);
        QCOMPARE(w->main->pos(), origin);
    }

    void sizingKeepsThePictureWhenItCannotBeHad() {
        duringTheNextRender(view, [this] { view->resizeMandel({}, QSize(640, 480), 0); });
        view->runMandel(kStartView, 0);
        QCOMPARE(view->picture().winx(), 320); // never during a render
#if !defined(__SANITIZE_ADDRESS__) // its operator new ends the process instead of throwing
        view->resizeMandel(w->main->pos(), QSize(65536, 1 << 20), 1); // 128 GB of counts
        QCOMPARE(view->picture().winx(), 320);
        QVERIFY(shows(view, kStartView));
#endif
    }

    void benchmarkFramesWidthsAndResult() {
        int tick = 0; // every look at the clock is 1.25 s later
        open(Seams{.now = [&tick] {
            return std::chrono::steady_clock::time_point(std::chrono::milliseconds(1250 * tick++));
        }});
        view->resizeMandel(w->main->pos(), QSize(480, 320), 1);
        view->menuMandel(w->ui().actionZoomIn2);
        const MANDAT before = view->history().ring().backTarget();
        view->benchmark(7); // no such sequence: nothing happens
        QCOMPARE(view->picture().winx(), 480);
        const MANDAT start{-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591};
        QVERIFY(view->benchmark_sub(start, 3, 0.9f, 1) >= 0);
        const double factor = static_cast<double>(0.9f);
        QCOMPARE(view->Mandat0().w, 5.0 * factor * factor * factor);
        QCOMPARE(w->ui().TextField_w->text().toDouble(), 5.0 * factor * factor);
        QCOMPARE(w->ui().PushButtonCa->text(), QStringLiteral("a3"));
        view->benchmark(4);
        QCOMPARE(w->alerts, QStringList{QStringLiteral(
                                "Benchmark result: The benchmark took 1.250 seconds.")});
        QCOMPARE(view->picture().imageRep().size(), QSize(320, 240));
        QCOMPARE(view->Mandat0().it, 1024);
        QVERIFY(view->history().ring().backTarget() == before);
        duringTheNextRender(view, [this] { view->pushButton(); }); // Abort: no result
        view->benchmark(2);
        QCOMPARE(w->alerts.size(), 1);
        QCOMPARE(view->driver().status(), 0);
        QVERIFY(w->ui().actionRedraw->isEnabled());
    }
};

QTEST_MAIN(RenderTest)
#include "render_test.moc"
