#include "controllers/Schedule.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int MinutesADay = 24 * 60;

const QStringList DayNames = {QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"),
                              QStringLiteral("Fri"), QStringLiteral("Sat"), QStringLiteral("Sun")};

// 1 for Monday to 7 for Sunday; 0 for anything else.
int DayOf(const QString& name)
{
    return DayNames.indexOf(name.trimmed()) + 1;
}

// "Mon", "Mon-Fri" (a range may wrap: "Fri-Mon") or "Sat,Sun"; nothing when a day can't be read.
std::optional<QList<int>> Days(const QString& text)
{
    QList<int> days;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList range = part.split(QLatin1Char('-'));
        const int first = DayOf(range.first());
        const int last = range.size() == 2 ? DayOf(range.last()) : first;
        if (range.size() > 2 || first == 0 || last == 0)
            return std::nullopt;
        for (int day = first;; day = day % 7 + 1) {
            if (!days.contains(day))
                days.append(day);
            if (day == last)
                break;
        }
    }
    return days;
}

// Minutes since midnight of "HH:MM", 24:00 included; nothing otherwise.
std::optional<int> Minute(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    if (minute > 59 || hour > 24 || (hour == 24 && minute > 0))
        return std::nullopt;
    return hour * 60 + minute;
}

} // namespace

const QString TSchedule::Format = QStringLiteral("Empty: always. Else DAYS HH:MM-HH:MM, several separated by \";\".\n"
                                                 "DAYS: Mon … Sun, a range Mon-Fri or a list Sat,Sun.\n"
                                                 "A window past midnight (22:00-06:00) runs into the next day.");

std::optional<TSchedule> TSchedule::Parse(const QString& entry)
{
    TSchedule schedule;
    if (entry.trimmed().isEmpty())
        return schedule;
    static const QRegularExpression form(QStringLiteral("^\\s*(\\S+)\\s+(\\S+)-(\\S+)\\s*$"));
    for (const QString& text : entry.split(QLatin1Char(';'))) {
        const QRegularExpressionMatch match = form.match(text);
        if (!match.hasMatch())
            return std::nullopt;
        const std::optional<QList<int>> days = Days(match.captured(1));
        const std::optional<int> start = Minute(match.captured(2));
        const std::optional<int> end = Minute(match.captured(3));
        if (!days || !start || !end || *start == MinutesADay)
            return std::nullopt;
        schedule.FWindows.append({*days, *start, *end});
    }
    return schedule;
}

TSchedule TSchedule::Of(const QString& entry)
{
    return Parse(entry).value_or(TSchedule());
}

bool TSchedule::IsOpen(const QDateTime& localTime) const
{
    if (FWindows.isEmpty())
        return true;
    const int today = localTime.date().dayOfWeek();
    const int yesterday = (today + 5) % 7 + 1;
    const QTime time = localTime.time();
    const int now = time.hour() * 60 + time.minute();
    for (const TWindow& window : FWindows) {
        // Minutes into the window since it opened today or yesterday.
        const int length = window.EndMinute > window.StartMinute ? window.EndMinute - window.StartMinute
                                                                 : window.EndMinute - window.StartMinute + MinutesADay;
        if (window.Days.contains(today) && now >= window.StartMinute && now - window.StartMinute < length)
            return true;
        if (window.Days.contains(yesterday) && now + MinutesADay - window.StartMinute < length)
            return true;
    }
    return false;
}
