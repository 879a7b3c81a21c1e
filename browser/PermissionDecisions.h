#pragma once

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <optional>

// The answers sites got to their requests for a permission (notifications, camera, microphone,
// screen sharing, location, pointer lock), by origin and feature, so that each is asked once.
// Entries are kept as "origin feature allow|block"; one that can't be read is kept as it stands.
class TPermissionDecisions : public QObject
{
    Q_OBJECT

public:
    TPermissionDecisions(const QStringList& entries, bool locked);

    // The administrator's list is the only one: nothing is asked, what it lacks is refused.
    bool Locked() const;
    QStringList Entries() const;

    std::optional<bool> Allowed(const QUrl& origin, const QString& feature) const;
    void Decide(const QUrl& origin, const QString& feature, bool allow);
    // The origins decided for a feature, with their answers.
    QMap<QString, bool> Decided(const QString& feature) const;

    static QString OriginOf(const QUrl& url);

Q_SIGNALS:
    void Changed();

private:
    QStringList FEntries;
    bool FLocked;
};
