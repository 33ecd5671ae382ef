// Menus, limits, the history log, the mouse selection, the keys and the languages, offscreen.
#include "app/translations.h"
#include "core/host/hostversion.h"
#include "gui/drawingview.h"
#include "gui/helpaddress.h"
#include "gui/localization.h"
#include "gui/mainwindow.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <memory>

using namespace velq;

namespace {

QMenu* topMenu(MainWindow& w, int position) {
    return w.ui().menubar->actions().at(position)->menu();
}

QStringList titles(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QList<int> tags(const QMenu* menu) {
    QList<int> out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? -999 : a->property("tag").toInt());
    return out;
}

QList<int> checkedTags(const QMenu* menu) {
    QList<int> out;
    for (const QAction* a : menu->actions())
        if (a->isChecked()) out << a->property("tag").toInt();
    return out;
}

// An item with the tag in the menu or its submenus.
QAction* itemTagged(const QMenu* menu, int tag) {
    for (QAction* a : menu->actions()) {
        if (a->menu()) {
            if (QAction* inner = itemTagged(a->menu(), tag)) return inner;
        } else if (a->property("tag").toInt() == tag && !a->isSeparator()) {
            return a;
        }
    }
    return nullptr;
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> window;
    DrawingView* view = nullptr;
    QMenu* control = nullptr;

    void open(double toolkitVersion = kHostToolkitVersion) {
        window = std::make_unique<MainWindow>(toolkitVersion);
        view = window->view();
        QVERIFY(window->start());
        control = topMenu(*window, 3);
    }
    void command(int tag) {
        QAction* item = itemTagged(control, tag);
        if (!item) item = itemTagged(view->menuIterations, tag);
        QVERIFY(item);
        view->menuMandel(item);
    }

private slots:
    void withoutTablesEveryTitleShowsItsKey() {
        open();
        QCOMPARE(titles(control).mid(0, 5),
                 (QStringList{"InitialCoordinates", "ReDrawing", "-", "Back", "Forward"}));
        QCOMPARE(control->actions().at(6)->text(), QStringLiteral("ZoomIn"));
        QCOMPARE(view->PushButton->text(), QStringLiteral("Run"));
    }

    void theEnglishTableHoldsEveryKey() {
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/velquorantisphaeron_en.qm")));
        for (const char* key : {"Abort",
                                "AboutApp",
                                "Alert_os_version",
                                "Antialiasing",
                                "AppHelp",
                                "Back",
                                "Benchmark",
                                "Cant_Export",
                                "Cant_Open",
                                "Close",
                                "Control",
                                "Copy",
                                "Cut",
                                "Edit",
                                "File",
                                "FileType",
                                "Forward",
                                "Gallery",
                                "Green",
                                "Help",
                                "HideApp",
                                "HideOthers",
                                "HistoryMode",
                                "InitialCoordinates",
                                "Iteration",
                                "MDL",
                                "Next",
                                "Open",
                                "PageSetup",
                                "Paste",
                                "Print",
                                "QuitApp",
                                "ReDrawing",
                                "Refer_URL",
                                "ResultOfBenchmark",
                                "Run",
                                "Save",
                                "ShowAll",
                                "Took_seconds",
                                "ZoomIn",
                                "ZoomOut"})
            QVERIFY2(!english.translate("Localizable", key).isEmpty(), key);
    }

    void tablesInstalled() {
        installTranslations(*QCoreApplication::instance());
        open();
        QCOMPARE(control->title(), QStringLiteral("Control"));
        QCOMPARE(control->actions().at(6)->text(), QString::fromUtf8("Zoom In ×2"));
        QCOMPARE(topMenu(*window, 0)->actions().at(6)->text(),
                 QStringLiteral("Quit Velquorantisphaeron"));
    }

    void germanTableSwitchesTitles() {
        QTranslator german;
        QVERIFY(german.load(QStringLiteral(":/i18n/velquorantisphaeron_de.qm")));
        QCoreApplication::installTranslator(&german);
        open();
        QCOMPARE(control->title(), QStringLiteral("Steuerung"));
        QCOMPARE(control->actions().at(3)->text(), QString::fromUtf8("Zurück"));
        QCOMPARE(view->PushButton->text(), QStringLiteral("Start"));
        // Back and Forward are found by their titles in every language.
        QVERIFY(!view->validateMenuItem(control->actions().at(3)));
        command(5);
        QVERIFY(view->validateMenuItem(control->actions().at(3)));
        QCoreApplication::removeTranslator(&german);
    }

    void menuPositionsAndTags() {
        open();
        QCOMPARE(tags(control), (QList<int>{0, 1, -999, 50, 51, -999, 2, -2, -999, 0, 0}));
        QCOMPARE(tags(view->menu_),
                 (QList<int>{0, 1, -999, 50, 51, -999, 2, -2, -999, 0, 0, -999, 0, 0, 0}));
        QCOMPARE(view->menu_->actions().at(12)->text(), QStringLiteral("Open…"));
        QCOMPARE(view->menu_->actions().at(14)->text(), QStringLiteral("Copy"));
        QCOMPARE(tags(view->menuIterations), (QList<int>{256, 512, 1024, 2048, 4096, 8192}));
        QCOMPARE(tags(view->menuZoomIn->menu()), (QList<int>{2, 5, 10, 20}));
        QCOMPARE(tags(view->menuZoomOut_->menu()), (QList<int>{-2, -5, -10, -20}));
        QCOMPARE(topMenu(*window, 4)->title(), QStringLiteral("Gallery"));
        QCOMPARE(topMenu(*window, 5)->actions().at(0)->text(),
                 QStringLiteral("Velquorantisphaeron Help"));
    }

    void galleryHoldsFiftyPresetsAndTheBenchmark() {
        open();
        QList<int> all;
        for (QAction* a : topMenu(*window, 4)->actions()) {
            if (a->menu() && a->text() == QStringLiteral("Next"))
                all << tags(a->menu());
            else if (!a->menu() && !a->isSeparator())
                all << a->property("tag").toInt();
        }
        QCOMPARE(all.size(), 50);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(all[i], 101 + i);
        QVERIFY(titles(topMenu(*window, 4)).contains(QStringLiteral("Benchmark")));
    }

    void everythingIsDisabledDuringARender() {
        open();
        command(5);
        view->status = 1;
        view->updateActions();
        for (QAction* a : view->viewActions)
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        view->status = 0;
        view->updateActions();
        QVERIFY(window->ui().actionSave->isEnabled());
        QVERIFY(!window->ui().actionForward->isEnabled());
        QVERIFY(window->ui().actionBack->isEnabled());
        QVERIFY(window->ui().actionBack_->isEnabled());
    }

    void backAndForwardFollowTheHistory() {
        open();
        QVERIFY(!window->ui().actionBack->isEnabled());
        QVERIFY(!window->ui().actionForward->isEnabled());
        command(5); // zoom in: a new view B
        const MANDAT b = view->Mandat0;
        command(50);
        QVERIFY(view->Mandat0 == kStartView);
        QVERIFY(window->ui().actionForward->isEnabled());
        command(51);
        QVERIFY(view->Mandat0 == b);
        QVERIFY(!window->ui().actionForward->isEnabled());
    }

    void zoomArithmeticAndTitles() {
        open();
        command(5);
        QCOMPARE(view->Mandat0.w, 0.4);
        QCOMPARE(view->Mandat0.x, 0.0);
        QCOMPARE(view->menuZoomIn->text(), QString::fromUtf8("Zoom In ×5"));
        QCOMPARE(view->menuZoomIn_->property("tag").toInt(), 5);
        view->runMandel({0, 0, 0.3, 1024, 0x782, 0}, 2);
        command(-5);
        QCOMPARE(view->Mandat0.w, 1.4999999999999998);
        QCOMPARE(view->menuZoomOut->property("tag").toInt(), -5);
    }

    void initialCoordinatesKeepTheColours() {
        open();
        view->runMandel({0.3, 0.2, 0.01, 4096, 0x711, 77}, 2);
        command(0);
        QVERIFY(view->Mandat0 == (MANDAT{0, 0, 2, 1024, 0x711, 77}));
    }

    void iterationLimitsMoveOneCheckMark() {
        open();
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{1024});
        command(2048);
        QCOMPARE(view->Mandat0.it, 2048);
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{2048});
        QCOMPARE(checkedTags(view->menuIterations_), QList<int>{2048});
        QCOMPARE(view->setIterations(3000), 4096);
        QCOMPARE(view->menuIterations->actions().size(), 6);
        QCOMPARE(view->setIterations(8193), 16384);
        QCOMPARE(titles(view->menuIterations).mid(6), (QStringList{"16384", "32768"}));
        QCOMPARE(titles(view->menuIterations_).mid(6), (QStringList{"16384", "32768"}));
        QCOMPARE(view->setIterations(40000), 32768);
        QCOMPARE(view->menuIterations->actions().size(), 8);
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{32768});
        QCOMPARE(checkedTags(view->menuIterations_), QList<int>{32768});
        QCOMPARE(view->setIterations(-5), 256);
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{256});
        // An added item is a command like the others.
        view->menuMandel(itemTagged(view->menuIterations_, 16384));
        QCOMPARE(view->Mandat0.it, 16384);
    }

    void galleryPresetSetsItsLimit() {
        open();
        QAction* preset = itemTagged(topMenu(*window, 4), 128);
        QVERIFY(preset);
        preset->trigger();
        QCOMPARE(view->Mandat0.it, 4096);
        QCOMPARE(view->Mandat0.cs, 0x241);
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{4096});
    }

    void unknownTagsDoNothing() {
        open();
        const MANDAT before = view->Mandat0;
        for (int tag : {3, 100, 151, 7, 300}) {
            QAction stray;
            stray.setProperty("tag", tag);
            view->menuMandel(&stray);
            QVERIFY(view->Mandat0 == before);
        }
        QVERIFY(!view->history.canGoBack());
    }

    void historyLogWritesViewsNotInTheRing() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        QDir(home.path()).mkdir(QStringLiteral("Desktop"));
        open();
        window->ui().menuHistmode_->trigger();
        QCOMPARE(view->history_mode, 1);
        QVERIFY(window->ui().menuHistmode->isChecked());
        command(5);  // leaves the start view: not yet in its slot, so it is logged
        command(1);  // redraw in place: the zoomed view is logged at once
        command(50); // back: the view left is in the ring now, nothing more
        QFile log(home.filePath(QStringLiteral("Desktop/history.mdl")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QCOMPARE(lines.size(), 3); // two lines and the empty rest after the last LF
        QVERIFY(lines[0].startsWith("0.00000000000000000000 0.00000000000000000000 "
                                    "2.00000000000000000000 1.33333333333333325932 1024 "
                                    "0x00000782 0\r"));
        QVERIFY(lines[1].contains(" 0.40000000000000002220 "));
        window->ui().menuHistmode->trigger();
        QCOMPARE(view->history_mode, 0);
        QVERIFY(!window->ui().menuHistmode_->isChecked());
    }

    void historyLogWithoutDesktopWritesNothing() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        open();
        window->ui().menuHistmode->trigger();
        command(5);
        QVERIFY(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QCOMPARE(view->Mandat0.w, 0.4); // the render went on
    }

    void selectionGeometry() {
        open();
        view->resizeMandel(window->pos(), QSize(640, 480), 1);
        const double w = view->Mandat0.w;
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(320, 240));
        QCOMPARE(view->mouse_on, 1);
        QTest::mouseMove(view, QPoint(368, 250)); // d = 48: the larger axis distance
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(368, 250));
        QCOMPARE(view->r1.width, 96.f);
        QCOMPARE(view->r1.x, 272.f);
        QCOMPARE(view->r1.y, 192.f);
        QCOMPARE(view->r2.width, 128.f);
        QCOMPARE(view->r2.height, 96.f);
        QCOMPARE(view->r2.x, 256.f);
        QCOMPARE(view->TextField_w->text().toDouble(), 0.2 * w);
        QCOMPARE(view->mouse_on, 0);
        view->pushButton(); // Run applies the selection
        QCOMPARE(view->Mandat0.w, 0.2 * w);
        QCOMPARE(view->r1.width, 0.f);
    }

    void smallMovesAndClicksKeepTheView() {
        open();
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(view->TextField_x->text() != QStringLiteral("0"));
        QTest::mouseMove(view, QPoint(12, 8));
        QCOMPARE(view->r1.width, 0.f);
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(12, 8));
        QCOMPARE(view->TextField_x->text(), QStringLiteral("0"));
        QCOMPARE(view->TextField_w->text(), QStringLiteral("2"));
        QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier, QPoint(50, 50));
        QCOMPARE(view->mouse_on, 2);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::AltModifier, QPoint(50, 50));
        QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier,
                          QPoint(50, 50));
        QCOMPARE(view->mouse_on, 3);
    }

    void keysOfTheOlderHostClass() {
        open(650.0); // a 10.2 host reads the keys itself
        QCOMPARE(view->osversion, 10.2);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_B);
        QVERIFY(view->Mandat0 == kStartView); // nothing to go back to
        QTest::keyClick(view, Qt::Key_Z);
        QCOMPARE(view->Mandat0.w, 1.0);
        QTest::keyClick(view, Qt::Key_Z, Qt::ShiftModifier);
        QCOMPARE(view->Mandat0.w, 2.0);
        QTest::keyClick(view, Qt::Key_B);
        QCOMPARE(view->Mandat0.w, 1.0);
        QTest::keyClick(view, Qt::Key_X);
        QCOMPARE(view->Mandat0.w, 1.0);
        view->status = 1; // during a render every command is disabled
        QTest::keyClick(view, Qt::Key_I);
        view->status = 0;
        QCOMPARE(view->Mandat0.w, 1.0);
    }

    void keysOfTheCurrentHostClassAreMenuKeys() {
        open();
        window->activateWindow();
        view->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(view, Qt::Key_Z);
        QCOMPARE(view->Mandat0.w, 1.0);
        QTest::keyClick(view, Qt::Key_B);
        QCOMPARE(view->Mandat0.w, 2.0);
        QTest::keyClick(view, Qt::Key_Z, Qt::ShiftModifier);
        QCOMPARE(view->Mandat0.w, 4.0);
        // Typing in a coordinate field is never taken for a command.
        view->TextField_x->setFocus();
        view->TextField_x->clear();
        QTest::keyClicks(view->TextField_x, QStringLiteral("zbri"));
        QCOMPARE(view->TextField_x->text(), QStringLiteral("zbri"));
        QCOMPARE(view->Mandat0.w, 4.0);
    }

    void helpAlertPointsAtTheManual() {
        open();
        QString title, message;
        view->setAlertHandler([&](const QString& t, const QString& m) {
            title = t;
            message = m;
        });
        window->ui().actionHelp->trigger();
        QCOMPARE(title, QStringLiteral("Help"));
        // The manual where the build installs it, not the home page of the PNG chunk.
        QVERIFY(message.contains(QString::fromUtf8(kManualAddress.data(),
                                                   static_cast<qsizetype>(kManualAddress.size()))));
        QVERIFY(message.contains(QStringLiteral("/manual.html")));
    }

    void benchmarkFramesAndTheirWidths() {
        open();
        command(5); // a history entry the benchmark must leave alone
        const MANDAT before = view->history.backTarget();
        const MANDAT start{-1.76860711170213, -0.00222919071832819, 5.0, 1024, 0x721, 591};
        QVERIFY(view->benchmark_sub(start, 3, 0.9f, 1) >= 0);
        const double factor = static_cast<double>(0.9f);
        QCOMPARE(view->Mandat0.w, 5.0 * factor * factor * factor);
        QCOMPARE(view->TextField_w->text().toDouble(), 5.0 * factor * factor);
        QCOMPARE(view->Mandat0.cp, 591);
        QCOMPARE(view->PushButtonCa->text(), QStringLiteral("a3"));
        QVERIFY(view->history.backTarget() == before);
    }

    void benchmarkAbortEndsWithoutAnAlert() {
        open();
        view->resizeMandel(window->pos(), QSize(480, 320), 1);
        int alerts = 0;
        view->setAlertHandler([&](const QString&, const QString&) { ++alerts; });
        view->benchmark(7); // no such sequence: nothing happens
        QCOMPARE(view->winx, 480);
        view->status_cancel = 0;
        QTimer::singleShot(0, view, [this] { view->pushButton(); }); // Abort in the first frame
        view->benchmark(2);
        QCOMPARE(alerts, 0);
        QCOMPARE(view->winx, 320);
        QCOMPARE(view->winy, 240);
        QCOMPARE(view->Mandat0.it, 1024);
        QCOMPARE(checkedTags(view->menuIterations), QList<int>{1024});
        QCOMPARE(view->status.load(), 0);
        QVERIFY(window->ui().actionRedraw->isEnabled());
    }

    void cleanup() { window.reset(); }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
