#pragma once

#include <QList>
#include <QVector>
#include <functional>
#include <optional>

// The seconds each page has counted toward its next automatic refresh. A page the user typed
// into waits until the typing has rested for a minute, so that a refresh never throws away
// what was typed; it is refreshed at the first second after that.
class TRefreshTicks
{
public:
    static constexpr int TypingRest = 60;

    // One count per page; pages that stay keep their counts, new ones start at 0.
    void Resize(int pages);
    // The refresh automation is off: every count starts again.
    void Reset();
    void Typed(int page);
    bool TypedRecently(int page) const;
    int Ticks(int page) const;

    // One second has passed. `seconds(page)` is the page's interval, or nothing when it is
    // never refreshed. Returns the pages to refresh now, in page order.
    QList<int> Tick(const std::function<std::optional<int>(int)>& seconds);

private:
    struct TPage
    {
        int Ticks = 0;
        // Seconds since the last key typed into the page; none when it has rested.
        std::optional<int> SinceTyping;
    };
    QVector<TPage> FPages;
};
