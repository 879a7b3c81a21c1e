#include "ControllerFixture.h"

#include "views/ViewOverview.h"
#include "views/ViewScreen.h"

#include <QToolButton>

#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <QSettings>
#include <qpa/qplatformnativeinterface.h>

namespace {

void StoreNumberedSites(int count, const QMap<QString, QString>& sites, const QMap<QString, QString>& settings)
{
    QStringList titles;
    QStringList urls;
    for (int i = 0; i < count; ++i) {
        titles << QStringLiteral("Site%1").arg(i);
        urls << QStringLiteral("http://site%1/").arg(i);
    }
    StoreSites(titles, urls, settings);
    QSettings stored(ConfigFile(), QSettings::IniFormat);
    for (auto it = sites.begin(); it != sites.end(); ++it)
        stored.setValue("Sites/" + it.key(), it.value());
}

// The main window on the screen, with its pages laid out.
void Show(TMain& main)
{
    main.Form()->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.Form()));
}

// The sites whose pages can be seen, in order.
QList<int> Seen(TMain& main)
{
    QList<int> seen;
    for (int i = 0; TFakeWebBrowser* page = main.Page(i); ++i) {
        if (page->height() > 0)
            seen.append(i);
    }
    return seen;
}

// The offscreen platform's screens, as its configuration names them; the others are unplugged.
void KeepScreens(const QStringList& names)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    using TGet = QJsonObject (*)(QPlatformNativeInterface*);
    using TSet = void (*)(QJsonObject, QPlatformNativeInterface*);
    static const QJsonObject initial = reinterpret_cast<TGet>(native->nativeResourceForIntegration("configuration"))(native);
    QJsonObject configuration = initial;
    QJsonArray screens;
    for (const QJsonValue& screen : initial.value("screens").toArray()) {
        if (names.contains(screen.toObject().value("name").toString()))
            screens.append(screen);
    }
    configuration.insert("screens", screens);
    reinterpret_cast<TSet>(native->nativeResourceForIntegration("setConfiguration"))(configuration, native);
}

QString ScreenOfPage(TMain& main, int site)
{
    auto* window = qobject_cast<TfrmScreen*>(main.Page(site)->window());
    return window ? window->screen()->name() : QStringLiteral("main");
}

} // namespace

class TestScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        RemoveConfig();
        KeepScreens({"DP-1", "HDMI-1", "HDMI-2"});
    }

    void tilesShowAGroupAtATime_data()
    {
        QTest::addColumn<QString>("tiles");
        QTest::addColumn<QList<QList<int>>>("groups");
        QTest::newRow("2x2") << "2x2" << QList<QList<int>>{{0, 1, 2, 3}, {4}, {0, 1, 2, 3}};
        QTest::newRow("3x1") << "3 x 1" << QList<QList<int>>{{0, 1, 2}, {3, 4}, {0, 1, 2}};
        QTest::newRow("empty: one at a time") << "" << QList<QList<int>>{{0}, {1}, {2}};
        QTest::newRow("unreadable: one at a time") << "9x9" << QList<QList<int>>{{0}, {1}, {2}};
    }
    // Cycling moves on by a group; the pages of a group are side by side, the others collapsed,
    // and a group short of the grid has larger tiles.
    void tilesShowAGroupAtATime()
    {
        QFETCH(QString, tiles);
        QFETCH(QList<QList<int>>, groups);
        StoreNumberedSites(5, {}, {{"Tiles", tiles}, {"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}});
        TMain main;
        Show(main);
        const QSize client = main.Selector()->ClientArea()->size();
        for (const QList<int>& group : groups) {
            QCOMPARE(Seen(main), group);
            QList<QRect> places;
            for (int site : group)
                places.append(main.Page(site)->geometry());
            for (int i = 1; i < places.size(); ++i)
                QVERIFY(!places.at(i).intersects(places.at(i - 1)));
            if (group.size() == 1)
                QCOMPARE(places.first().size(), client);
            else
                QVERIFY(places.last().width() <= client.width() / 2);
            main->TimerTick();
        }
    }

    // A click into a tile picks its site for the commands and frames it; the group stays.
    void aClickPicksATile()
    {
        StoreNumberedSites(4, {}, {{"Tiles", "2x2"}});
        TMain main;
        Show(main);
        QTest::mouseClick(main.Page(3), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(main->CurrentIndex(), 3);
        QCOMPARE(Seen(main), (QList<int>{0, 1, 2, 3}));
        auto* mark = main.Selector()->findChild<QWidget*>("TileMark");
        QVERIFY(mark->isVisible());
        QVERIFY(mark->geometry().contains(main.Page(3)->geometry()));
        main.Form()->tbRefresh->click();
        QCOMPARE(int(main.Page(3)->Calls.count("Refresh2")), 1);
        QCOMPARE(int(main.Page(0)->Calls.count("Refresh2")), 0);
    }

    // The overview shows every site with its state; arrows and Enter pick one, Escape leaves all as it was.
    void theOverviewPicksASite()
    {
        StoreNumberedSites(4, {}, {{"Tiles", "2x2"}});
        TMain main;
        Show(main);
        main.Page(1)->State = TLoadState::Failed;
        main.Page(3)->State = TLoadState::Crashed;
        const auto overview = [&] { return main.Form()->findChild<TfrmOverview*>(); };
        for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Return)}) {
            main->SelectPage(0);
            QTest::keyClick(main.Form(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY(overview() && overview()->isVisible());
            QCOMPARE(overview()->geometry(), main.Form()->rect());
            QCOMPARE(overview()->Cells.size(), 4);
            QCOMPARE(overview()->Cells.at(1)->text(), QStringLiteral("Site1 (failed)"));
            QCOMPARE(overview()->Cells.at(3)->text(), QStringLiteral("Site3 (crashed)"));
            QCOMPARE(Seen(main), (QList<int>{0, 1, 2, 3}));
            QTest::keyClick(overview()->Cells.at(0), Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            QTRY_VERIFY(!overview());
            QCOMPARE(main->CurrentIndex(), key == Qt::Key_Return ? 3 : 0);
            // The keys go on to the page shown, not to the address field.
            QCOMPARE(QApplication::focusWidget(), main.Page(main->CurrentIndex()));
        }
    }
    // A page's picture is whole in its cell whatever its shape (a tile is wider than a cell).
    void theOverviewShowsWholePictures()
    {
        StoreNumberedSites(5, {}, {{"Tiles", "2x2"}});
        TMain main;
        Show(main);
        main.Form()->OverviewMenuItem->trigger();
        auto* overview = main.Form()->findChild<TfrmOverview*>();
        QImage wide(300, 100, QImage::Format_RGB32);
        wide.fill(Qt::red);
        for (int y = 0; y < wide.height(); ++y)
            for (int x = 200; x < wide.width(); ++x)
                wide.setPixelColor(x, y, Qt::blue);
        overview->SetPicture(0, QPixmap::fromImage(wide));
        const QImage shown = overview->Cells.at(0)->icon().pixmap(overview->Cells.at(0)->iconSize()).toImage();
        QCOMPARE(shown.pixelColor(shown.width() - 2, shown.height() / 2), QColor(Qt::blue));
        QCOMPARE(shown.pixelColor(1, shown.height() / 2), QColor(Qt::red));
    }
    void theOverviewOfOneAtATime()
    {
        StoreNumberedSites(4, {}, {});
        TMain main;
        Show(main);
        main.Form()->OverviewMenuItem->trigger();
        QCOMPARE(Seen(main), (QList<int>{0, 1, 2, 3}));
        // The others go back behind the one picked.
        QTest::mouseClick(main.Form()->findChild<TfrmOverview*>()->Cells.at(2), Qt::LeftButton);
        QTRY_VERIFY(!main.Form()->findChild<TfrmOverview*>());
        QCOMPARE(Seen(main), QList<int>{2});
    }

    // The screen off: the other screens' windows go dark too, and light up with it.
    void theOtherScreensFollowTheScreenPower()
    {
        StoreNumberedSites(2, {{"Screens", ",HDMI-1"}}, {});
        TMain main;
        Show(main);
        QVERIFY(main.Page(1)->isVisible());
        main->ScreenPower.Set(false);
        QVERIFY(!main.Page(1)->isVisible());
        QVERIFY(main.Page(1)->window()->isVisible());
        main->ScreenPower.Set(true);
        QVERIFY(main.Page(1)->isVisible());
    }

    // Every page in sight is spared by the memory ceiling, not only the chosen one.
    void pagesInSightAreNotReloadedForMemory()
    {
        StoreNumberedSites(6, {{"Screens", ",,,,,HDMI-1"}}, {{"Tiles", "2x2"}});
        TMain main;
        for (int i = 0; i < 6; ++i)
            main.Page(i)->Memory = qint64(2) << 30;
        main->MemoryCeiling.Check();
        for (int i = 0; i < 6; ++i)
            QCOMPARE(int(main.Page(i)->Calls.count("Refresh2")), i == 4 ? 1 : 0);
    }

    // Sites named by screen or by number fill their screens; the selector still lists them all.
    void sitesFillTheirScreens()
    {
        StoreNumberedSites(4, {{"Screens", ",hdmi-2,2,DP-7"}}, {});
        TMain main;
        Show(main);
        QCOMPARE(ScreenOfPage(main, 0), QStringLiteral("main"));
        QCOMPARE(ScreenOfPage(main, 1), QStringLiteral("HDMI-2"));
        QCOMPARE(ScreenOfPage(main, 2), QStringLiteral("HDMI-1"));
        // A screen that isn't there: the main window's.
        QCOMPARE(ScreenOfPage(main, 3), QStringLiteral("main"));
        QCOMPARE(main.Page(1)->window()->geometry(), QRect(3200, 0, 1024, 768));
        QCOMPARE(main.Page(1)->size(), QSize(1024, 768));
        QCOMPARE(main.Selector()->Count(), 4);
        QCOMPARE(Seen(main), (QList<int>{0, 1, 2}));
        main->SelectPage(3);
        QCOMPARE(Seen(main), (QList<int>{1, 2, 3}));
        main->SelectPage(1);
        QCOMPARE(Seen(main), (QList<int>{1, 2, 3}));
        main.Form()->tbRefresh->click();
        QCOMPARE(int(main.Page(1)->Calls.count("Refresh2")), 1);
    }

    // Closing the main window (Exit, Alt+F4) ends the program with the screens' windows open.
    void closingTheMainWindowEnds()
    {
        StoreNumberedSites(2, {{"Screens", ",HDMI-1"}}, {});
        TMain main;
        Show(main);
        bool timedOut = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            QCoreApplication::quit();
        });
        watchdog.start(10000);
        QTimer::singleShot(0, main.Form(), [&main] { main.Form()->close(); });
        QCoreApplication::exec();
        QVERIFY(!timedOut);
    }

    // Each window cycles among its own sites.
    void eachScreenCyclesItsOwnSites()
    {
        StoreNumberedSites(4, {{"Screens", ",HDMI-1,HDMI-1,"}}, {{"TimerCycleEnabled", "1"}, {"TimerCycleInterval", "1"}});
        TMain main;
        Show(main);
        QList<QList<int>> seen;
        for (int tick = 0; tick < 3; ++tick) {
            seen.append(Seen(main));
            main->TimerTick();
        }
        QCOMPARE(seen, (QList<QList<int>>{{0, 1}, {2, 3}, {0, 1}}));
    }

    // An unplugged screen's sites come to the main window, and go back when it returns.
    void aScreenThatGoesAndComesBack()
    {
        StoreNumberedSites(3, {{"Screens", ",HDMI-1,HDMI-1"}}, {});
        TMain main;
        Show(main);
        main->SelectPage(2);
        KeepScreens({"DP-1", "HDMI-2"});
        QTRY_COMPARE(ScreenOfPage(main, 1), QStringLiteral("main"));
        QCOMPARE(ScreenOfPage(main, 2), QStringLiteral("main"));
        QCOMPARE(Seen(main), QList<int>{2});
        QCOMPARE(main.Selector()->Count(), 3);
        KeepScreens({"DP-1", "HDMI-1", "HDMI-2"});
        QTRY_COMPARE(ScreenOfPage(main, 1), QStringLiteral("HDMI-1"));
        QCOMPARE(ScreenOfPage(main, 2), QStringLiteral("HDMI-1"));
        QCOMPARE(main.Page(2)->window()->geometry(), QRect(1920, 0, 1280, 720));
        QCOMPARE(Seen(main), (QList<int>{0, 2}));
    }
};

ORVANTA_TEST_MAIN(TestScreens)
#include "tst_screens.moc"
