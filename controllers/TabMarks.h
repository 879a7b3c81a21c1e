#pragma once

#include "browser/WebBrowser.h"

#include <QObject>
#include <functional>

class TTabControl;

// A site's tab says what keeps its page from showing the site: a load that failed, a sign-in it
// waits for, a renderer that went.
class TTabMarks : public QObject
{
    Q_OBJECT

public:
    // `siteOf` finds a page's site (-1: none), `titleOf` a site's title.
    TTabMarks(TTabControl* selector, std::function<int(TWebBrowser*)> siteOf, std::function<QString(int)> titleOf);

    // What a tab adds to its title for a page in that state; nothing while it loads or loaded.
    static QString Mark(TLoadState state);
    void Watch(TWebBrowser* page);

private:
    TTabControl* FSelector;
    std::function<int(TWebBrowser*)> FSiteOf;
    std::function<QString(int)> FTitleOf;
};
