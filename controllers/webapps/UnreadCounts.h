#pragma once

#include <QString>

class TCMain;
class TWebBrowser;

// Mail and chat apps write the number of unread messages at the start of their title, as in
// "(3) Inbox": the tab of such a site shows the number beside its caption, which stays as it is.
class TUnreadCounts
{
public:
    explicit TUnreadCounts(TCMain& main);

    void Watch(TWebBrowser* page);

    // The count at the start of a title, or empty.
    static QString CountOf(const QString& title);
    // The title without a count at its start: what names a site taken from its page, where the
    // count would soon be wrong.
    static QString WithoutCount(const QString& title);

private:
    TCMain& FMain;
};
