#include "controllers/RefreshTicks.h"

void TRefreshTicks::Resize(int pages)
{
    FPages.resize(pages);
}

void TRefreshTicks::Reset()
{
    for (TPage& page : FPages)
        page.Ticks = 0;
}

void TRefreshTicks::Typed(int page)
{
    if (page >= 0 && page < FPages.size())
        FPages[page].SinceTyping = 0;
}

bool TRefreshTicks::TypedRecently(int page) const
{
    return page >= 0 && page < FPages.size() && FPages.at(page).SinceTyping.has_value();
}

int TRefreshTicks::Ticks(int page) const
{
    return page >= 0 && page < FPages.size() ? FPages.at(page).Ticks : 0;
}

QList<int> TRefreshTicks::Tick(const std::function<std::optional<int>(int)>& seconds)
{
    QList<int> due;
    for (int i = 0; i < FPages.size(); ++i) {
        TPage& page = FPages[i];
        if (page.SinceTyping && ++*page.SinceTyping >= TypingRest)
            page.SinceTyping.reset();
        const std::optional<int> interval = seconds(i);
        if (!interval) {
            page.Ticks = 0;
            continue;
        }
        if (++page.Ticks < *interval || page.SinceTyping)
            continue;
        page.Ticks = 0;
        due.append(i);
    }
    return due;
}
