#include "browser/WebPage.h"

#include "browser/BackgroundCollector.h"
#include "browser/CertificateTrust.h"
#include "browser/CredentialStore.h"
#include "browser/Downloads.h"
#include "browser/HangWatch.h"
#include "browser/LoadRetry.h"
#include "browser/PermissionRequest.h"

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
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* authenticator) { AnswerSignIn(url, authenticator, QString()); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl& url, QAuthenticator* authenticator, const QString& proxy) {
                AnswerSignIn(url, authenticator, proxy);
            });
    connect(this, &QWebEnginePage::loadStarted, this, [this] { FAnswered.clear(); });
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

void TWebPage::SetCredentialStore(TCredentialStore* store)
{
    if (FCredentials)
        disconnect(FCredentials, nullptr, this, nullptr);
    FCredentials = store;
    if (!store)
        return;
    // What the keyring says about a sign-in this page waits for: a reload with the stored
    // credentials, or the form.
    connect(store, &TCredentialStore::LookedUp, this, [this](const QString& key) {
        if (!FWaiting || FWaiting->Key != key)
            return;
        if (FCredentials->Known(key)) {
            FAnswered.remove(key);
            triggerAction(Reload);
        }
        else
            Q_EMIT SignInNeeded(*FWaiting);
    });
}

// A sign-in is answered from the credentials known for its address and realm, once a load:
// asked again in the same load, they were refused, and the user is asked instead. Without a
// store nothing is answered.
void TWebPage::AnswerSignIn(const QUrl& url, QAuthenticator* authenticator, const QString& proxy)
{
    const QString realm = authenticator->realm();
    const QString key = proxy.isEmpty()
        ? url.scheme() + QStringLiteral("://") + url.host() + QLatin1Char(':') + QString::number(url.port(url.scheme() == QLatin1String("https") ? 443 : 80)) + QLatin1Char(' ') + realm
        : QStringLiteral("proxy ") + proxy + QLatin1Char(' ') + realm;
    const std::optional<TCredentials> known = FCredentials ? FCredentials->Known(key) : std::nullopt;
    if (known && !FAnswered.contains(key)) {
        FAnswered.insert(key);
        authenticator->setUser(known->User);
        authenticator->setPassword(known->Password);
        return;
    }
    *authenticator = QAuthenticator();
    if (!FCredentials)
        return;
    if (known)
        FCredentials->Refuse(key);
    FWaiting = TSignInRequest{url, realm, key, known.has_value()};
    if (!known && !FCredentials->Asked(key)) {
        FCredentials->LookUp(key);
        return;
    }
    if (!FCredentials->Pending(key))
        Q_EMIT SignInNeeded(*FWaiting);
}

void TWebPage::SignIn(const TCredentials& credentials, bool remember, bool inFile)
{
    if (!FWaiting || !FCredentials)
        return;
    FCredentials->Keep(FWaiting->Key, credentials, remember, inFile);
    // New credentials are answered once again, even where the reload starts no new load.
    FAnswered.remove(FWaiting->Key);
    FWaiting.reset();
    triggerAction(Reload);
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

namespace {

QHash<QString, QWebEngineProfile*>& Profiles()
{
    static QHash<QString, QWebEngineProfile*> profiles;
    return profiles;
}

} // namespace

QWebEngineProfile* ProfileNamed(const QString& name)
{
    QHash<QString, QWebEngineProfile*>& profiles = Profiles();
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
    TPermissionRequest::KeepAnswersForTheRun(profile);
    TDownloads::Instance()->Attach(profile);
    profiles.insert(name, profile);
    return profile;
}

void ReleaseProfiles()
{
    const QList<QWebEngineProfile*> made = Profiles().values();
    Profiles().clear();
    qDeleteAll(made);
}
