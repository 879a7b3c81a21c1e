#pragma once

#include "controllers/remote/HomeAssistantDiscovery.h"
#include "controllers/remote/RemoteCommands.h"
#include "platform/Keyring.h"
#include "platform/MqttClient.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QSet>
#include <QTimer>
#include <optional>

class TCMain;
struct TMqttSettings;

// The running program on an MQTT broker, for a fleet of screens run from one place: whether it
// is there and what it shows under orvanta/NAME/, commands on orvanta/NAME/set/COMMAND and on
// orvanta/group/GROUP/set/COMMAND for each of its groups, and what can't be carried out on
// orvanta/NAME/error. Remote input is untrusted: nothing it sends crashes or asks anything.
class TMqttRemote : public QObject
{
public:
    static constexpr int MaxPayload = 64 * 1024;
    static constexpr int StateMs = 500;

    // The password is the one typed in the setup dialog, kept in the keyring from then on; without
    // one, a PasswordFile's, or for a User the keyring's.
    TMqttRemote(TCMain& main, const TMqttSettings& settings, const QString& typedPassword = QString());
    // Says "offline" before it goes.
    ~TMqttRemote() override;

    // The screen's name in topics when the settings name none: the host name in lower case,
    // every character outside a-z, 0-9, _ and - made _.
    static QString NameFrom(const QString& hostName);
    // What a Broker setting names, or why it can't be used.
    static std::optional<TMqttEndpoint> EndpointOf(const QString& broker, QString* error);

    QString Topic(const QString& leaf) const;
    // The state as sent, for tests.
    QJsonObject State();
    // What was said on standard error, each once.
    const QSet<QString>& Said() const { return FSaid; }
    // Where the connection stands, in a sentence for the setup dialog.
    QString Status() const;

private:
    void Start(TMqttEndpoint endpoint);
    void Connected();
    void Received(const QString& topic, const QByteArray& payload);
    // Carries out a command; throws the reason it can't.
    void Carry(const QString& command, const QByteArray& payload);
    int SiteNamed(const QString& payload, bool emptyIsShown, bool allowAll) const;
    void SendState();
    // Home Assistant's configs, once connected and again whenever the site list changed.
    void SendDiscovery();
    void SayOnce(const QString& text);

    TCMain& FMain;
    TRemoteCommands FCommands;
    TMqttClient FClient;
    QString FName;
    QStringList FGroups;
    QTimer FStateTimer;
    QByteArray FSentState;
    qint64 FMemoryMiB = -1;
    QElapsedTimer FMemoryRead;
    QSet<QString> FSaid;
    QString FLastSaid;
    TKeyring FKeyring{this};
    std::optional<THomeAssistantDiscovery> FDiscovery;
    QStringList FDiscoveredTitles;
};
