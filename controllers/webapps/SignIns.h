#pragma once

#include "browser/CredentialStore.h"

class TCMain;
class TWebBrowser;

// The sign-ins of every page: one store of credentials for them all, and the tab of a page
// that waits for a sign-in says so.
class TSignIns
{
public:
    explicit TSignIns(TCMain& main);

    void Watch(TWebBrowser* page);

    static const QString TabMark;

private:
    TCMain& FMain;
    TCredentialStore FStore;
};
