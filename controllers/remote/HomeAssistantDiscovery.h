#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What Home Assistant needs to find a screen on the broker by itself (MQTT discovery): one device
// with a select "Site", buttons "Next", "Previous" and "Reload", switches "Cycling", "Full
// screen" and "Screen", an image "Screenshot" and a sensor with the shown site's state, each a
// retained config under PREFIX/COMPONENT/orvanta_NAME/OBJECT/config.
class THomeAssistantDiscovery
{
public:
    struct TMessage
    {
        QString Topic;
        QByteArray Payload;
    };

    // `prefix` is the discovery prefix; `name` the screen's name in topics.
    THomeAssistantDiscovery(const QString& prefix, const QString& name, const QString& version);

    // Every config, the select's options being the sites' titles.
    QList<TMessage> Messages(const QStringList& titles) const;

private:
    QString FPrefix;
    QString FName;
    QString FVersion;
};
