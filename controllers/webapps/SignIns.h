#pragma once

#include "browser/CredentialStore.h"

class TWebBrowser;

// The sign-ins of every page: one store of credentials for them all.
class TSignIns
{
public:
    TSignIns();

    void Watch(TWebBrowser* page);

private:
    TCredentialStore FStore;
};
