#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// When a site takes part in the automations: always, or within weekly windows of local time
// such as "Mon-Fri 08:00-18:00; Sat,Sun 10:00-14:00". A window that ends before it starts runs
// past midnight into the next day; one that ends as it starts lasts a whole day.
class TSchedule
{
public:
    // Always open.
    TSchedule() = default;
    // The schedule an entry describes; nothing for an entry that can't be read. An empty
    // entry is always open.
    static std::optional<TSchedule> Parse(const QString& entry);
    // The schedule of a stored entry: one that can't be read is always open.
    static TSchedule Of(const QString& entry);

    bool IsOpen(const QDateTime& localTime) const;

    // The form an entry takes, for hints.
    static const QString Format;

private:
    struct TWindow
    {
        // Days 1 (Monday) to 7 (Sunday) on which the window opens.
        QList<int> Days;
        int StartMinute = 0;
        int EndMinute = 0;
    };
    QList<TWindow> FWindows;
};
