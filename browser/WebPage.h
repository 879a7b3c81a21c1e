#pragma once

#include "browser/CertificatePage.h"
#include "browser/CredentialStore.h"
#include "browser/SignInPage.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QSet>
#include <optional>
#include <QWebEnginePage>

class TCertificateTrust;

// The web policy of one page: silent pages show no dialogs of the engine's own and answer no
// authentication; a bad certificate is accepted only where the user trusted that very one; new windows open in the page itself; a crashed renderer reloads;
// a load that failed for a network reason is tried again; a page that stops answering is
// recovered; a page nobody sees has its garbage collected.
class TWebPage : public QWebEnginePage
{
    Q_OBJECT

public:
    TWebPage(QWebEngineProfile* profile, QObject* parent);

    bool Silent() const;
    void SetSilent(bool silent);
    void SetCertificateTrust(TCertificateTrust* trust);
    void SetCredentialStore(TCredentialStore* store);
    // The user's answer to the sign-in the page waits for: kept, and the page loads again.
    void SignIn(const TCredentials& credentials, bool remember, bool inFile);

Q_SIGNALS:
    void CertificateRefused(const TRefusedCertificate& refused);
    void SignInNeeded(const TSignInRequest& request);

protected:
    void javaScriptAlert(const QUrl& origin, const QString& message) override;
    bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
    bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& defaultValue,
                          QString* result) override;

private:
    void AnswerCertificate(const QWebEngineCertificateError& error);
    void AnswerSignIn(const QUrl& url, QAuthenticator* authenticator, const QString& proxy);
    void RecoverFromCrash(RenderProcessTerminationStatus status);
    void OpenInPlace(const class QWebEngineNewWindowRequest& request);

    bool FSilent = false;
    QPointer<TCertificateTrust> FTrust;
    QPointer<TCredentialStore> FCredentials;
    // The sign-ins answered in the current load.
    QSet<QString> FAnswered;
    std::optional<TSignInRequest> FWaiting;
    bool FWindowLoadPending = false;
    QElapsedTimer FSinceCrash;
    int FReloadDelayMs = 0;
};

// The persistent profile of that name, made at its first use and kept to the program's end:
// cookies and storage survive a restart. Sites without a name share the one of the empty name.
QWebEngineProfile* ProfileNamed(const QString& name);
// Frees every profile made, once no page is left: the engine shuts down at the application's end
// and must find no profile then (Qt 6.8's crashes at times when it does).
void ReleaseProfiles();
