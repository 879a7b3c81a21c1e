#include "controllers/webapps/TrustedCertificates.h"

#include "controllers/ControllerMain.h"

#include <QAction>
#include <QMenu>

TTrustedCertificates::TTrustedCertificates(TCMain& main)
    : FMain(main), FTrust(main.Registry()->TrustedCertificates, main.Registry()->CertificatesLocked())
{
    QObject::connect(&FTrust, &TCertificateTrust::Changed, &FTrust,
                     [this] { FMain.Registry()->TrustedCertificates = FTrust.Entries(); });
    TfrmMain* form = main.MainForm;
    // The menu is for the tab it opens on, which is selected when it opens.
    QObject::connect(form->popTabMenu, &QMenu::aboutToShow, &FTrust, [this, form] {
        form->miForgetCertificate->setEnabled(!FTrust.Locked()
                                              && FTrust.TrustedFingerprint(AddressOf(FMain.HoverTabIndex)));
    });
    // The engine goes on accepting a certificate it accepted once until the program ends; from
    // the next start the site asks again.
    QObject::connect(form->miForgetCertificate, &QAction::triggered, &FTrust,
                     [this] { FTrust.Forget(AddressOf(FMain.CurrentIndex())); });
}

TCertificateTrust* TTrustedCertificates::Trust()
{
    return &FTrust;
}

QUrl TTrustedCertificates::AddressOf(int site) const
{
    TWebBrowser* page = FMain.Browser(site);
    const QString shown = page ? page->LocationURL() : QString();
    return QUrl(shown.isEmpty() || shown == QLatin1String("about:blank") ? FMain.Registry()->Urls.value(site) : shown);
}
