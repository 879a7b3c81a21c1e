#include "browser/CertificatePage.h"

#include "browser/CertificateTrust.h"
#include "browser/OwnPage.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString Reason(const TRefusedCertificate& refused)
{
    const QString host = refused.Url.host();
    switch (refused.Kind) {
    case TRefusedCertificate::Untrusted:
        return QStringLiteral("The certificate of %1 is not issued by an authority this computer trusts.").arg(host);
    case TRefusedCertificate::Expired:
        return QStringLiteral("The certificate of %1 has expired or is not yet valid.").arg(host);
    case TRefusedCertificate::OtherName:
        return QStringLiteral("The certificate %1 sent is issued for another name.").arg(host);
    case TRefusedCertificate::Revoked:
        return QStringLiteral("The certificate of %1 has been revoked by its issuer.").arg(host);
    case TRefusedCertificate::Other:
        break;
    }
    return QStringLiteral("The certificate of %1 can't be accepted: %2").arg(host, refused.Description);
}

// A fingerprint in pairs of digits, as certificate viewers show it, on two lines so that a
// narrow window shows it whole.
QString Grouped(const QString& hex)
{
    QStringList pairs;
    for (int i = 0; i < hex.size(); i += 2)
        pairs.append(hex.mid(i, 2));
    return pairs.mid(0, 16).join(QLatin1Char(':')) + QStringLiteral(":<br>") + pairs.mid(16).join(QLatin1Char(':'));
}

QString Details(const QSslCertificate& certificate)
{
    const QLocale locale;
    const auto row = [](const QString& name, const QString& html) {
        return QStringLiteral("<tr><td><b>%1</b>&nbsp;&nbsp;</td><td>%2</td></tr>").arg(name, html);
    };
    return QStringLiteral("<table>") + row(QStringLiteral("Subject"), certificate.subjectDisplayName().toHtmlEscaped())
           + row(QStringLiteral("Issuer"), certificate.issuerDisplayName().toHtmlEscaped())
           + row(QStringLiteral("Valid from"), locale.toString(certificate.effectiveDate(), QLocale::ShortFormat))
           + row(QStringLiteral("Valid until"), locale.toString(certificate.expiryDate(), QLocale::ShortFormat))
           + row(QStringLiteral("SHA-256"), Grouped(TCertificateTrust::FingerprintOf(certificate)))
           + QStringLiteral("</table>");
}

} // namespace

TCertificatePage::TCertificatePage(QWidget* parent) : QWidget(parent)
{
    QVBoxLayout* layout = LayOutOwnPage(this, QStringLiteral("CertificatePage"), QStringLiteral("This site's certificate is not accepted"));
    lblReason = new QLabel(this);
    lblReason->setWordWrap(true);
    lblDetails = new QLabel(this);
    lblDetails->setTextFormat(Qt::RichText);
    lblDetails->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDetails->setWordWrap(true);
    lblNote = new QLabel(this);
    lblNote->setWordWrap(true);
    btnTrust = new QPushButton(QStringLiteral("Trust this certificate for this site"), this);
    btnTrust->setObjectName(QStringLiteral("btnTrust"));
    connect(btnTrust, &QPushButton::clicked, this, &TCertificatePage::TrustClicked);
    for (QWidget* part : std::initializer_list<QWidget*>{lblReason, lblDetails, lblNote})
        layout->addWidget(part);
    layout->addWidget(btnTrust, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void TCertificatePage::Show(const TRefusedCertificate& refused, bool trustable, bool managed)
{
    lblReason->setText(Reason(refused));
    lblDetails->setText(Details(refused.Certificate));
    QString note;
    if (refused.Changed)
        note = QStringLiteral("The certificate has changed since this site was trusted: this is not the one trusted before. ");
    if (managed)
        note += QStringLiteral("Your administrator manages these settings.");
    else if (trustable)
        note += QStringLiteral("Trust it only if you know this is the site's own certificate, for instance by its fingerprint.");
    lblNote->setText(note);
    btnTrust->setVisible(trustable && !managed);
    show();
    raise();
}
