#include "ControllerFixture.h"

#include "controllers/RefreshTicks.h"
#include "controllers/Schedule.h"
#include "platform/ScreenFill.h"

#include <QAction>
#include <QLocale>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// Three sites with their own values in [Sites] and any [Settings] values.
void StoreThreeSites(const QMap<QString, QString>& sites, const QMap<QString, QString>& settings = {})
{
    StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"}, settings);
    QSettings stored(ConfigFile(), QSettings::IniFormat);
    for (auto it = sites.begin(); it != sites.end(); ++it)
        stored.setValue("Sites/" + it.key(), it.value());
}

// The shown site after each of `ticks` timer ticks.
QList<int> ShownAfterTicks(TMain& main, int ticks)
{
    QList<int> shown;
    for (int i = 0; i < ticks; ++i) {
        main->TimerTick();
        shown.append(main->CurrentIndex());
    }
    return shown;
}

} // namespace

class TestWallScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        RemoveConfig();
        TFakeWebBrowser::Journal().clear();
    }

    void ownCycleTimes_data()
    {
        QTest::addColumn<QString>("cycleTimes");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("the global interval") << "" << QList<int>{0, 1, 1, 2, 2, 0};
        QTest::newRow("each its own") << "1,3," << QList<int>{1, 1, 1, 2, 2, 0};
        QTest::newRow("a site of 0 is skipped") << ",0," << QList<int>{0, 2, 2, 0, 0, 2};
        QTest::newRow("all 0: nothing moves") << "0,0,0" << QList<int>{0, 0, 0, 0, 0, 0};
    }
    void ownCycleTimes()
    {
        QFETCH(QString, cycleTimes);
        StoreThreeSites({{"CycleTimes", cycleTimes}}, {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "2"}});
        TMain main;
        QTEST(ShownAfterTicks(main, 6), "shown");
    }

    void ownRefreshTimes_data()
    {
        QTest::addColumn<QString>("refreshTimes");
        QTest::addColumn<QList<int>>("refreshes");
        QTest::newRow("the global interval") << "" << QList<int>{3, 3, 3};
        QTest::newRow("each its own") << "1,3," << QList<int>{6, 2, 3};
        QTest::newRow("0 never") << "0,,0" << QList<int>{0, 3, 0};
    }
    void ownRefreshTimes()
    {
        QFETCH(QString, refreshTimes);
        QFETCH(QList<int>, refreshes);
        StoreThreeSites({{"RefreshTimes", refreshTimes}}, {{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "2"}});
        TMain main;
        for (int i = 0; i < 6; ++i)
            main->TimerTick();
        for (int site = 0; site < 3; ++site)
            QCOMPARE(int(main.Page(site)->Calls.count("Refresh2")), refreshes.at(site));
    }

    // Input in the window holds the cycle back for the pause; refreshing goes on regardless.
    void cyclingPausesWhileInUse_data()
    {
        QTest::addColumn<QString>("pause");
        QTest::addColumn<QList<int>>("shown");
        QTest::newRow("default 30 s") << "" << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("3 s") << "3" << QList<int>{0, 0, 1, 2, 0, 1};
        QTest::newRow("0: never waits") << "0" << QList<int>{1, 2, 0, 1, 2, 0};
    }
    void cyclingPausesWhileInUse()
    {
        QFETCH(QString, pause);
        QMap<QString, QString> settings{{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"},
                                        {"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "1"}};
        if (!pause.isEmpty())
            settings.insert("TimerCyclePause", pause);
        StoreThreeSites({}, settings);
        TMain main;
        QTest::keyClick(main.Form()->edtAddress, Qt::Key_Shift);
        QTEST(ShownAfterTicks(main, 6), "shown");
        QCOMPARE(int(main.Page(0)->Calls.count("Refresh2")), 6);
    }

    // Weekly windows of local time; 2026-12-07 is a Monday.
    void scheduleWindows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("at");
        QTest::addColumn<bool>("open");
        QTest::newRow("empty: always") << "" << "2026-12-13 03:00" << true;
        QTest::newRow("in a weekday range") << "Mon-Fri 08:00-18:00" << "2026-12-09 12:00" << true;
        QTest::newRow("its end is outside") << "Mon-Fri 08:00-18:00" << "2026-12-09 18:00" << false;
        QTest::newRow("outside the range's days") << "Mon-Fri 08:00-18:00" << "2026-12-12 12:00" << false;
        QTest::newRow("a range over the weekend") << "Fri-Mon 08:00-18:00" << "2026-12-13 09:00" << true;
        QTest::newRow("a list of days") << "Sat,Sun 10:00-14:00" << "2026-12-13 13:59" << true;
        QTest::newRow("past midnight, the evening") << "Fri 22:00-06:00" << "2026-12-11 23:30" << true;
        QTest::newRow("past midnight, the next morning") << "Fri 22:00-06:00" << "2026-12-12 05:59" << true;
        QTest::newRow("past midnight, the morning before") << "Fri 22:00-06:00" << "2026-12-11 05:00" << false;
        QTest::newRow("Sunday night into Monday") << "Sun 22:00-06:00" << "2026-12-07 01:00" << true;
        QTest::newRow("until 24:00") << "Wed 20:00-24:00" << "2026-12-09 23:59" << true;
        QTest::newRow("a whole day") << "Wed 00:00-00:00" << "2026-12-09 17:00" << true;
        QTest::newRow("the second of two windows") << "Mon 08:00-09:00; Wed 17:00-18:00" << "2026-12-09 17:30" << true;
        QTest::newRow("unreadable: always") << "Mon 8-9" << "2026-12-13 03:00" << true;
    }
    void scheduleWindows()
    {
        QFETCH(QString, entry);
        QFETCH(QString, at);
        QTEST(TSchedule::Of(entry).IsOpen(QDateTime::fromString(at, "yyyy-MM-dd HH:mm")), "open");
    }

    void unreadableSchedules_data()
    {
        QTest::addColumn<QString>("entry");
        for (const char* entry : {"Mon 8-9", "Mon", "Mon-Fri-Sat 08:00-09:00", "Monday 08:00-09:00", "Mon 08:00-25:00",
                                  "Mon 08:60-09:00", "Mon 24:00-01:00", "Mon 08:00-09:00;", "mon 08:00-09:00"})
            QTest::newRow(entry) << QString(entry);
    }
    void unreadableSchedules()
    {
        QFETCH(QString, entry);
        QVERIFY(!TSchedule::Parse(entry));
    }

    // Outside its schedule a site is not cycled to nor refreshed by the timer; the shown
    // site's closing moves the cycle on at once; by hand every site is still reachable.
    void sitesOnASchedule()
    {
        StoreThreeSites({{"Schedules", ",\"Mon 08:00-09:00\",\"Mon 10:00-11:00\""}},
                        {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "100"}, {"TimerCyclePause", "0"},
                         {"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "1"}});
        TMain main;
        QDateTime now = QDateTime::fromString("2026-12-07 08:30", "yyyy-MM-dd HH:mm");
        main->Clock = [&now] { return now; };
        main->SelectPage(1);
        main->TimerTick();
        QCOMPARE(main->CurrentIndex(), 1);
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 1);
        QCOMPARE(int(main.Page(2)->Calls.count("Refresh2")), 0);
        now = now.addSecs(3600);
        main->TimerTick();
        QCOMPARE(main->CurrentIndex(), 0);
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 1);
        main->SelectPage(2);
        QCOMPARE(main->CurrentIndex(), 2);
        now = now.addSecs(1800);
        for (int i = 0; i < 3; ++i)
            main->TimerTick();
        QCOMPARE(main->CurrentIndex(), 2);
        QCOMPARE(int(main.Page(2)->Calls.count("Refresh2")), 3);
    }

    // The screen goes by its schedule at each edge; off, the window is black, its pages are
    // hidden and the automations wait; a key turns it on until the next edge.
    void screenFollowsItsSchedule()
    {
        StoreThreeSites({}, {{"ScreenSchedule", "Mon-Fri 07:00-19:00"}, {"TimerCycleEnabled", "1"},
                             {"TimerCycleInterval", "1"}, {"TimerCyclePause", "0"}});
        TMain main;
        QDateTime now = QDateTime::fromString("2026-12-07 12:00", "yyyy-MM-dd HH:mm");
        main->Clock = [&now] { return now; };
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        main->ScreenPower.Tick();
        QVERIFY(main->ScreenPower.IsOn());
        now = now.addSecs(8 * 3600);
        main->ScreenPower.Tick();
        QVERIFY(!main->ScreenPower.IsOn());
        auto* cover = main.Form()->findChild<QWidget*>("ScreenOff");
        QVERIFY(cover && cover->isVisible());
        QCOMPARE(cover->geometry(), main.Form()->rect());
        QVERIFY(!main.Page(0)->isVisible());
        QCOMPARE(ShownAfterTicks(main, 3), (QList<int>{0, 0, 0}));

        QTest::keyClick(main.Form()->windowHandle(), Qt::Key_N);
        QVERIFY(main->ScreenPower.IsOn());
        QVERIFY(!cover->isVisible());
        QVERIFY(main.Page(0)->isVisible());
        QCOMPARE(main->CurrentIndex(), 0);
        now = now.addSecs(600);
        main->ScreenPower.Tick();
        QVERIFY(main->ScreenPower.IsOn());
        QCOMPARE(ShownAfterTicks(main, 2), (QList<int>{1, 2}));
        // Tuesday morning opens the schedule, the evening closes it again.
        now = now.addSecs(11 * 3600);
        main->ScreenPower.Tick();
        QVERIFY(main->ScreenPower.IsOn());
        main->ScreenPower.Set(false);
        now = now.addSecs(5 * 3600);
        main->ScreenPower.Tick();
        QVERIFY(!main->ScreenPower.IsOn());
        now = now.addSecs(7 * 3600);
        main->ScreenPower.Tick();
        QVERIFY(!main->ScreenPower.IsOn());
        now = now.addSecs(12 * 3600);
        main->ScreenPower.Tick();
        QVERIFY(main->ScreenPower.IsOn());
    }

    // A screen off from the start wakes with the keys in the shown page, not in the address field.
    void aScreenOffFromTheStartWakesIntoThePage()
    {
        const QString closedDay = QLocale::c().dayName(QDate::currentDate().addDays(3).dayOfWeek(), QLocale::ShortFormat);
        StoreThreeSites({}, {{"ScreenSchedule", closedDay + " 00:00-00:00"}});
        TMain main;
        QVERIFY(!main->ScreenPower.IsOn());
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowActive(main.Form()));
        QTest::keyClick(main.Form()->windowHandle(), Qt::Key_N);
        QVERIFY(main->ScreenPower.IsOn());
        QCOMPARE(QApplication::focusWidget(), main.Page(0));
    }

    // Each page gets its site's scrolling pace; the shown one holds while the window is in use
    // and goes on once the input has rested for the pause.
    void longPagesScrollUnlessInUse()
    {
        StoreThreeSites({{"Scrolls", "30,,x"}}, {{"TimerCyclePause", "1"}});
        TMain main;
        QCOMPARE(main.Page(0)->ScrollTime, 30);
        QCOMPARE(main.Page(1)->ScrollTime, 0);
        QCOMPARE(main.Page(2)->ScrollTime, 0);
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
        QTest::keyClick(main.Form()->windowHandle(), Qt::Key_Shift);
        QVERIFY(main.Page(0)->ScrollPaused);
        QTRY_VERIFY_WITH_TIMEOUT(!main.Page(0)->ScrollPaused, 10000);
        QVERIFY(!main.Page(1)->ScrollPaused);
    }

    void refreshWaitsForTypingToRest()
    {
        TRefreshTicks ticks;
        ticks.Resize(2);
        ticks.Typed(1);
        const auto everySecond = [](int) { return std::optional<int>(1); };
        QCOMPARE(ticks.Tick(everySecond), QList<int>{0});
        for (int second = 2; second < TRefreshTicks::TypingRest; ++second)
            QCOMPARE(ticks.Tick(everySecond), QList<int>{0});
        QVERIFY(ticks.TypedRecently(1));
        QCOMPARE(ticks.Tick(everySecond), (QList<int>{0, 1}));
        QVERIFY(!ticks.TypedRecently(1));
    }

    void automaticRefreshSkipsAPageBeingTypedInto()
    {
        StoreThreeSites({}, {{"TimerRefreshEnabled", "1"}, {"TimerRefreshInterval", "1"}});
        TMain main;
        QTest::keyClick(main.Page(1)->Application(), Qt::Key_A);
        for (int second = 1; second < TRefreshTicks::TypingRest; ++second)
            main->TimerTick();
        QCOMPARE(int(main.Page(0)->Calls.count("Refresh2")), TRefreshTicks::TypingRest - 1);
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 0);
        main->TimerTick();
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 1);
        // The user's own refresh does not wait.
        QTest::keyClick(main.Page(0)->Application(), Qt::Key_A);
        main->BrowserButtonClick(main.Form()->tbRefresh);
        QCOMPARE(int(main.Page(0)->Calls.count("Refresh2")), TRefreshTicks::TypingRest + 1);
    }

    // A hidden page whose renderer grew past the ceiling is reloaded; the shown one never is.
    void hiddenPagesPastTheMemoryCeilingReload()
    {
        StoreThreeSites({});
        TMain main;
        main->SelectPage(1);
        const qint64 gigabyte = qint64(1) << 30;
        main.Page(0)->Memory = 2 * gigabyte;
        main.Page(1)->Memory = 2 * gigabyte;
        main.Page(2)->Memory = gigabyte / 2;
        main->MemoryCeiling.Check();
        QCOMPARE(int(main.Page(0)->Calls.count("Refresh2")), 1);
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 0);
        QCOMPARE(int(main.Page(2)->Calls.count("Refresh2")), 0);
    }

    void removingASiteTakesItsValuesAlong()
    {
        StoreThreeSites({{"CycleTimes", "1,2,3"}, {"Zooms", "110,125,150"}});
        TMain main;
        main->SelectPage(1);
        main.Form()->miRemoveSite->trigger();
        QCOMPARE(main.Settings()->CycleTimes, (QStringList{"1", "3"}));
        QCOMPARE(main.Settings()->Zooms, (QStringList{"110", "150"}));
        main.Form()->miAddSite->trigger();
        QCOMPARE(main.Settings()->CycleTimes, (QStringList{"1", "3", ""}));
    }

    void zoomBelongsToTheSite_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("in") << "ZoomInAction" << 150 << QStringList{"", "150", ""};
        QTest::newRow("out") << "ZoomOutAction" << 110 << QStringList{"", "110", ""};
        QTest::newRow("back to 100") << "ZoomResetAction" << 100 << QStringList{"", "", ""};
        QTest::newRow("wheel up") << "wheel 240" << 175 << QStringList{"", "175", ""};
        QTest::newRow("wheel down") << "wheel -120" << 110 << QStringList{"", "110", ""};
    }
    void zoomBelongsToTheSite()
    {
        QFETCH(QString, action);
        StoreThreeSites({{"Zooms", ",125,"}});
        TMain main;
        QCOMPARE(main.Page(1)->Zoom, 125);
        QCOMPARE(main.Page(0)->Zoom, 100);
        main->SelectPage(1);
        if (action.startsWith("wheel")) {
            QWidget* inner = main.Page(1)->Application();
            QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, action.mid(6).toInt()), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(inner, &wheel);
        } else {
            main.Form()->findChild<QAction*>(action)->trigger();
        }
        QTEST(main.Page(1)->Zoom, "zoom");
        QTEST(main.Settings()->Zooms, "stored");
        QCOMPARE(main.Page(0)->Zoom, 100);
        QVERIFY(!main.Page(1)->Calls.contains("Refresh2"));
    }

    // Browser keys with the focus in a page: they pick sites and command the shown page, and
    // cycling goes on from the site they picked.
    void keysWithTheFocusInAPage_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("call");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("Ctrl+Tab") << 0 << int(Qt::Key_Tab) << ctrl << 1 << "";
        QTest::newRow("Ctrl+PgDn wraps") << 2 << int(Qt::Key_PageDown) << ctrl << 0 << "";
        QTest::newRow("Ctrl+Shift+Tab wraps") << 0 << int(Qt::Key_Backtab) << (ctrl | int(Qt::ShiftModifier)) << 2 << "";
        QTest::newRow("Ctrl+PgUp") << 1 << int(Qt::Key_PageUp) << ctrl << 0 << "";
        QTest::newRow("Ctrl+2") << 0 << int(Qt::Key_2) << ctrl << 1 << "";
        QTest::newRow("Ctrl+9 the last") << 0 << int(Qt::Key_9) << ctrl << 2 << "";
        QTest::newRow("Ctrl+5 past the last") << 1 << int(Qt::Key_5) << ctrl << 1 << "";
        QTest::newRow("F5") << 1 << int(Qt::Key_F5) << 0 << 1 << "Refresh2";
        QTest::newRow("Alt+Left") << 1 << int(Qt::Key_Left) << int(Qt::AltModifier) << 1 << "GoBack";
        QTest::newRow("Alt+Right") << 1 << int(Qt::Key_Right) << int(Qt::AltModifier) << 1 << "GoForward";
        QTest::newRow("Alt+Home") << 1 << int(Qt::Key_Home) << int(Qt::AltModifier) << 1 << "Navigate http://two/";
    }
    void keysWithTheFocusInAPage()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, shown);
        QFETCH(QString, call);
        StoreThreeSites({}, {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}, {"TimerCyclePause", "0"}});
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowActive(main.Form()));
        main->SelectPage(from);
        QWidget* inner = main.Page(from)->Application();
        inner->setFocusPolicy(Qt::StrongFocus);
        inner->setFocus();
        main.Page(from)->Calls.clear();
        QTest::keyClick(inner, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(main->CurrentIndex(), shown);
        if (!call.isEmpty())
            QCOMPARE(main.Page(from)->Calls.value(0), call);
        main->TimerTick();
        QCOMPARE(main->CurrentIndex(), (shown + 1) % 3);
    }

    // The selector in the tab order: arrows pick the tab beside, Shift+F10 opens the shown
    // site's menu.
    void selectorFromTheKeyboard()
    {
        StoreThreeSites({});
        TMain main;
        main.Form()->show();
        QVERIFY(QTest::qWaitForWindowActive(main.Form()));
        TTabControl* selector = main.Selector();
        QCOMPARE(selector->focusPolicy(), Qt::TabFocus);
        selector->setFocus();
        QTest::keyClick(selector, Qt::Key_Right);
        QTest::keyClick(selector, Qt::Key_Right);
        QTest::keyClick(selector, Qt::Key_Right);
        QCOMPARE(main->CurrentIndex(), 2);
        QVERIFY(selector->IsAligned(main.Page(2)));
        QTest::keyClick(selector, Qt::Key_Left);
        QCOMPARE(main->CurrentIndex(), 1);
        main->HoverTabIndex = 0;
        QTest::keyClick(selector, Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(main.Form()->popTabMenu->isVisible());
        QCOMPARE(main->CurrentIndex(), 1);
        main.Form()->popTabMenu->close();
    }

    // The window's own keys are never the page's: they work with the focus in a page.
    void programKeysPassThePage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("full screen") << int(Qt::Key_F11) << int(Qt::NoModifier);
        QTest::newRow("zoom in") << int(Qt::Key_Plus) << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("zoom in, keypad") << int(Qt::Key_Plus) << int(Qt::ControlModifier | Qt::KeypadModifier);
        QTest::newRow("zoom out") << int(Qt::Key_Minus) << int(Qt::ControlModifier);
        QTest::newRow("zoom reset") << int(Qt::Key_0) << int(Qt::ControlModifier);
        QTest::newRow("next site") << int(Qt::Key_Tab) << int(Qt::ControlModifier);
        QTest::newRow("previous site") << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("a site by number") << int(Qt::Key_3) << int(Qt::ControlModifier);
        QTest::newRow("refresh") << int(Qt::Key_F5) << int(Qt::NoModifier);
    }
    void programKeysPassThePage()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        StoreThreeSites({});
        TMain main;
        QWidget inner(main.Page(0));
        QKeyEvent event(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
        event.ignore();
        QVERIFY(!main->ApplicationMessage(&inner, &event));
    }

    void fullScreenShowsThePageAlone()
    {
        StoreThreeSites({}, {{"AddressBar", "2"}});
        {
            TMain main;
            TfrmMain* form = main.Form();
            form->show();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            QVERIFY(!main->MainForm->MainMenuAction->isEnabled());
            QTest::keyClick(form, Qt::Key_F11);
            QTRY_VERIFY(form->isFullScreen());
            QVERIFY(!form->Panel1->isVisible());
            QVERIFY(!form->pnlAddressBar->isVisible());
            QVERIFY(!main.Selector()->TabsVisible());
            QTRY_COMPARE(main.Page(0)->size(), form->size());
            QVERIFY(form->MainMenuAction->isEnabled());
            // The pointer hides once it rests, and comes back as it moves.
            QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                                         : Qt::ArrowCursor,
                                      Qt::BlankCursor, 10000);
            QTest::mouseMove(main.Page(0), QPoint(20, 20));
            QTRY_VERIFY(!QGuiApplication::overrideCursor());
            QTest::keyClick(form, Qt::Key_F11);
            QTRY_VERIFY(!form->isFullScreen());
            QVERIFY(form->Panel1->isVisible());
            QVERIFY(form->pnlAddressBar->isVisible());
            QVERIFY(main.Selector()->TabsVisible());
            QTest::keyClick(form, Qt::Key_F11);
            QTRY_VERIFY(form->isFullScreen());
        }
        QCOMPARE(QSettings(ConfigFile(), QSettings::IniFormat).value("Settings/FullScreen").toString(), QStringLiteral("1"));
        TMain again;
        QVERIFY(again.Form()->windowState().testFlag(Qt::WindowFullScreen));
        QVERIFY(!again.Selector()->TabsVisible());
    }

    // A bare X session has nobody to act on the full-screen request: the window covers its
    // screen itself, from the start too, and F11 gives back its size and place.
    void fullScreenWithoutAWindowManager()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || HasWindowManager())
            QSKIP("Needs an X display without a window manager (the suite's Xvfb run).");
        StoreThreeSites({});
        {
            TMain main;
            TfrmMain* form = main.Form();
            form->show();
            // With no window manager nobody gives the window the focus.
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
            const QRect normal = form->geometry();
            QVERIFY(normal != form->screen()->geometry());
            QTest::keyClick(form, Qt::Key_F11);
            QTRY_COMPARE(form->geometry(), form->screen()->geometry());
            QTRY_COMPARE(main.Page(0)->size(), form->size());
            QTest::keyClick(form, Qt::Key_F11);
            QTRY_COMPARE(form->geometry(), normal);
            QTest::keyClick(form, Qt::Key_F11);
        }
        TMain again;
        again.Form()->show();
        QVERIFY(QTest::qWaitForWindowExposed(again.Form()));
        QTRY_COMPARE(again.Form()->geometry(), again.Form()->screen()->geometry());
    }

    // With no window manager the window takes the keyboard itself: a key pressed on the
    // display, not sent to the window, reaches it, also after a dialog of its own has closed;
    // Ctrl let go in the dialog does not leave the toolbar saying "Home all".
    void keysReachTheWindowWithoutAWindowManager()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || HasWindowManager())
            QSKIP("Needs an X display without a window manager (the suite's Xvfb run).");
        StoreThreeSites({});
        TMain main;
        TfrmMain* form = main.Form();
        form->show();
        QTRY_COMPARE(QGuiApplication::focusWindow(), form->windowHandle());
        QCOMPARE(QProcess::execute("xdotool", {"key", "ctrl+Tab"}), 0);
        QTRY_COMPARE(main->CurrentIndex(), 1);
        QCOMPARE(QProcess::execute("xdotool", {"keydown", "ctrl"}), 0);
        QTRY_COMPARE(form->tbHome->text().trimmed(), QStringLiteral("Home all"));
        {
            QDialog dialog(form);
            dialog.show();
            QTRY_COMPARE(QGuiApplication::focusWindow(), dialog.windowHandle());
            QCOMPARE(QProcess::execute("xdotool", {"keyup", "ctrl"}), 0);
            QTRY_COMPARE(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
        }
        QTRY_COMPARE(QGuiApplication::focusWindow(), form->windowHandle());
        QTRY_COMPARE(form->tbHome->text(), QStringLiteral("Home"));
        QCOMPARE(QProcess::execute("xdotool", {"key", "ctrl+Tab"}), 0);
        QTRY_COMPARE(main->CurrentIndex(), 2);
    }

    // A Wayland compositor is asked for full screen and gives it; asked again, it gives the
    // window its size back. (Weston's headless backend has no keyboard: the key is the action.)
    void fullScreenOnWayland()
    {
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            QSKIP("Needs a Wayland display (the suite's Weston run).");
        StoreThreeSites({});
        TMain main;
        TfrmMain* form = main.Form();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        const QSize normal = form->size();
        form->FullScreenAction->trigger();
        QTRY_VERIFY(form->windowHandle()->windowStates() & Qt::WindowFullScreen);
        QTRY_COMPARE(form->size(), form->screen()->size());
        QTRY_COMPARE(main.Page(0)->size(), form->size());
        form->FullScreenAction->trigger();
        QTRY_COMPARE(form->size(), normal);
    }

    // The tab menu takes back the trust in a site's certificate, unless the administrator
    // keeps the list.
    void aTrustedCertificateIsTakenBack_data()
    {
        QTest::addColumn<QByteArray>("system");
        QTest::addColumn<bool>("offered");
        QTest::newRow("the user's own list") << QByteArray() << true;
        QTest::newRow("the administrator's") << QByteArray("[Certificates]\nLocked=true\n") << false;
    }
    void aTrustedCertificateIsTakenBack()
    {
        QFETCH(QByteArray, system);
        QFETCH(bool, offered);
        const QString entry = "two:443 " + QString(64, QLatin1Char('A'));
        StoreSites({"One", "Two"}, {"https://one/", "https://two/"});
        QSettings(ConfigFile(), QSettings::IniFormat).setValue("Certificates/Trusted", "\"" + entry + "\"");
        WriteSystemConfig(system.isEmpty() ? QByteArray() : system + "Trusted=\"" + entry.toLatin1() + "\"\n");
        TMain main;
        QMenu* menu = main.Form()->popTabMenu;
        main->HoverTabIndex = 0;
        Q_EMIT menu->aboutToShow();
        QVERIFY(!main.Form()->miForgetCertificate->isEnabled());
        main->HoverTabIndex = 1;
        Q_EMIT menu->aboutToShow();
        QCOMPARE(main.Form()->miForgetCertificate->isEnabled(), offered);
        if (!offered)
            return;
        main.Form()->miForgetCertificate->trigger();
        QCOMPARE(main.Settings()->TrustedCertificates, QStringList());
    }

    // An administrator's lock on the site list turns off the commands that would change it.
    void lockedSitesCannotBeChanged()
    {
        StoreThreeSites({});
        WriteSystemConfig("[Sites]\nTitles=New\nUrls=http://admin/\nLocked=true\n");
        {
            TMain main;
            QCOMPARE(main.Settings()->Titles, QStringList{"New"});
            for (QAction* item : {main.Form()->miAddSite, main.Form()->miRemoveSite, main.Form()->miUpdateHome,
                                  main.Form()->miUpdateTitle})
                QVERIFY(!item->isEnabled());
            QVERIFY(main.Form()->miCopyURL->isEnabled());
            // A site still called New is not renamed after its page either.
            main.Page(0)->Load("http://admin/", "Admin page");
            QCOMPARE(main.Settings()->Titles, QStringList{"New"});
        }
    }
};

ORVANTA_TEST_MAIN(TestWallScreen)
#include "tst_wallscreen.moc"
