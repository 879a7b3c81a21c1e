#pragma once

#include "browser/CertificateTrust.h"

class TCMain;

// The certificates trusted for sites beyond the authorities', kept in the settings: every page
// asks them, and the tab menu takes a site's trust back.
class TTrustedCertificates
{
public:
    explicit TTrustedCertificates(TCMain& main);

    TCertificateTrust* Trust();

private:
    // The address the tab menu acts on: the site's page, or its home before a load.
    QUrl AddressOf(int site) const;

    TCMain& FMain;
    TCertificateTrust FTrust;
};
