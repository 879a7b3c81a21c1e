#include "controllers/webapps/SignIns.h"

#include "controllers/ControllerMain.h"
#include "platform/TabControl.h"

const QString TSignIns::TabMark = QStringLiteral(" (sign in)");

TSignIns::TSignIns(TCMain& main) : FMain(main), FStore(nullptr) {}

void TSignIns::Watch(TWebBrowser* page)
{
    page->SetCredentialStore(&FStore);
    QObject::connect(page, &TWebBrowser::SignInChanged, &FStore, [this](TWebBrowser* sender, bool needed) {
        if (const int i = FMain.PageOf(sender->Application()); i >= 0)
            FMain.MainForm->tcBrowserContainer->SetTabText(i, FMain.Registry()->Titles.value(i) + (needed ? TabMark : QString()));
    });
}
