#include "ControllerFixture.h"

#include "platform/MqttClient.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

namespace {

// Another client on the broker: what was last said on every topic, and every error in order.
class TListener : public QObject
{
public:
    explicit TListener(const TBroker& broker, const QString& user = {}, const QString& password = {})
    {
        connect(&FClient, &TMqttClient::Connected, this, [this] { FClient.Subscribe("#"); });
        connect(&FClient, &TMqttClient::Message, this, [this](const QString& topic, const QByteArray& payload) {
            Last.insert(topic, payload);
            if (topic.endsWith("/error"))
                Errors.append(QString::fromUtf8(payload));
        });
        TMqttEndpoint endpoint;
        endpoint.Host = "127.0.0.1";
        endpoint.Port = broker.Port;
        endpoint.Tls = broker.Tls;
        endpoint.CaFile = ORVANTA_TEST_DATA "/selfsigned.crt";
        endpoint.User = user;
        endpoint.Password = password;
        QString error;
        FClient.Start(endpoint, &error);
    }
    void Send(const QString& topic, const QByteArray& payload) { FClient.Publish(topic, payload, false); }
    bool Ready() const { return FClient.IsConnected(); }
    QJsonObject State(const QString& name) const { return QJsonDocument::fromJson(Last.value("orvanta/" + name + "/state")).object(); }

    QHash<QString, QByteArray> Last;
    QStringList Errors;

private:
    TMqttClient FClient;
};

void StoreWall(const TBroker& broker, const QMap<QString, QString>& more = {})
{
    StoreSites({"One", "Two", "Three"}, {"http://one/", "http://two/", "http://three/"});
    QSettings stored(ConfigFile(), QSettings::IniFormat);
    stored.setValue("Mqtt/Broker", broker.Url());
    stored.setValue("Mqtt/Name", "wall");
    stored.setValue("Mqtt/Groups", "lobby,floor-2");
    for (auto it = more.begin(); it != more.end(); ++it)
        stored.setValue(it.key(), it.value());
}

} // namespace

// The program on a real mosquitto broker: it says it is there and what it shows, takes the
// commands sent to it and to its groups, refuses what it can't do on its error topic, and
// comes back after the broker was gone.
class TestMqtt : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { RemoveConfig(); }

    void namesFromTheHost_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "kiosk-3" << "kiosk-3";
        QTest::newRow("upper case and dots") << "Lobby.Example.ORG" << "lobby_example_org";
        QTest::newRow("wildcards") << "a+b#c/d" << "a_b_c_d";
    }
    void namesFromTheHost()
    {
        QFETCH(QString, host);
        QFETCH(QString, name);
        QCOMPARE(TMqttRemote::NameFrom(host), name);
    }

    void brokerAddresses_data()
    {
        QTest::addColumn<QString>("broker");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("tls");
        QTest::newRow("mqtt") << "mqtt://broker.lan" << true << 1883 << false;
        QTest::newRow("mqtts with port") << "mqtts://broker.lan:9883" << true << 9883 << true;
        QTest::newRow("other scheme") << "http://broker.lan" << false << 0 << false;
        QTest::newRow("no host") << "mqtt://" << false << 0 << false;
        QTest::newRow("a path") << "mqtt://broker.lan/x" << false << 0 << false;
    }
    void brokerAddresses()
    {
        QFETCH(QString, broker);
        QFETCH(bool, usable);
        QFETCH(int, port);
        QFETCH(bool, tls);
        QString error;
        const std::optional<TMqttEndpoint> endpoint = TMqttRemote::EndpointOf(broker, &error);
        QCOMPARE(endpoint.has_value(), usable);
        if (!usable) {
            QVERIFY(error.contains(broker));
            return;
        }
        QCOMPARE(endpoint->Port, port);
        QCOMPARE(endpoint->Tls, tls);
    }

    void saysItIsThereAndWhatItShows()
    {
        TBroker broker;
        StoreWall(broker);
        TMain main;
        TListener listener(broker);
        QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!listener.State("wall").isEmpty(), 20000);
        const QJsonObject state = listener.State("wall");
        QCOMPARE(state.value("shown").toInt(), 1);
        QCOMPARE(state.value("title").toString(), QStringLiteral("One"));
        QCOMPARE(state.value("cycling").toBool(), false);
        QCOMPARE(state.value("screen").toString(), QStringLiteral("on"));
        QCOMPARE(state.value("sites").toArray().size(), 3);
        QCOMPARE(state.value("sites").toArray().at(2).toObject().value("title").toString(), QStringLiteral("Three"));
        main->SelectPage(2);
        QTRY_COMPARE_WITH_TIMEOUT(listener.State("wall").value("shown").toInt(), 3, 20000);
        main.Free();
        QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("offline"), 20000);
    }

    // Home Assistant finds the screen: one device, its controls on the screen's own topics, the
    // site list as the select's options, sent again when the list changes.
    void homeAssistantFindsTheScreen()
    {
        TBroker broker;
        StoreWall(broker);
        TMain main;
        TListener listener(broker);
        const auto config = [&listener](const QString& object) {
            return QJsonDocument::fromJson(listener.Last.value("homeassistant/" + object + "/config")).object();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!config("sensor/orvanta_wall/state").isEmpty(), 20000);
        QStringList objects;
        for (auto it = listener.Last.cbegin(); it != listener.Last.cend(); ++it) {
            if (it.key().startsWith("homeassistant/"))
                objects.append(it.key().section('/', 1, 1) + ' ' + config(it.key().section('/', 1, 3)).value("name").toString());
        }
        objects.sort();
        QCOMPARE(objects, (QStringList{"button Next", "button Previous", "button Reload", "image Screenshot", "select Site",
                                       "sensor State", "switch Cycling", "switch Full screen", "switch Screen"}));
        const QJsonObject site = config("select/orvanta_wall/site");
        QCOMPARE(site.value("command_topic").toString(), QStringLiteral("orvanta/wall/set/show"));
        QCOMPARE(site.value("availability_topic").toString(), QStringLiteral("orvanta/wall/availability"));
        QCOMPARE(site.value("options").toVariant().toStringList(), (QStringList{"One", "Two", "Three"}));
        QCOMPARE(site.value("device").toObject().value("identifiers").toArray().at(0).toString(), QStringLiteral("orvanta_wall"));
        QCOMPARE(site.value("device").toObject().value("model").toString(), QStringLiteral("Orvanta"));
        QCOMPARE(config("switch/orvanta_wall/screen").value("command_topic").toString(), QStringLiteral("orvanta/wall/set/screen"));
        // What Home Assistant sends for the select and a button is carried out.
        listener.Send("orvanta/wall/set/show", "Three");
        QTRY_COMPARE_WITH_TIMEOUT(main->CurrentIndex(), 2, 20000);
        TFakeWebBrowser::Journal().clear();
        listener.Send("orvanta/wall/set/reload", config("button/orvanta_wall/reload").value("payload_press").toString().toUtf8());
        QTRY_VERIFY_WITH_TIMEOUT(TFakeWebBrowser::Journal().contains("http://three/ Refresh2"), 20000);
        main.Settings()->Titles[1] = "Deux";
        QTRY_COMPARE_WITH_TIMEOUT(config("select/orvanta_wall/site").value("options").toVariant().toStringList(),
                                  (QStringList{"One", "Deux", "Three"}), 20000);
        QCOMPARE(listener.Errors, QStringList());
    }

    // Over TLS with a password: the broker's certificate is checked against CaFile, the password
    // file must be the user's alone, and what the broker refuses is said.
    void tlsAndPassword_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("authority");
        QTest::addColumn<bool>("othersRead");
        QTest::addColumn<QString>("said");
        QTest::newRow("all right") << "s3cret" << "selfsigned" << false << "";
        QTest::newRow("wrong password") << "wrong" << "selfsigned" << false << "refused";
        QTest::newRow("untrusted certificate") << "s3cret" << "other" << false << "refused";
        QTest::newRow("password file others read") << "s3cret" << "selfsigned" << true << "can be read by others";
    }
    void tlsAndPassword()
    {
        QFETCH(QString, password);
        QFETCH(QString, authority);
        QFETCH(bool, othersRead);
        QFETCH(QString, said);
        TBroker broker("screen", "s3cret");
        QTemporaryDir folder;
        const QString passwordFile = folder.filePath("password");
        QFile file(passwordFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(password.toUtf8() + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | (othersRead ? QFile::ReadOther : QFile::Permissions()));
        StoreWall(broker, {{"Mqtt/User", "screen"}, {"Mqtt/PasswordFile", passwordFile},
                           {"Mqtt/CaFile", QString(ORVANTA_TEST_DATA "/%1.crt").arg(authority)}});
        TMain main;
        QVERIFY(main->Mqtt);
        if (said.isEmpty()) {
            TListener listener(broker, "screen", "s3cret");
            QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 20000);
            QCOMPARE(main->Mqtt->Said().size(), 0);
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(main->Mqtt->Said().size(), 1, 20000);
        QVERIFY2(main->Mqtt->Said().begin()->contains(said), qPrintable(*main->Mqtt->Said().begin()));
    }

    // The Remote page connects to a broker; the typed password is used (and kept in the keyring
    // where there is one), never written to the settings file; the page says how it stands.
    void theSetupDialogConnects()
    {
        TBroker broker("screen", "s3cret");
        StoreSites({"One"}, {"http://one/"});
        TMain main;
        QVERIFY(!main->Mqtt);
        RunSetup(main, main.Form()->SetupOptionsMenuItem, [&](TfrmSetup* dialog) {
            QCOMPARE(dialog->lblMqttStatus->text(), QStringLiteral("MQTT is off."));
            dialog->edtMqttBroker->setText(broker.Url());
            dialog->edtMqttUser->setText("screen");
            dialog->edtMqttPassword->setText("s3cret");
            dialog->edtMqttName->setText("wall");
            dialog->edtMqttCaFile->setText(ORVANTA_TEST_DATA "/selfsigned.crt");
            dialog->btnOk->click();
        });
        TListener listener(broker, "screen", "s3cret");
        QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 20000);
        RunSetup(main, main.Form()->SetupOptionsMenuItem, [&](TfrmSetup* dialog) {
            QCOMPARE(dialog->lblMqttStatus->text(), QStringLiteral("Connected to %1 as wall.").arg(broker.Url()));
            QCOMPARE(dialog->edtMqttPassword->text(), QString());
        });
        QCOMPARE(main->Mqtt->Said().isEmpty(), qEnvironmentVariableIsSet("ORVANTA_TEST_KEYRING"));
        main.Free();
        QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("offline"), 20000);
        // The next start takes the password from the keyring; with none, the broker refuses.
        TMain again;
        QVERIFY(again->Mqtt);
        if (qEnvironmentVariableIsSet("ORVANTA_TEST_KEYRING"))
            QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 20000);
        else
            QTRY_VERIFY_WITH_TIMEOUT(again->Mqtt->Status().contains("not authorised"), 20000);
        again.Free();
        const QSettings stored(ConfigFile(), QSettings::IniFormat);
        QCOMPARE(stored.value("Mqtt/Broker").toString(), broker.Url());
        QCOMPARE(stored.value("Mqtt/User").toString(), QStringLiteral("screen"));
        QVERIFY(!stored.contains("Mqtt/PasswordFile"));
        QFile file(ConfigFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("s3cret"));
    }

    void commands_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("call");
        QTest::newRow("show by number") << "orvanta/wall/set/show" << QByteArray("2") << "shown" << "2" << "";
        QTest::newRow("show by title") << "orvanta/wall/set/show" << QByteArray("Three") << "shown" << "3" << "";
        QTest::newRow("next") << "orvanta/wall/set/next" << QByteArray() << "shown" << "2" << "";
        QTest::newRow("previous") << "orvanta/wall/set/previous" << QByteArray() << "shown" << "3" << "";
        QTest::newRow("reload shown") << "orvanta/wall/set/reload" << QByteArray() << "" << "" << "http://one/ Refresh2";
        QTest::newRow("reload all") << "orvanta/wall/set/reload" << QByteArray("all") << "" << "" << "http://three/ Refresh2";
        QTest::newRow("home of one") << "orvanta/wall/set/home" << QByteArray("Two") << "" << "" << "http://two/ Navigate http://two/";
        QTest::newRow("cycling on") << "orvanta/wall/set/cycling" << QByteArray("ON") << "cycling" << "true" << "";
        QTest::newRow("full screen") << "orvanta/wall/set/fullscreen" << QByteArray("ON") << "fullscreen" << "true" << "";
        QTest::newRow("screen off") << "orvanta/wall/set/screen" << QByteArray("OFF") << "screen" << "off" << "";
        QTest::newRow("to a group") << "orvanta/group/lobby/set/show" << QByteArray("3") << "shown" << "3" << "";
        QTest::newRow("to another group") << "orvanta/group/floor-2/set/next" << QByteArray() << "shown" << "2" << "";
    }
    void commands()
    {
        QFETCH(QString, topic);
        QFETCH(QByteArray, payload);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, call);
        TBroker broker;
        StoreWall(broker);
        TMain main;
        TListener listener(broker);
        QTRY_VERIFY_WITH_TIMEOUT(listener.Ready() && !listener.State("wall").isEmpty(), 20000);
        TFakeWebBrowser::Journal().clear();
        listener.Send(topic, payload);
        if (!key.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(listener.State("wall").value(key).toVariant().toString(), value, 20000);
        if (!call.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(TFakeWebBrowser::Journal().contains(call), 20000);
        QCOMPARE(listener.Errors, QStringList());
    }

    // A picture of the window, not retained.
    void screenshot()
    {
        TBroker broker;
        StoreWall(broker);
        TMain main;
        TListener listener(broker);
        QTRY_VERIFY_WITH_TIMEOUT(listener.Ready() && !listener.State("wall").isEmpty(), 20000);
        listener.Send("orvanta/wall/set/screenshot", QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(listener.Last.value("orvanta/wall/screenshot").startsWith("\x89PNG"), 20000);
        QImage picture;
        QVERIFY(picture.loadFromData(listener.Last.value("orvanta/wall/screenshot"), "PNG"));
        QCOMPARE(picture.size(), main.Form()->size() * main.Form()->devicePixelRatio());
    }

    void badCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown") << "launch" << QByteArray("rocket") << "launch: unknown command";
        QTest::newRow("show nothing") << "show" << QByteArray() << "show: the payload must name a site";
        QTest::newRow("show no such number") << "show" << QByteArray("9") << "show: there is no site \"9\"";
        QTest::newRow("show zero") << "show" << QByteArray("0") << "show: there is no site \"0\"";
        QTest::newRow("show no such title") << "show" << QByteArray("Four") << "show: there is no site \"Four\"";
        QTest::newRow("reload no such site") << "reload" << QByteArray("-1") << "reload: there is no site";
        QTest::newRow("cycling maybe") << "cycling" << QByteArray("maybe") << "cycling: the payload must be ON or OFF";
        QTest::newRow("over 64 KiB") << "show" << QByteArray(64 * 1024 + 1, '1') << "show: the payload is over 64 KiB";
        QTest::newRow("not UTF-8") << "show" << QByteArray("\xff\xfe\x00", 3) << "show: there is no site";
    }
    void badCommands()
    {
        QFETCH(QString, command);
        QFETCH(QByteArray, payload);
        QFETCH(QString, reason);
        TBroker broker;
        StoreWall(broker);
        TMessageLog messages;
        TMain main;
        TListener listener(broker);
        QTRY_VERIFY_WITH_TIMEOUT(listener.Ready() && !listener.State("wall").isEmpty(), 20000);
        TFakeWebBrowser::Journal().clear();
        listener.Send("orvanta/wall/set/" + command, payload);
        QTRY_COMPARE_WITH_TIMEOUT(listener.Errors.size(), 1, 20000);
        QVERIFY2(listener.Errors.first().startsWith(reason), qPrintable(listener.Errors.first()));
        QCOMPARE(main->CurrentIndex(), 0);
        QCOMPARE(TFakeWebBrowser::Journal(), QStringList());
        QCOMPARE(messages.Messages.size(), 0);
    }

    // What the administrator manages can't be switched from afar either.
    void lockedSettingsStayAsTheyAre()
    {
        TBroker broker;
        StoreWall(broker);
        WriteSystemConfig("[Settings]\nLocked=true\n");
        TMain main;
        TListener listener(broker);
        QTRY_VERIFY_WITH_TIMEOUT(listener.Ready() && !listener.State("wall").isEmpty(), 20000);
        listener.Send("orvanta/wall/set/cycling", "ON");
        QTRY_COMPARE_WITH_TIMEOUT(listener.Errors, QStringList{"cycling: Your administrator manages these settings."}, 20000);
        QVERIFY(!main.Settings()->TimerCycleEnabled);
        WriteSystemConfig({});
    }

    // A broker gone and back: the program runs on, and says again that it is there.
    void comesBackAfterTheBroker()
    {
        TBroker broker;
        StoreWall(broker);
        TMain main;
        {
            TListener listener(broker);
            QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 20000);
        }
        broker.Stop();
        main->SelectPage(1);
        QVERIFY(broker.Start());
        TListener listener(broker);
        QTRY_COMPARE_WITH_TIMEOUT(listener.Last.value("orvanta/wall/availability"), QByteArray("online"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(listener.State("wall").value("shown").toInt(), 2, 20000);
    }
};

ORVANTA_TEST_MAIN(TestMqtt)
#include "tst_mqtt.moc"
