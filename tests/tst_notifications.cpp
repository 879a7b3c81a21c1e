#include "EngineFixture.h"
#include "TestSupport.h"

#include "browser/PermissionDecisions.h"
#include "browser/WebEngineBrowser.h"
#include "controllers/ControllerMain.h"
#include "shared/LibCommaText.h"

#include <QBuffer>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QImage>
#include <QSet>
#include <QSettings>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <memory>

namespace {

const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");

// The desktop's notification service as far as the tests need it: it keeps what it was asked.
class TNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct TNotice
    {
        uint Id;
        uint Replaces;
        QString AppName;
        QString Summary;
        QString Body;
        QStringList Actions;
        QImage Icon;
    };

    QStringList Capabilities;
    QList<TNotice> Notices;
    QList<uint> ClosedOnRequest;
    // On the screen now, and the most there were at once.
    QSet<uint> Open;
    qsizetype MostOpen = 0;

public Q_SLOTS:
    QStringList GetCapabilities() { return Capabilities; }
    uint Notify(const QString& appName, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& hints, int)
    {
        const uint id = replaces ? replaces : ++FLastId;
        Notices.append({id, replaces, appName, summary, body, actions, ImageOf(hints.value("image-data"))});
        Open.insert(id);
        MostOpen = qMax(MostOpen, Open.size());
        return id;
    }
    void CloseNotification(uint id)
    {
        ClosedOnRequest.append(id);
        Open.remove(id);
        Q_EMIT NotificationClosed(id, 3);
    }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString& action);
    void NotificationClosed(uint id, uint reason);

private:
    static QImage ImageOf(const QVariant& imageData)
    {
        if (!imageData.isValid())
            return QImage();
        const QDBusArgument argument = imageData.value<QDBusArgument>();
        int width = 0, height = 0, stride = 0, bitsPerSample = 0, channels = 0;
        bool alpha = false;
        QByteArray pixels;
        argument.beginStructure();
        argument >> width >> height >> stride >> alpha >> bitsPerSample >> channels >> pixels;
        argument.endStructure();
        if (bitsPerSample != 8 || channels != 4 || pixels.size() < stride * height)
            return QImage();
        return QImage(reinterpret_cast<const uchar*>(pixels.constData()), width, height, stride, QImage::Format_RGBA8888).copy();
    }

    uint FLastId = 0;
};

// A picture of 200 by 100 pixels, all red, as a page gives it.
QByteArray RedPicture()
{
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    return "data:image/png;base64," + png.data().toBase64();
}

void RunScript(TWebEngineBrowser* page, const QString& script)
{
    page->View()->page()->runJavaScript(script);
}

} // namespace

// The program's notifications on a session bus of the test's own, where the test is the
// desktop's notification service.
class TestNotifications : public QObject
{
    Q_OBJECT

    THttpServer Server;
    std::unique_ptr<TPrivateBus> Bus;
    std::unique_ptr<QDBusConnection> Desktop;
    TNotificationService Service;

    // Two accounts of one service side by side, both allowed to notify.
    void StoreTwoAccounts()
    {
        StoreSitesIn(ConfigFile(), {"Work", "Home"}, {Server.Url("/notify"), Server.Url("/notify")});
        QSettings store(ConfigFile(), QSettings::IniFormat);
        store.setValue("Sites/Profiles", "work,home");
        store.setValue("Permissions/Decisions",
                       ToCommaText({TPermissionDecisions::OriginOf(QUrl(Server.Url("/"))) + " notifications allow"}));
    }

    static bool Loaded(const TEngineMain& main)
    {
        return main.Page(0)->LocationName() == "Notifier" && main.Page(1)->LocationName() == "Notifier";
    }

private Q_SLOTS:
    void initTestCase()
    {
        Server.SetPage("/notify", "<html><head><title>Notifier</title></head><body><script>"
                                  "function notify(tag) {"
                                  "  window.last = new Notification('Build <failed>', {body: 'main & red', tag: tag, icon: '"
                                      + RedPicture() + "'});"
                                  "  last.onshow = () => document.title = 'shown';"
                                  "  last.onclick = () => document.title = 'clicked';"
                                  "  last.onclose = () => document.title = 'closed';"
                                  "}</script></body></html>");
        QVERIFY(Server.isListening());
        Bus = std::make_unique<TPrivateBus>();
        QVERIFY(!Bus->Address.isEmpty());
        qputenv("DBUS_SESSION_BUS_ADDRESS", Bus->Address.toUtf8());
        Desktop = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(Bus->Address, "desktop"));
        QVERIFY(Desktop->registerObject(ServicePath, &Service, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
        QVERIFY(Desktop->registerService(ServiceName));
    }

    void cleanupTestCase()
    {
        Desktop.reset();
        QDBusConnection::disconnectFromBus("desktop");
    }

    void init()
    {
        RemoveConfig();
        Service.Notices.clear();
        Service.ClosedOnRequest.clear();
        Service.Open.clear();
        Service.MostOpen = 0;
    }

    // The notification is headed by the title of the site it came from, of the two accounts of
    // one origin, with its picture made small; the page's text never reads as markup. One with the same tag takes its place,
    // and a click shows its site.
    void aSiteNotifiesTheDesktop_data()
    {
        QTest::addColumn<QStringList>("capabilities");
        QTest::addColumn<QString>("body");
        QTest::newRow("markup") << QStringList{"body", "body-markup", "actions"}
                                << "<b>Build &lt;failed&gt;</b>\nmain &amp; red";
        QTest::newRow("plain text") << QStringList{"body", "actions"} << "Build <failed>\nmain & red";
    }

    void aSiteNotifiesTheDesktop()
    {
        QFETCH(QStringList, capabilities);
        QFETCH(QString, body);
        Service.Capabilities = capabilities;
        StoreTwoAccounts();
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(Loaded(main), 30000);
        RunScript(main.Page(1), "notify('build')");
        QTRY_COMPARE_WITH_TIMEOUT(Service.Notices.size(), 1, 30000);
        const TNotificationService::TNotice first = Service.Notices.at(0);
        QCOMPARE(first.Summary, QStringLiteral("Home"));
        QCOMPARE(first.Body, body);
        QCOMPARE(first.AppName, QStringLiteral("Orvanta"));
        QCOMPARE(first.Replaces, 0u);
        QVERIFY(first.Actions.contains("default"));
        QCOMPARE(first.Icon.size(), QSize(128, 64));
        QCOMPARE(first.Icon.pixelColor(64, 32), QColor(Qt::red));
        QTRY_COMPARE_WITH_TIMEOUT(main.Page(1)->LocationName(), QStringLiteral("shown"), 30000);

        RunScript(main.Page(1), "notify('build')");
        QTRY_COMPARE_WITH_TIMEOUT(Service.Notices.size(), 2, 30000);
        QCOMPARE(Service.Notices.at(1).Replaces, first.Id);

        QCOMPARE(main->CurrentIndex(), 0);
        Q_EMIT Service.ActionInvoked(first.Id, "default");
        QTRY_COMPARE_WITH_TIMEOUT(main->CurrentIndex(), 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(main.Page(1)->LocationName(), QStringLiteral("clicked"), 30000);
        QCOMPARE(main.Page(0)->LocationName(), QStringLiteral("Notifier"));
    }

    // What the page closes leaves the desktop; what is closed on the desktop is closed for the
    // page; what a page leaves when it goes leaves the desktop too.
    void closingGoesBothWays()
    {
        StoreTwoAccounts();
        auto main = std::make_unique<TEngineMain>();
        TWebEngineBrowser* page = main->Page(0);
        QTRY_VERIFY_WITH_TIMEOUT(Loaded(*main), 30000);
        RunScript(page, "notify(''); last.onshow = () => last.close();");
        QTRY_COMPARE_WITH_TIMEOUT(Service.Notices.size(), 1, 30000);
        const uint closedByThePage = Service.Notices.at(0).Id;
        QTRY_VERIFY_WITH_TIMEOUT(Service.ClosedOnRequest.contains(closedByThePage), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("closed"), 30000);

        RunScript(page, "notify('')");
        QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("shown"), 30000);
        const uint dismissed = Service.Notices.at(1).Id;
        Q_EMIT Service.NotificationClosed(dismissed, 2);
        QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("closed"), 30000);

        RunScript(page, "notify('')");
        QTRY_COMPARE_WITH_TIMEOUT(page->LocationName(), QStringLiteral("shown"), 30000);
        const uint left = Service.Notices.at(2).Id;
        main.reset();
        QTRY_VERIFY_WITH_TIMEOUT(Service.ClosedOnRequest.contains(left), 30000);
        QVERIFY(!Service.ClosedOnRequest.contains(dismissed));
    }

    // Sites of one origin in one store can't be told apart: the notification names them all.
    void sitesOfOneOriginShareTheHeading()
    {
        StoreTwoAccounts();
        QSettings(ConfigFile(), QSettings::IniFormat).remove("Sites/Profiles");
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(Loaded(main), 30000);
        RunScript(main.Page(1), "notify('')");
        QTRY_COMPARE_WITH_TIMEOUT(Service.Notices.size(), 1, 30000);
        QCOMPARE(Service.Notices.at(0).Summary, QStringLiteral("Work, Home"));
    }

    // A page that notifies in a loop has no more than a few on the desktop at once; the rest
    // are closed for it.
    void aNotificationStormStaysBounded()
    {
        StoreTwoAccounts();
        TEngineMain main;
        QTRY_VERIFY_WITH_TIMEOUT(Loaded(main), 30000);
        RunScript(main.Page(0), "let closed = 0;"
                                "for (let i = 0; i < 200; ++i)"
                                "  new Notification('Storm ' + i).onclose = () => document.title = 'closed ' + ++closed;");
        const int most = TSiteNotifications::MostShownOfASite;
        QTRY_COMPARE_WITH_TIMEOUT(main.Page(0)->LocationName(), QStringLiteral("closed %1").arg(200 - most), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(Service.Open.size(), qsizetype(most), 30000);
        QVERIFY2(Service.MostOpen <= 2 * most, qPrintable(QString::number(Service.MostOpen)));
        QCOMPARE(Service.Notices.last().Summary, QStringLiteral("Work"));
    }

    // With no notification service on the bus, the page learns that its notification is gone.
    void withoutAServiceThePageIsTold()
    {
        QVERIFY(Desktop->unregisterService(ServiceName));
        StoreTwoAccounts();
        TMessageLog messages;
        {
            TEngineMain main;
            QTRY_VERIFY_WITH_TIMEOUT(Loaded(main), 30000);
            RunScript(main.Page(0), "notify('')");
            QTRY_COMPARE_WITH_TIMEOUT(main.Page(0)->LocationName(), QStringLiteral("closed"), 30000);
        }
        QVERIFY(Desktop->registerService(ServiceName));
        QCOMPARE(messages.Texts(), QStringList());
        QCOMPARE(Service.Notices.size(), 0);
    }
};

ORVANTA_TEST_MAIN(TestNotifications)
#include "tst_notifications.moc"
