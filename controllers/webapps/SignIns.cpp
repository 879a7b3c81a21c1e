#include "controllers/webapps/SignIns.h"

#include "browser/WebBrowser.h"

TSignIns::TSignIns() : FStore(nullptr) {}

void TSignIns::Watch(TWebBrowser* page)
{
    page->SetCredentialStore(&FStore);
}
