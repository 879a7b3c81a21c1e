#include "controllers/remote/HomeAssistantDiscovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

THomeAssistantDiscovery::THomeAssistantDiscovery(const QString& prefix, const QString& name, const QString& version)
    : FPrefix(prefix), FName(name), FVersion(version)
{
}

QList<THomeAssistantDiscovery::TMessage> THomeAssistantDiscovery::Messages(const QStringList& titles) const
{
    const QString base = QStringLiteral("orvanta/") + FName + QLatin1Char('/');
    const QString device = QStringLiteral("orvanta_") + FName;
    const QString state = base + QStringLiteral("state");
    const QJsonObject deviceInfo{{QStringLiteral("identifiers"), QJsonArray{device}},
                                 {QStringLiteral("name"), FName},
                                 {QStringLiteral("model"), QStringLiteral("Orvanta")},
                                 {QStringLiteral("sw_version"), FVersion}};
    QList<TMessage> messages;
    const auto add = [&](const QString& component, const QString& object, const QString& title, QJsonObject config) {
        config.insert(QStringLiteral("name"), title);
        config.insert(QStringLiteral("unique_id"), device + QLatin1Char('_') + object);
        config.insert(QStringLiteral("availability_topic"), base + QStringLiteral("availability"));
        config.insert(QStringLiteral("device"), deviceInfo);
        messages.append({FPrefix + QLatin1Char('/') + component + QLatin1Char('/') + device + QLatin1Char('/') + object
                             + QStringLiteral("/config"),
                         QJsonDocument(config).toJson(QJsonDocument::Compact)});
    };

    // A title that comes twice is one option: showing by title takes the first site of it.
    QStringList options;
    for (const QString& title : titles) {
        if (!title.isEmpty() && !options.contains(title))
            options.append(title);
    }
    add(QStringLiteral("select"), QStringLiteral("site"), QStringLiteral("Site"),
        {{QStringLiteral("command_topic"), base + QStringLiteral("set/show")},
         {QStringLiteral("state_topic"), state},
         {QStringLiteral("value_template"), QStringLiteral("{{ value_json.title }}")},
         {QStringLiteral("options"), QJsonArray::fromStringList(options)}});
    for (const auto& [object, title] : {std::pair{QStringLiteral("next"), QStringLiteral("Next")},
                                        std::pair{QStringLiteral("previous"), QStringLiteral("Previous")},
                                        std::pair{QStringLiteral("reload"), QStringLiteral("Reload")}}) {
        // An empty payload: the shown site, for a reload.
        add(QStringLiteral("button"), object, title,
            {{QStringLiteral("command_topic"), base + QStringLiteral("set/") + object}, {QStringLiteral("payload_press"), QString()}});
    }
    for (const auto& [object, title, on] : {std::tuple{QStringLiteral("cycling"), QStringLiteral("Cycling"), QStringLiteral("value_json.cycling")},
                                            std::tuple{QStringLiteral("fullscreen"), QStringLiteral("Full screen"), QStringLiteral("value_json.fullscreen")},
                                            std::tuple{QStringLiteral("screen"), QStringLiteral("Screen"), QStringLiteral("value_json.screen == 'on'")}}) {
        add(QStringLiteral("switch"), object, title,
            {{QStringLiteral("command_topic"), base + QStringLiteral("set/") + object},
             {QStringLiteral("state_topic"), state},
             {QStringLiteral("value_template"), QStringLiteral("{{ 'ON' if %1 else 'OFF' }}").arg(on)},
             {QStringLiteral("payload_on"), QStringLiteral("ON")},
             {QStringLiteral("payload_off"), QStringLiteral("OFF")}});
    }
    add(QStringLiteral("image"), QStringLiteral("screenshot"), QStringLiteral("Screenshot"),
        {{QStringLiteral("image_topic"), base + QStringLiteral("screenshot")}, {QStringLiteral("content_type"), QStringLiteral("image/png")}});
    add(QStringLiteral("sensor"), QStringLiteral("state"), QStringLiteral("State"),
        {{QStringLiteral("state_topic"), state},
         {QStringLiteral("value_template"), QStringLiteral("{{ value_json.sites[value_json.shown - 1].state }}")}});
    return messages;
}
