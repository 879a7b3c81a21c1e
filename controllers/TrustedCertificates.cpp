#include "controllers/TrustedCertificates.h"

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
    QObject::connect(form->miForgetCertificate, &QAction::triggered, &FTrust, [this] {
        const QUrl address = AddressOf(FMain.CurrentIndex());
        FTrust.Forget(address);
        if (TWebBrowser* page = FMain.Browser(FMain.CurrentIndex()))
            page->Navigate(address.toString());
    });
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
