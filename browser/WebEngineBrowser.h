#pragma once

#include "browser/PermissionRequest.h"
#include "browser/WebBrowser.h"

#include <QPointer>
#include <memory>

class QWebEngineNotification;
class QWebEngineView;
class TCertificatePage;
class TPermissionBar;
class TSignInPage;
struct TSignInRequest;
class TWebPage;
struct TRefusedCertificate;

// A browser page on QtWebEngine, in the program's shared profile.
class TWebEngineBrowser : public TWebBrowser
{
    Q_OBJECT

public:
    TWebEngineBrowser(QWidget* parent, const QString& profile);
    ~TWebEngineBrowser() override;

    static TWebBrowser* Create(QWidget* parent, const QString& profile);

    bool Silent() const override;
    void SetSilent(bool silent) override;
    void Navigate(const QString& address) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh2() override;
    void Stop() override;
    QString LocationURL() const override;
    QString LocationName() const override;
    bool Busy() const override;
    TLoadState LoadState() const override;
    void SetZoom(int percent) override;
    void SetStyleSheet(const QString& css) override;
    void SetScrollTime(int seconds) override;
    void SetScrollPaused(bool paused) override;
    qint64 RendererMemory() const override;
    QWidget* Application() const override;
    void SetCertificateTrust(TCertificateTrust* trust) override;
    void SetCredentialStore(TCredentialStore* store) override;
    void SetPermissionDecisions(TPermissionDecisions* decisions) override;
    // The question of the first permission request waiting for an answer; null until one came.
    TPermissionBar* PermissionBar() const;
    void FindText(const QString& text, bool backward, std::function<void(int active, int matches)> found) override;
    void Print(QPrinter* printer, std::function<void(bool printed)> done) override;

    // A notification of this page's document, as the engine handed it over.
    void ShowNotification(std::unique_ptr<QWebEngineNotification> notification);

    QWebEngineView* View() const;
    // The program's own page over a page whose certificate was refused; null until one was.
    TCertificatePage* CertificatePage() const;
    // The program's own sign-in form over a page that waits for one; null until one did.
    TSignInPage* SignInPage() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowRefused(const TRefusedCertificate& refused);
    void ShowSignIn(const TSignInRequest& request);
    // Shows a page of the program's own over the web page; `focus` takes the focus if the page had it.
    void Cover(QWidget* overlay, QWidget* focus, const std::function<void()>& show);
    void Uncover(QWidget* overlay);
    void SetLoadState(TLoadState state);
    void AskPermission(const TPermissionRequest& request);
    void AnswerPermission(bool allow);
    void AskNextPermission();

    QWebEngineView* FView;
    TCertificatePage* FCertificatePage = nullptr;
    TSignInPage* FSignInPage = nullptr;
    QPointer<TCredentialStore> FCredentials;
    QPointer<TPermissionDecisions> FDecisions;
    TPermissionBar* FPermissionBar = nullptr;
    // Permission requests waiting for an answer, first the one asked.
    QList<TPermissionRequest> FPermissionRequests;
    QPointer<TCertificateTrust> FTrust;
    TWebPage* FPage;
    bool FBusy = false;
    TLoadState FLoadState = TLoadState::Loading;
    qreal FZoomFactor = 1.0;
};
