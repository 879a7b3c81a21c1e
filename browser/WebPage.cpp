#include "browser/WebPage.h"

#include "browser/BackgroundCollector.h"
#include "browser/CertificateTrust.h"
#include "browser/HangWatch.h"
#include "browser/LoadRetry.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QHash>
#include <QTimer>
#include <QUrl>
#include <QWebEngineCertificateError>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>

TWebPage::TWebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::certificateError, this, &TWebPage::AnswerCertificate);
    connect(this, &QWebEnginePage::authenticationRequired, this, &TWebPage::AnswerNoAuthentication);
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* authenticator, const QString&) {
                AnswerNoAuthentication(url, authenticator);
            });
    connect(this, &QWebEnginePage::newWindowRequested, this, &TWebPage::OpenInPlace);
    connect(this, &QWebEnginePage::loadFinished, this, [this] { FWindowLoadPending = false; });
    connect(this, &QWebEnginePage::renderProcessTerminated, this,
            [this](RenderProcessTerminationStatus status, int) { RecoverFromCrash(status); });
    new TLoadRetry(this);
    new THangWatch(this);
    new TBackgroundCollector(this);
}

bool TWebPage::Silent() const
{
    return FSilent;
}

void TWebPage::SetSilent(bool silent)
{
    FSilent = silent;
}

void TWebPage::javaScriptAlert(const QUrl& origin, const QString& message)
{
    if (!FSilent)
        QWebEnginePage::javaScriptAlert(origin, message);
}

bool TWebPage::javaScriptConfirm(const QUrl& origin, const QString& message)
{
    if (!FSilent)
        return QWebEnginePage::javaScriptConfirm(origin, message);
    // The engine asks here too whether a page with a beforeunload handler may be left: a
    // silent page must never keep the user (or the cycle timer) from navigating away.
    static const QString leavePage = QCoreApplication::translate(
        "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
    return message == leavePage;
}

bool TWebPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                                QString* result)
{
    if (!FSilent)
        return QWebEnginePage::javaScriptPrompt(origin, message, defaultValue, result);
    return false;
}

void TWebPage::SetCertificateTrust(TCertificateTrust* trust)
{
    FTrust = trust;
}

void TWebPage::AnswerCertificate(const QWebEngineCertificateError& error)
{
    QWebEngineCertificateError answer = error;
    const QSslCertificate certificate = error.certificateChain().value(0);
    const bool trusted = FTrust && FTrust->Trusted(error.url(), certificate);
    if (trusted && error.isOverridable()) {
        answer.acceptCertificate();
        return;
    }
    answer.rejectCertificate();
    TRefusedCertificate refused;
    refused.Url = error.url();
    switch (error.type()) {
    case QWebEngineCertificateError::CertificateAuthorityInvalid:
        refused.Kind = TRefusedCertificate::Untrusted;
        break;
    case QWebEngineCertificateError::CertificateDateInvalid:
        refused.Kind = TRefusedCertificate::Expired;
        break;
    case QWebEngineCertificateError::CertificateCommonNameInvalid:
        refused.Kind = TRefusedCertificate::OtherName;
        break;
    case QWebEngineCertificateError::CertificateRevoked:
        refused.Kind = TRefusedCertificate::Revoked;
        break;
    default:
        refused.Kind = TRefusedCertificate::Other;
        break;
    }
    refused.Description = error.description();
    refused.Certificate = certificate;
    refused.Overridable = error.isOverridable() && !certificate.isNull();
    refused.Changed = FTrust && FTrust->TrustedFingerprint(error.url()).has_value() && !trusted;
    Q_EMIT CertificateRefused(refused);
}

void TWebPage::AnswerNoAuthentication(const QUrl&, QAuthenticator* authenticator)
{
    if (FSilent)
        *authenticator = QAuthenticator();
}

// A page asking for a new window (a link's target, window.open) has the address loaded in
// itself. The engine's new page is never taken in: one that is adopted by a page without a view
// of its own is set up while the opener is a background page, and that crashed the program
// under a page that opens windows in a loop. Until the load a request started has finished,
// further requests are passed over, so such a page can't restart its own load over and over.
void TWebPage::OpenInPlace(const QWebEngineNewWindowRequest& request)
{
    const QUrl url = request.requestedUrl();
    // A window of nothing (about:blank, for a script to write into) has nothing to show here.
    const bool nothing = url.isEmpty() || url.scheme() == QLatin1String("about") || url.scheme() == QLatin1String("javascript");
    if (FWindowLoadPending || nothing || url == requestedUrl())
        return;
    FWindowLoadPending = true;
    setUrl(url);
}

// The page reloads at once after its renderer died; one that dies again soon after each
// reload waits longer every time (up to a minute), so that it can't keep a core busy.
void TWebPage::RecoverFromCrash(RenderProcessTerminationStatus status)
{
    if (status == NormalTerminationStatus)
        return;
    constexpr qint64 SoonMs = 30000;
    constexpr int LongestDelayMs = 60000;
    const bool again = FSinceCrash.isValid() && FSinceCrash.elapsed() < SoonMs;
    FReloadDelayMs = again ? qMin(qMax(FReloadDelayMs * 2, 1000), LongestDelayMs) : 0;
    FSinceCrash.restart();
    QTimer::singleShot(FReloadDelayMs, this, [this] { triggerAction(Reload); });
}

QWebEngineProfile* ProfileNamed(const QString& name)
{
    static QHash<QString, QWebEngineProfile*> profiles;
    if (QWebEngineProfile* known = profiles.value(name))
        return known;
    // A profile's folder is named after it, with nothing in the name that could lead elsewhere.
    const QString folder = name.isEmpty() ? QString()
                                          : QStringLiteral("/Profiles/") + QString::fromLatin1(QUrl::toPercentEncoding(name, {}, "."));
    auto* profile = new QWebEngineProfile(name.isEmpty() ? QStringLiteral("Default") : QStringLiteral("Profile-") + name,
                                          QCoreApplication::instance());
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    profile->setPersistentStoragePath(data + QStringLiteral("/WebEngine") + folder);
    profile->setCachePath(cache + QStringLiteral("/WebEngine") + folder);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    profiles.insert(name, profile);
    return profile;
}
