#include "ControllerFixture.h"

#include "controllers/remote/RemoteControl.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QImage>
#include <QSettings>

namespace {

const QString Interface = QStringLiteral("org.quenbrook.Orvanta");

// The shown index each ShownChanged signal on the bus carried.
class TShownLog : public QObject
{
    Q_OBJECT

public:
    QList<int> Shown;

public Q_SLOTS:
    void Record(int index) { Shown.append(index); }
};

// The desktop's screen saver as the program sees it on the session bus: who inhibits it.
class TScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    QList<uint> Held;

public Q_SLOTS:
    uint Inhibit(const QString&, const QString&)
    {
        Held.append(++FLast);
        return FLast;
    }
    void UnInhibit(uint cookie) { Held.removeAll(cookie); }

private:
    uint FLast = 0;
};

void StoreThreeSites(const QMap<QString, QString>& settings = {})
{
    StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"}, settings);
}

} // namespace

class TestRemote : public QObject
{
    Q_OBJECT

    std::unique_ptr<TPrivateBus> Bus;
    std::unique_ptr<QDBusConnection> Client;

    // A call over the bus from another connection; the program answers in this event loop.
    QDBusMessage Call(const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(TRemoteControl::Service, TRemoteControl::Path, Interface, method);
        call.setArguments(arguments);
        QDBusPendingCall pending = Client->asyncCall(call, 20000);
        if (!QTest::qWaitFor([&pending] { return pending.isFinished(); }, 30000))
            return QDBusMessage::createError(QDBusError::Timeout, QStringLiteral("no answer"));
        return pending.reply();
    }

private Q_SLOTS:
    void initTestCase()
    {
        Bus = std::make_unique<TPrivateBus>();
        QVERIFY(!Bus->Address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", Bus->Address.toUtf8());
        Client = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(Bus->Address, "client"));
        QVERIFY(Client->isConnected());
    }

    void cleanupTestCase()
    {
        Client.reset();
        QDBusConnection::disconnectFromBus("client");
    }

    void init()
    {
        RemoveConfig();
    }

    void everyMethod()
    {
        StoreThreeSites({{"TimerCycleEnabled", "0"}});
        TMessageLog messages;
        {
            TMain main;
            main.Page(0)->Load("http://one/", "One");
            main.Page(1)->Load("http://two/deeper", "Two");
            main.Page(2)->State = TLoadState::Failed;
            TShownLog shownLog;
            QVERIFY(Client->connect(TRemoteControl::Service, TRemoteControl::Path, Interface, "ShownChanged", &shownLog,
                                    SLOT(Record(int))));

            const QDBusMessage sites = Call("Sites");
            QCOMPARE(sites.signature(), QStringLiteral("a(ssss)"));
            QList<TRemoteSite> list;
            sites.arguments().at(0).value<QDBusArgument>() >> list;
            QCOMPARE(list.size(), 3);
            QCOMPARE(list.at(1).Title, QStringLiteral("Two"));
            QCOMPARE(list.at(1).Home, QStringLiteral("http://two/"));
            QCOMPARE(list.at(1).Current, QStringLiteral("http://two/deeper"));
            QCOMPARE(list.at(0).State, QStringLiteral("loaded"));
            QCOMPARE(list.at(2).State, QStringLiteral("failed"));

            QCOMPARE(Call("Show", {2}).arguments(), QVariantList{true});
            QCOMPARE(main->CurrentIndex(), 2);
            QCOMPARE(Call("Shown").arguments(), QVariantList{2});
            Call("Next");
            QCOMPARE(main->CurrentIndex(), 0);
            Call("Previous");
            QCOMPARE(main->CurrentIndex(), 2);
            QTRY_COMPARE(shownLog.Shown, (QList<int>{2, 0, 2}));

            Call("Reload", {1});
            QCOMPARE(main.Page(0)->Calls.count("Refresh2"), 0);
            QCOMPARE(main.Page(1)->Calls.count("Refresh2"), 1);
            Call("Reload", {-1});
            for (int i = 0; i < 3; ++i)
                QCOMPARE(main.Page(i)->Calls.count("Refresh2"), i == 1 ? 2 : 1);
            main.Page(1)->Calls.clear();
            Call("Home", {1});
            QCOMPARE(main.Page(1)->Calls, QStringList{"Navigate http://two/"});

            QCOMPARE(Call("SetCycling", {true}).type(), QDBusMessage::ReplyMessage);
            QVERIFY(main.Settings()->TimerCycleEnabled);
            QVERIFY(main->Timer->isActive());
            Call("SetFullScreen", {true});
            QVERIFY(main.Form()->windowState().testFlag(Qt::WindowFullScreen));
            QVERIFY(!main.Selector()->TabsVisible());

            QCOMPARE(Call("Screen").arguments(), QVariantList{true});
            Call("SetScreen", {false});
            QCOMPARE(Call("Screen").arguments(), QVariantList{false});
            QVERIFY(!main.Page(2)->isVisibleTo(main.Form()));
            Call("SetScreen", {true});
            const QDBusMessage shot = Call("Screenshot");
            QCOMPARE(shot.signature(), QStringLiteral("ay"));
            QImage picture;
            QVERIFY(picture.loadFromData(shot.arguments().at(0).toByteArray(), "PNG"));
            QCOMPARE(picture.size(), main.Form()->size() * main.Form()->devicePixelRatio());
        }
        QSettings stored(ConfigFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Settings/TimerCycleEnabled").toString(), QStringLiteral("1"));
        QCOMPARE(stored.value("Settings/FullScreen").toString(), QStringLiteral("1"));
        QCOMPARE(messages.Texts(), QStringList());
    }

    // Bad calls get an error or false, change nothing and show nothing.
    void badCalls_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QVariantList>("answer");
        QTest::newRow("show below 0") << "Show" << QVariantList{-1} << QString() << QVariantList{false};
        QTest::newRow("show past the last") << "Show" << QVariantList{3} << QString() << QVariantList{false};
        QTest::newRow("show a text") << "Show" << QVariantList{"2"} << "org.freedesktop.DBus.Error.UnknownMethod"
                                     << QVariantList{};
        QTest::newRow("show nothing") << "Show" << QVariantList{} << "org.freedesktop.DBus.Error.UnknownMethod"
                                      << QVariantList{};
        QTest::newRow("reload past the last") << "Reload" << QVariantList{5} << "org.freedesktop.DBus.Error.InvalidArgs"
                                              << QVariantList{};
        QTest::newRow("home below -1") << "Home" << QVariantList{-2} << "org.freedesktop.DBus.Error.InvalidArgs"
                                       << QVariantList{};
        QTest::newRow("reload a page with nothing") << "Reload" << QVariantList{0} << "org.quenbrook.Orvanta.Error.Failed"
                                                    << QVariantList{};
        QTest::newRow("cycling with a number") << "SetCycling" << QVariantList{1}
                                               << "org.freedesktop.DBus.Error.UnknownMethod" << QVariantList{};
        QTest::newRow("a method it lacks") << "AddSite" << QVariantList{"x"} << "org.freedesktop.DBus.Error.UnknownMethod"
                                           << QVariantList{};
    }
    void badCalls()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, error);
        StoreThreeSites();
        TMessageLog messages;
        TMain main;
        main->SelectPage(1);
        main.Page(0)->FailRefresh = true;
        const QDBusMessage reply = Call(method, arguments);
        if (error.isEmpty()) {
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
            QTEST(reply.arguments(), "answer");
        } else {
            QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
            QCOMPARE(reply.errorName(), error);
        }
        QCOMPARE(main->CurrentIndex(), 1);
        QCOMPARE(main.Settings()->Titles, (QStringList{"One", "Two", "Three"}));
        QVERIFY(!main.Settings()->TimerCycleEnabled);
        QCOMPARE(messages.Texts(), QStringList());
    }

    // A wall screen keeps the desktop's screen saver off while it is on, and lets it go when it
    // goes off and when the program ends.
    void theDesktopScreenSaverIsHeldOff()
    {
        TScreenSaver saver;
        QVERIFY(Client->registerObject("/org/freedesktop/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
        QVERIFY(Client->registerService("org.freedesktop.ScreenSaver"));
        StoreThreeSites({{"ScreenSchedule", "Mon-Sun 00:00-00:00"}});
        {
            TMain main;
            QTRY_COMPARE(saver.Held.size(), 1);
            Call("SetScreen", {false});
            QTRY_COMPARE(saver.Held.size(), 0);
            Call("SetScreen", {true});
            QTRY_COMPARE(saver.Held.size(), 1);
            // Answered after the inhibition's reply on the same bus: the program holds its cookie.
            Call("Screen");
        }
        QTRY_COMPARE(saver.Held.size(), 0);
        Client->unregisterService("org.freedesktop.ScreenSaver");
        Client->unregisterObject("/org/freedesktop/ScreenSaver");
    }

    // What the administrator locked stays as it is.
    void lockedSettingsRefuse()
    {
        StoreThreeSites();
        WriteSystemConfig("[Settings]\nTimerCycleEnabled=0\nLocked=true\n");
        TMain main;
        for (const QString& method : {QStringLiteral("SetCycling"), QStringLiteral("SetFullScreen")}) {
            const QDBusMessage reply = Call(method, {true});
            QCOMPARE(reply.errorName(), QStringLiteral("org.quenbrook.Orvanta.Error.Locked"));
            QCOMPARE(reply.errorMessage(), QStringLiteral("Your administrator manages these settings."));
        }
        QVERIFY(!main.Settings()->TimerCycleEnabled);
        QVERIFY(!main.Settings()->FullScreen);
        QCOMPARE(Call("Show", {2}).arguments(), QVariantList{true});
    }
};

ORVANTA_TEST_MAIN(TestRemote)
#include "tst_remote.moc"
