#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

struct mosquitto;

// Where and how to reach an MQTT broker.
struct TMqttEndpoint
{
    QString Host;
    int Port = 1883;
    bool Tls = false;
    // For TLS: the authorities to trust; empty: the system's. The broker's name is always verified.
    QString CaFile;
    QString User;
    QString Password;
    QString ClientId;
    // Published by the broker, retained, when the connection drops without a goodbye.
    QString WillTopic;
    QByteArray WillPayload;
};

// A connection to an MQTT broker on libmosquitto's own network thread; what it hears is handed
// to the thread the client lives in. Once started it keeps connecting, waiting longer each time
// (up to a minute), and comes back by itself after the broker was lost.
class TMqttClient : public QObject
{
    Q_OBJECT

public:
    explicit TMqttClient(QObject* parent = nullptr);
    // Says goodbye to the broker, so that the last will is not sent.
    ~TMqttClient() override;

    // False, with the reason, when the endpoint can't be used at all (a CA file that can't be
    // read); a broker that can't be reached is tried again and again instead.
    bool Start(const TMqttEndpoint& endpoint, QString* error);
    bool IsConnected() const;
    // At least once; dropped while there is no connection.
    void Publish(const QString& topic, const QByteArray& payload, bool retain);
    void Subscribe(const QString& pattern);

Q_SIGNALS:
    void Connected();
    void Disconnected();
    // The broker or the TLS handshake turned the connection down: a password, a certificate.
    void Refused(const QString& reason);
    void Message(const QString& topic, const QByteArray& payload);

private:
    struct mosquitto* FClient = nullptr;
    bool FConnected = false;
    bool FLooping = false;
};
