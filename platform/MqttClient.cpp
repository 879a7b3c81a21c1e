#include "platform/MqttClient.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <mosquitto.h>

namespace {

constexpr int KeepAliveSeconds = 30;
constexpr int FirstRetrySeconds = 1;
constexpr int LastRetrySeconds = 60;
constexpr int AtLeastOnce = 1;
const char* const SystemAuthorities = "/etc/ssl/certs";

void InitialiseLibrary()
{
    static const int initialised = mosquitto_lib_init();
    Q_UNUSED(initialised);
}

// libmosquitto calls back on its own thread: everything goes to the client's thread by queue.
void Post(TMqttClient* client, std::function<void(TMqttClient*)> call)
{
    QPointer<TMqttClient> target(client);
    QMetaObject::invokeMethod(
        client, [target, call = std::move(call)] {
            if (target)
                call(target);
        },
        Qt::QueuedConnection);
}

} // namespace

TMqttClient::TMqttClient(QObject* parent) : QObject(parent)
{
    InitialiseLibrary();
}

TMqttClient::~TMqttClient()
{
    if (!FClient)
        return;
    mosquitto_disconnect(FClient);
    if (FLooping)
        mosquitto_loop_stop(FClient, false);
    mosquitto_destroy(FClient);
}

bool TMqttClient::Start(const TMqttEndpoint& endpoint, QString* error)
{
    const QByteArray id = endpoint.ClientId.toUtf8();
    FClient = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!FClient) {
        *error = QStringLiteral("the MQTT library could not start");
        return false;
    }
    mosquitto_int_option(FClient, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_reconnect_delay_set(FClient, FirstRetrySeconds, LastRetrySeconds, true);
    if (!endpoint.User.isEmpty())
        mosquitto_username_pw_set(FClient, endpoint.User.toUtf8().constData(),
                                  endpoint.Password.isEmpty() ? nullptr : endpoint.Password.toUtf8().constData());
    if (!endpoint.WillTopic.isEmpty())
        mosquitto_will_set(FClient, endpoint.WillTopic.toUtf8().constData(), int(endpoint.WillPayload.size()),
                           endpoint.WillPayload.constData(), AtLeastOnce, true);
    if (endpoint.Tls) {
        if (!endpoint.CaFile.isEmpty() && !QFileInfo(endpoint.CaFile).isReadable()) {
            *error = QStringLiteral("the CA file %1 can't be read").arg(endpoint.CaFile);
            return false;
        }
        const QByteArray caFile = endpoint.CaFile.toUtf8();
        if (mosquitto_tls_set(FClient, caFile.isEmpty() ? nullptr : caFile.constData(),
                              caFile.isEmpty() ? SystemAuthorities : nullptr, nullptr, nullptr, nullptr)
            != MOSQ_ERR_SUCCESS) {
            *error = QStringLiteral("TLS could not be set up");
            return false;
        }
        mosquitto_tls_insecure_set(FClient, false);
    }
    mosquitto_connect_callback_set(FClient, [](struct mosquitto*, void* self, int code) {
        Post(static_cast<TMqttClient*>(self), [code](TMqttClient* client) {
            if (code != 0) {
                Q_EMIT client->Refused(QString::fromUtf8(mosquitto_connack_string(code)));
                return;
            }
            client->FConnected = true;
            Q_EMIT client->Connected();
        });
    });
    mosquitto_disconnect_callback_set(FClient, [](struct mosquitto*, void* self, int) {
        Post(static_cast<TMqttClient*>(self), [](TMqttClient* client) {
            const bool was = client->FConnected;
            client->FConnected = false;
            if (was)
                Q_EMIT client->Disconnected();
        });
    });
    mosquitto_message_callback_set(FClient, [](struct mosquitto*, void* self, const struct mosquitto_message* message) {
        const QString topic = QString::fromUtf8(message->topic);
        const QByteArray payload(static_cast<const char*>(message->payload), message->payloadlen);
        Post(static_cast<TMqttClient*>(self), [topic, payload](TMqttClient* client) { Q_EMIT client->Message(topic, payload); });
    });
    // A failed TLS handshake reaches no callback but the log.
    mosquitto_log_callback_set(FClient, [](struct mosquitto*, void* self, int level, const char* text) {
        const QString line = QString::fromUtf8(text);
        if (level == MOSQ_LOG_ERR && (line.contains(QLatin1String("SSL")) || line.contains(QLatin1String("TLS"))))
            Post(static_cast<TMqttClient*>(self), [line](TMqttClient* client) { Q_EMIT client->Refused(line); });
    });
    // Not reached yet is no error: the network thread keeps trying.
    mosquitto_connect_async(FClient, endpoint.Host.toUtf8().constData(), endpoint.Port, KeepAliveSeconds);
    if (mosquitto_loop_start(FClient) != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("the MQTT network thread could not start");
        return false;
    }
    FLooping = true;
    return true;
}

bool TMqttClient::IsConnected() const
{
    return FConnected;
}

void TMqttClient::Publish(const QString& topic, const QByteArray& payload, bool retain)
{
    if (FClient && FConnected)
        mosquitto_publish(FClient, nullptr, topic.toUtf8().constData(), int(payload.size()), payload.constData(), AtLeastOnce, retain);
}

void TMqttClient::Subscribe(const QString& pattern)
{
    if (FClient)
        mosquitto_subscribe(FClient, nullptr, pattern.toUtf8().constData(), AtLeastOnce);
}
