#include "browser/PermissionDecisions.h"

#include <QRegularExpression>

namespace {

struct TEntry
{
    QString Origin;
    QString Feature;
    bool Allow = false;
};

std::optional<TEntry> Parse(const QString& entry)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\S+)\\s+(\\S+)\\s+(allow|block)\\s*$"));
    const QRegularExpressionMatch match = form.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    return TEntry{match.captured(1).toLower(), match.captured(2).toLower(), match.captured(3) == QLatin1String("allow")};
}

} // namespace

TPermissionDecisions::TPermissionDecisions(const QStringList& entries, bool locked) : FEntries(entries), FLocked(locked) {}

bool TPermissionDecisions::Locked() const
{
    return FLocked;
}

QStringList TPermissionDecisions::Entries() const
{
    return FEntries;
}

QString TPermissionDecisions::OriginOf(const QUrl& url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString(QUrl::FullyEncoded)
        .toLower();
}

std::optional<bool> TPermissionDecisions::Allowed(const QUrl& origin, const QString& feature) const
{
    const QString wanted = OriginOf(origin);
    for (const QString& entry : FEntries) {
        if (const auto parsed = Parse(entry); parsed && parsed->Origin == wanted && parsed->Feature == feature)
            return parsed->Allow;
    }
    return std::nullopt;
}

QMap<QString, bool> TPermissionDecisions::Decided(const QString& feature) const
{
    QMap<QString, bool> decided;
    for (const QString& entry : FEntries) {
        if (const auto parsed = Parse(entry); parsed && parsed->Feature == feature && !decided.contains(parsed->Origin))
            decided.insert(parsed->Origin, parsed->Allow);
    }
    return decided;
}

void TPermissionDecisions::Decide(const QUrl& origin, const QString& feature, bool allow)
{
    if (FLocked)
        return;
    const QString wanted = OriginOf(origin);
    FEntries.removeIf([&](const QString& entry) {
        const auto parsed = Parse(entry);
        return parsed && parsed->Origin == wanted && parsed->Feature == feature;
    });
    FEntries.append(wanted + QLatin1Char(' ') + feature + (allow ? QStringLiteral(" allow") : QStringLiteral(" block")));
    Q_EMIT Changed();
}
