// Menus, limits, the history log, the mouse selection, the keys and the languages, offscreen.
#include "core/deep/deepview.h"
#include "gui/localization.h"
#include "gui/window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTranslator>
#include <functional>

using namespace velq;
using namespace velq::testing;

namespace {

// Titles, or with `tags` the tag of each item; "-" and -999 for separators.
QStringList titles(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}
QList<int> tags(const QMenu* menu, bool checkedOnly = false) {
    QList<int> out;
    for (const QAction* a : menu->actions())
        if (!checkedOnly || a->isChecked()) out << (a->isSeparator() ? -999 : tagOf(a));
    return out;
}

// The item with the tag in the menu or its submenus.
QAction* itemTagged(const QMenu* menu, int tag) {
    for (QAction* a : menu->actions()) {
        QAction* found = a->menu() ? itemTagged(a->menu(), tag) : a;
        if (found && !found->isSeparator() && tagOf(found) == tag) return found;
    }
    return nullptr;
}

} // namespace

class CommandsTest : public WindowTest {
    Q_OBJECT

    QMenu* topMenu(int position) { return w->ui().menubar->actions().at(position)->menu(); }
    QMenu* control() { return topMenu(2); }
    void command(int tag) {
        QAction* item = itemTagged(control(), tag);
        if (!item) item = itemTagged(topMenu(3), tag);
        QVERIFY2(item, qPrintable(QString::number(tag)));
        view->menuMandel(item);
    }

    // Every text the window shows in its menus, buttons and labels, separators left out;
    // literals that are no text of the tables (numbers, the colour buttons' names, sizes) too.
    QStringList visibleTexts() {
        QStringList out;
        const auto keep = [&out](const QString& text) {
            static const QRegularExpression literal(
                QStringLiteral(R"(^([0-9]*|[ab][1-4]|[RGB]|x|PNG( \( \d+ x \d+ \))?)$)"));
            if (!literal.match(text).hasMatch()) out << text;
        };
        std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
            // The contextual menu's own title is never shown: it sits in no bar or menu.
            if (!menu->menuAction()->associatedObjects().isEmpty()) keep(menu->title());
            for (const QAction* a : menu->actions())
                if (a->menu())
                    walk(a->menu());
                else if (!a->isSeparator())
                    keep(a->text());
        };
        walk(view->menus().outlets().menu_);
        for (QAction* top : w->ui().menubar->actions())
            walk(top->menu());
        for (QWidget* root :
             {static_cast<QWidget*>(w->main.get()), view->savePanel().savepanelview()}) {
            for (const QAbstractButton* button : root->findChildren<QAbstractButton*>())
                keep(button->text());
            for (const QLabel* label : root->findChildren<QLabel*>())
                keep(label->text());
        }
        return out;
    }

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true); // settings of their own, not the user's
        QSettings().clear();
    }
    void cleanup() { w.reset(); }

    void everyVisibleTextIsInEveryTable() {
        open(); // no table installed yet: every title shows its key
        QCOMPARE(titles(control()).mid(0, 5),
                 (QStringList{"InitialCoordinates", "ReDrawing", "-", "Back", "Forward"}));
        const QStringList keys = visibleTexts();
        QVERIFY(keys.contains(QStringLiteral("Seahorse valley, south")));
        for (const char* language : {"en", "de", "fr", "es"}) {
            QTranslator table;
            QVERIFY(table.load(QStringLiteral(":/i18n/velquorantisphaeron_%1.qm").arg(language)));
            for (const QString& key : keys) {
                const QByteArray k = key.toUtf8();
                QVERIFY2(!table.translate("Localizable", k).isEmpty() ||
                             !table.translate("Gallery", k).isEmpty(),
                         qPrintable(QStringLiteral("%1: %2").arg(language, key)));
            }
            // Every menu opens with one click: none hides behind the bar's overflow button.
            QCoreApplication::installTranslator(&table);
            open();
            const auto* overflow = w->ui().menubar->findChild<QWidget*>("qt_menubar_ext_button");
            QVERIFY2(overflow && !overflow->isVisible(), language);
            if (language == std::string_view("de"))
                QVERIFY(w->ui().menuFile->title() == "&Datei" &&
                        w->ui().PushButton->text() == "Start");
            QAction* back = control()->actions().at(3); // found by its title in every language
            QVERIFY2(!view->validateMenuItem(back), language);
            command(5);
            QVERIFY2(view->validateMenuItem(back), language);
            QCoreApplication::removeTranslator(&table);
        }
    }

    void menuPositionsRolesAndTags() {
        installTranslations(*QCoreApplication::instance());
        open();
        QStringList top;
        for (QAction* menu : w->ui().menubar->actions())
            top << menu->text();
        QCOMPARE(top, (QStringList{"&File", "&Edit", "&Control", "&Gallery", "&Window", "&Help"}));
        QCOMPARE(titles(w->ui().menuFile),
                 (QStringList{"&Open…", "Open &Recent", "&Save…", "Export &Movie…", "-", "&Quit"}));
        QCOMPARE(titles(w->ui().menuWindow), (QStringList{"&Zoom", "&Full Screen", "&Minimize"}));
        QCOMPARE(titles(w->ui().menuHelp), (QStringList{"&Manual", "&About Velquorantisphaeron"}));
        QCOMPARE(w->ui().actionAbout->menuRole(), QAction::AboutRole);
        QCOMPARE(w->ui().actionQuit->menuRole(), QAction::QuitRole);
        QCOMPARE(w->ui().actionFullScreen->shortcut(), QKeySequence(Qt::Key_F11));
        const QList<int> controlTags{0, 1, -999, 50, 51, -999, 2, -2, -999, 0, 0, 0};
        QCOMPARE(tags(control()), controlTags);
        QMenu* menu_ = view->menus().outlets().menu_; // the same, then the file commands
        QCOMPARE(tags(menu_), (controlTags + QList<int>{-999, 0, 0, 0}));
        QCOMPARE(titles(menu_).mid(11),
                 (QStringList{"&Deep Zoom", "-", "&Open…", "&Save…", "&Copy"}));
        QCOMPARE(tags(view->menus().outlets().menuIterations),
                 (QList<int>{256, 512, 1024, 2048, 4096, 8192}));
        QCOMPARE(tags(w->ui().menuZoomInSub), (QList<int>{2, 5, 10, 20}));
        QCOMPARE(tags(w->ui().menuZoomOutSub_), (QList<int>{-2, -5, -10, -20}));
        QCOMPARE(w->ui().actionBenchmark3->text(), QStringLiteral("Sequence &3"));
        // The first 25 places, then the rest under Next.
        QMenu* gallery = topMenu(3);
        for (int tag = 101; tag <= 150; ++tag) {
            QAction* item = itemTagged(gallery, tag);
            QVERIFY(item && (tag <= 125) == gallery->actions().contains(item));
        }
    }

    void commandsRenderTheirViews() {
        open();
        QVERIFY(!w->ui().actionBack->isEnabled() && !w->ui().actionForward->isEnabled());
        command(5);
        QCOMPARE(view->Mandat0().w, 0.4);
        QCOMPARE(view->menus().outlets().menuZoomIn->text(), QString::fromUtf8("Zoom &In ×5"));
        QCOMPARE(tagOf(view->menus().outlets().menuZoomIn_), 5);
        const MANDAT b = view->Mandat0();
        command(50);
        QVERIFY(view->Mandat0() == kStartView && w->ui().actionForward->isEnabled());
        command(51);
        QVERIFY(view->Mandat0() == b && !w->ui().actionForward->isEnabled());
        view->runMandel({0.3, 0.2, 0.3, 4096, 0x711, 77}, 2);
        command(-5);
        QCOMPARE(view->Mandat0().w, 1.4999999999999998);
        QCOMPARE(tagOf(view->menus().outlets().menuZoomOut), -5);
        view->runMandel({0.3, 0.2, 6e9, 4096, 0x711, 77}, 2);
        command(-20); // zooming out stops at 1e10
        QCOMPARE(view->Mandat0().w, 1e10);
        command(0); // the initial coordinates keep the colours
        QVERIFY(view->Mandat0() == (MANDAT{0, 0, 2, 1024, 0x711, 77}));
        command(128);
        QVERIFY(view->Mandat0().it == 4096 && view->Mandat0().cs == 0x241);
        const MANDAT before = view->Mandat0();
        for (int tag : {3, 100, 151, 7, 300}) {
            QAction stray;
            stray.setProperty("tag", tag);
            view->menuMandel(&stray);
        }
        QVERIFY(view->Mandat0() == before);
        duringTheNextRender(view, [this] {
            for (QAction* a : view->menus().viewActions())
                QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        });
        command(1);
        QVERIFY(w->ui().actionSave->isEnabled() && w->ui().actionBack_->isEnabled());
    }

    void deepZoomKeepsTheDepthAndItsRules() {
        open();
        QTemporaryDir dir;
        w->answer = dir.filePath("deep.mdl");
        QMenu* limits = view->menus().outlets().menuIterations;
        QVERIFY(!view->deepZoom() && limits->actions().size() == 6);
        w->ui().menuDeepZoom_->trigger(); // on: the limits up to 2^24 come, in both submenus
        QVERIFY(view->deepZoom() && w->ui().menuDeepZoom->isChecked());
        QCOMPARE(tags(view->menus().outlets().menuIterations_).constLast(), 16777216);
        QCOMPARE(view->setIterations(100000), 131072);
        const double y = view->Mandat0().y;
        w->ui().TextField_x->setText("-0.74364388703715870475219150611477411");
        w->ui().TextField_y->setText("1e400"); // beyond the doubles: the view's y stays
        w->ui().TextField_w->setText("1e-300");
        QTest::mouseClick(w->ui().PushButton, Qt::LeftButton);
        QVERIFY(view->Mandat0().deep && view->Mandat0().deep->w == ExtFloat::parse("1e-300"));
        QCOMPARE(view->Mandat0().y, y);
        QCOMPARE(w->ui().TextField_w->text(), QStringLiteral("1e-300"));
        QVERIFY(w->ui().TextField_x->text().startsWith("-0.74364388703715870475219150611477411"));
        command(2); // Zoom In halves the deep width exactly
        QVERIFY(view->Mandat0().deep->w == *ExtFloat::parse("1e-300") / 2.0);
        view->saveAsMDL(view->Mandat0(), w->answer);
        w->ui().menuDeepZoom->trigger(); // off: nothing renders until the next command
        QVERIFY(!view->deepZoom() && view->Mandat0().deep);
        command(1);
        QVERIFY(!view->Mandat0().deep && view->Mandat0().w == 1e-15);
        view->openfile(QUrl::fromLocalFile(w->answer)); // a deep view turns it on again
        QVERIFY(view->deepZoom() && view->Mandat0().deep);
        QVERIFY(view->Mandat0().deep->w == *ExtFloat::parse("1e-300") / 2.0);
    }

    // One check mark, at the same place in both submenus; limits past 8192 add their items.
    void iterationLimitsMoveOneCheckMark() {
        open();
        QMenu* main = view->menus().outlets().menuIterations;
        QMenu* twin = view->menus().outlets().menuIterations_;
        command(2048);
        QCOMPARE(view->Mandat0().it, 2048);
        // requested, the limit, the items in each submenu
        for (const auto& [requested, limit, items] :
             {std::tuple{0, 2048, 6}, {3000, 4096, 6}, {40000, 32768, 8}, {-5, 256, 8}}) {
            if (requested) QCOMPARE(view->setIterations(requested), limit);
            QVERIFY2(main->actions().size() == items && twin->actions().size() == items &&
                         tags(main, true) == QList<int>{limit} &&
                         tags(twin, true) == QList<int>{limit},
                     qPrintable(QString::number(requested)));
        }
        QCOMPARE(titles(twin).mid(6), (QStringList{"16384", "32768"}));
        view->menuMandel(twin->actions().at(6)); // an added item is a command like the others
        QCOMPARE(view->Mandat0().it, 16384);
    }

    void historyLogWritesViewsNotInTheRing() {
        QTemporaryDir home;
        qputenv("HOME", home.path().toUtf8());
        open();
        w->ui().menuHistmode_->trigger();
        command(5); // without a Desktop folder nothing is written, and the render goes on
        QCOMPARE(view->Mandat0().w, 0.4);
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
        QVERIFY(view->history().history_mode() == 1 && w->ui().menuHistmode->isChecked());
        command(5);  // leaves the view at 0.4: not yet in its slot, so it is logged
        command(1);  // redraw in place: the view at 0.08 is logged at once
        command(50); // back: the view left is in the ring now, nothing more
        // Two gestures of three notches: the second leaves the first's last view, logged once.
        for (int notch = 0; notch < 6; ++notch) {
            if (notch == 3) { // the first gesture ends in quiet, and its picture is done
                QTest::qWait(400);
                QTRY_VERIFY(view->settled() && view->driver().idle());
            }
            wheel(view, {160, 120}, 120);
        }
        QFile log(home.filePath(QStringLiteral("Desktop/history.mdl")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = log.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // three lines and the empty rest after the last LF
        QVERIFY(
            lines[0].contains(" 0.40000000000000002220 1.33333333333333325932 1024 0x00000782"));
        QVERIFY(lines[1].contains(" 0.08000000000000000167 "));
        QVERIFY(lines[2].contains(" 0.237841423000544") && lines[3].isEmpty()); // 0.4 / 2^0.75
        w->ui().menuHistmode->trigger();
        QVERIFY(view->history().history_mode() == 0 && !w->ui().menuHistmode_->isChecked());
    }

    void theMouseSelectsAndRunApplies() {
        open();
        view->resizeMandel(w->main->pos(), QSize(640, 480), 1);
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(320, 100));
        QCOMPARE(view->selection().mouse_on(), MouseOn::Selecting);
        QCOMPARE(w->ui().TextField_y->text().toDouble(), 140 * 2.0 / 240);
        QTest::mouseMove(view, QPoint(322, 98)); // under 3 units: no square yet
        QVERIFY(!view->selection().shown());
        QTest::mouseMove(view, QPoint(368, 110)); // d = 48: the larger axis distance
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(368, 110));
        QCOMPARE(view->selection().r1(), (RectF{272, 332, 96, 96}));
        QCOMPARE(w->ui().TextField_w->text().toDouble(), 0.4);
        QCOMPARE(view->selection().mouse_on(), MouseOn::None);
        view->pushButton(); // Run applies the selection
        QVERIFY(view->Mandat0().w == 0.4 && view->Mandat0().y == 140 * 2.0 / 240);
        QVERIFY(!view->selection().shown());
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10)); // a click shows the view
        QCOMPARE(w->ui().TextField_y->text().toDouble(), view->Mandat0().y);
        QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier | Qt::ShiftModifier, {});
        QCOMPARE(view->selection().mouse_on(), MouseOn::DragHalf);
    }

    void keysOfBothHostClasses() {
        open({.toolkitVersion = 650.0}); // a 10.2 host reads the keys itself
        QCOMPARE(view->osversion(), 10.2);
        view->setFocus();
        for (const auto& [key, mods, w] : {std::tuple{Qt::Key_B, Qt::NoModifier, 2.0},
                                           {Qt::Key_Z, Qt::NoModifier, 1.0},
                                           {Qt::Key_Z, Qt::ShiftModifier, 2.0},
                                           {Qt::Key_B, Qt::NoModifier, 1.0},
                                           {Qt::Key_X, Qt::NoModifier, 1.0}}) {
            QTest::keyClick(view, key, mods);
            QCOMPARE(view->Mandat0().w, w);
        }
        open(); // here they are the menus' shortcuts, and typing in a field stays typing
        QVERIFY(QTest::qWaitForWindowActive(w->main.get()));
        view->setFocus();
        for (const auto mods : {Qt::NoModifier, Qt::ShiftModifier, Qt::ShiftModifier})
            QTest::keyClick(view, Qt::Key_Z, mods);
        QCOMPARE(view->Mandat0().w, 4.0);
        w->ui().TextField_x->setFocus();
        w->ui().TextField_x->clear();
        QTest::keyClicks(w->ui().TextField_x, QStringLiteral("zbri"));
        QCOMPARE(w->ui().TextField_x->text(), QStringLiteral("zbri"));
        QCOMPARE(view->Mandat0().w, 4.0);
    }

    void helpOpensTheManual() {
        QList<QUrl> opened;
        open({.openUrl = [&opened](const QUrl& url) {
            opened << url;
            return true;
        }});
        QVERIFY(QTest::qWaitForWindowActive(w->main.get()));
        QTest::keyClick(view, Qt::Key_F1);
        QCOMPARE(opened.size(), 1);
        // After a build the manual is the one in the build tree.
        QVERIFY2(QFileInfo::exists(opened[0].toLocalFile()), qPrintable(opened[0].toString()));
        QVERIFY(opened[0].path().endsWith(QStringLiteral("/manual.html")));
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
