#include "browser/WebEngineBrowser.h"

#include "browser/AutoScroll.h"
#include "browser/CertificatePage.h"
#include "browser/CertificateTrust.h"
#include "browser/CredentialStore.h"
#include "browser/EngineNotification.h"
#include "browser/NotificationRouter.h"
#include "browser/SignInPage.h"
#include "browser/SiteStyle.h"
#include "browser/PageVisibility.h"
#include "browser/PermissionBar.h"
#include "browser/PermissionDecisions.h"
#include "browser/PermissionRequest.h"
#include "browser/WebPage.h"
#include "platform/ProcessMemory.h"
#include "shared/KestException.h"

#include <QApplication>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNotification>
#include <QWebEngineView>

namespace {

constexpr int FullProgress = 100;

} // namespace

TWebEngineBrowser::TWebEngineBrowser(QWidget* parent, const QString& profile)
    : TWebBrowser(parent), FView(new QWebEngineView(this)), FPage(new TWebPage(ProfileNamed(profile), FView))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FView);
    FView->setPage(FPage);
    new TPageVisibility(FView, FPage);
    TNotificationRouter::Attach(this, FPage->profile());
    connect(FPage, &TWebPage::CertificateRefused, this, &TWebEngineBrowser::ShowRefused);
    connect(FPage, &TWebPage::SignInNeeded, this, &TWebEngineBrowser::ShowSignIn);
    connect(FPage, &QWebEnginePage::titleChanged, this, [this](const QString& title) { Q_EMIT TitleChanged(this, title); });
    TPermissionRequest::Watch(
        FPage, this, [this](const TPermissionRequest& request) { AskPermission(request); },
        [this](const TPermissionRequest& request) {
            const bool asked = !FPermissionRequests.isEmpty() && FPermissionRequests.first() == request;
            FPermissionRequests.removeAll(request);
            if (asked)
                AskNextPermission();
        });
    connect(FPage, &QWebEnginePage::loadStarted, this, [this] {
        for (QWidget* overlay : std::initializer_list<QWidget*>{FCertificatePage, FSignInPage}) {
            if (overlay)
                Uncover(overlay);
        }
        FBusy = true;
        SetLoadState(TLoadState::Loading);
        Q_EMIT ProgressChange(this, 0, FullProgress);
    });
    connect(FPage, &QWebEnginePage::loadProgress, this, [this](int progress) {
        // The last report of a load comes with loadFinished, with the title known.
        if (progress < FullProgress)
            Q_EMIT ProgressChange(this, progress, FullProgress);
    });
    connect(FPage, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        FBusy = false;
        if (FLoadState == TLoadState::Loading)
            SetLoadState(ok ? TLoadState::Loaded : TLoadState::Failed);
        // A document of another site may come in a new renderer at the engine's own zoom.
        if (!qFuzzyCompare(FPage->zoomFactor(), FZoomFactor))
            FPage->setZoomFactor(FZoomFactor);
        Q_EMIT ProgressChange(this, FullProgress, FullProgress);
    });
    // A load that was stopped, or a navigation that became a download, leaves the page as it
    // was: nothing failed.
    connect(FPage, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& loading) {
        const bool stopped = loading.status() == QWebEngineLoadingInfo::LoadStoppedStatus;
        if (stopped && (FLoadState == TLoadState::Loading || FLoadState == TLoadState::Failed))
            SetLoadState(TLoadState::Loaded);
    });
    connect(FPage, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    SetLoadState(TLoadState::Crashed);
            });
}

// The page goes before the profile it lives in, and before the view that shows it.
TWebEngineBrowser::~TWebEngineBrowser()
{
    FView->setPage(nullptr);
    delete FPage;
}

TWebBrowser* TWebEngineBrowser::Create(QWidget* parent, const QString& profile)
{
    return new TWebEngineBrowser(parent, profile);
}

bool TWebEngineBrowser::Silent() const
{
    return FPage->Silent();
}

void TWebEngineBrowser::SetSilent(bool silent)
{
    FPage->SetSilent(silent);
}

void TWebEngineBrowser::Navigate(const QString& address)
{
    const QUrl url = QUrl::fromUserInput(address);
    FBusy = true;
    FPage->load(url.isValid() ? url : QUrl(QStringLiteral("about:blank")));
}

void TWebEngineBrowser::GoBack()
{
    if (!FPage->history()->canGoBack())
        throw EKestException(QStringLiteral("There is no earlier page in this page's history."));
    FPage->history()->back();
}

void TWebEngineBrowser::GoForward()
{
    if (!FPage->history()->canGoForward())
        throw EKestException(QStringLiteral("There is no later page in this page's history."));
    FPage->history()->forward();
}

void TWebEngineBrowser::Refresh2()
{
    if (FPage->url().isEmpty())
        throw EKestException(QStringLiteral("This page has no document to reload."));
    FPage->triggerAction(QWebEnginePage::Reload);
}

void TWebEngineBrowser::Stop()
{
    FPage->triggerAction(QWebEnginePage::Stop);
}

TLoadState TWebEngineBrowser::LoadState() const
{
    return FLoadState;
}

QString TWebEngineBrowser::LocationURL() const
{
    return FPage->url().toString();
}

// A document without a title of its own is named by its full address.
QString TWebEngineBrowser::LocationName() const
{
    const QString title = FPage->title();
    const QUrl url = FPage->url();
    if (title.isEmpty() || title == url.toString(QUrl::RemoveScheme).mid(2) || title == url.toString())
        return url.toString();
    return title;
}

bool TWebEngineBrowser::Busy() const
{
    return FBusy;
}

void TWebEngineBrowser::SetZoom(int percent)
{
    FZoomFactor = percent / 100.0;
    FPage->setZoomFactor(FZoomFactor);
}

void TWebEngineBrowser::SetStyleSheet(const QString& css)
{
    ApplySiteStyle(*FPage, css);
}

void TWebEngineBrowser::SetScrollTime(int seconds)
{
    ApplyAutoScroll(*FPage, seconds);
}

void TWebEngineBrowser::SetScrollPaused(bool paused)
{
    PauseAutoScroll(*FPage, paused);
}

qint64 TWebEngineBrowser::RendererMemory() const
{
    return PrivateMemoryOf(FPage->renderProcessPid());
}

QWidget* TWebEngineBrowser::Application() const
{
    return FView->focusProxy() ? FView->focusProxy() : FView;
}

void TWebEngineBrowser::ShowNotification(std::unique_ptr<QWebEngineNotification> notification)
{
    // Where nothing shows notifications (a system without a session bus), none is kept.
    if (!isSignalConnected(QMetaMethod::fromSignal(&TWebBrowser::NotificationShown)))
        return;
    Q_EMIT NotificationShown(this, new TEngineNotification(std::move(notification), this));
}

QWebEngineView* TWebEngineBrowser::View() const
{
    return FView;
}

TCertificatePage* TWebEngineBrowser::CertificatePage() const
{
    return FCertificatePage;
}

void TWebEngineBrowser::SetCertificateTrust(TCertificateTrust* trust)
{
    FTrust = trust;
    FPage->SetCertificateTrust(trust);
}

// The page lies over the view, which goes on as it was (the engine's own error page).
void TWebEngineBrowser::ShowRefused(const TRefusedCertificate& refused)
{

    if (!FCertificatePage) {
        FCertificatePage = new TCertificatePage(this);
        FCertificatePage->setGeometry(rect());
    }
    disconnect(FCertificatePage, &TCertificatePage::TrustClicked, this, nullptr);
    connect(FCertificatePage, &TCertificatePage::TrustClicked, this, [this, refused] {
        if (!FTrust)
            return;
        FTrust->Trust(refused.Url, refused.Certificate);
        Uncover(FCertificatePage);
        FPage->load(refused.Url);
    });
    Cover(FCertificatePage, FCertificatePage->btnTrust, [&] {
        FCertificatePage->Show(refused, refused.Overridable && FTrust, FTrust && FTrust->Locked());
    });
}

// The page's own stand-in takes the page's place in the Tab order, and its focus.
void TWebEngineBrowser::Cover(QWidget* overlay, QWidget* focus, const std::function<void()>& show)
{
    const QWidget* focused = QApplication::focusWidget();
    const bool pageHadFocus = focused && (focused == FView->focusProxy() || FView->isAncestorOf(focused) || isAncestorOf(focused));
    FView->setEnabled(false);
    show();
    if (pageHadFocus)
        (focus->isVisibleTo(overlay) ? focus : overlay)->setFocus(Qt::OtherFocusReason);
}

void TWebEngineBrowser::Uncover(QWidget* overlay)
{
    const QWidget* focused = QApplication::focusWidget();
    const bool overlayHadFocus = overlay->isAncestorOf(focused);
    FView->setEnabled(true);
    overlay->hide();
    if (overlayHadFocus)
        FView->setFocus(Qt::OtherFocusReason);
}

void TWebEngineBrowser::FindText(const QString& text, bool backward, std::function<void(int active, int matches)> found)
{
    FPage->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags(),
                    [found = std::move(found)](const QWebEngineFindTextResult& result) {
                        found(result.activeMatch(), result.numberOfMatches());
                    });
}

void TWebEngineBrowser::Print(QPrinter* printer, std::function<void(bool printed)> done)
{
    auto* connection = new QMetaObject::Connection;
    *connection = connect(FView, &QWebEngineView::printFinished, this, [connection, done = std::move(done)](bool printed) {
        disconnect(*connection);
        delete connection;
        done(printed);
    });
    FView->print(printer);
}

// Sites allowed notifications before find them allowed from their first script on.
void TWebEngineBrowser::SetPermissionDecisions(TPermissionDecisions* decisions)
{
    FDecisions = decisions;
    TPermissionRequest::Preset(FPage, decisions->Decided(TPermissionRequest::NotificationsFeature()));
}

TPermissionBar* TWebEngineBrowser::PermissionBar() const
{
    return FPermissionBar;
}

// Answered from the stored decision, or asked in the bar; with none to keep it in, or with the
// administrator's list alone, what is not decided is refused. The page's request always settles.
void TWebEngineBrowser::AskPermission(const TPermissionRequest& request)
{
    const std::optional<bool> known = FDecisions ? FDecisions->Allowed(request.Origin(), request.Feature()) : std::nullopt;
    if (known || !FDecisions || FDecisions->Locked()) {
        request.Answer(known.value_or(false));
        return;
    }
    FPermissionRequests.append(request);
    if (FPermissionRequests.size() == 1)
        AskNextPermission();
}

void TWebEngineBrowser::AnswerPermission(bool allow)
{
    if (FPermissionRequests.isEmpty())
        return;
    const TPermissionRequest answered = FPermissionRequests.first();
    if (FDecisions)
        FDecisions->Decide(answered.Origin(), answered.Feature(), allow);
    // The same question asked again while waiting gets the same answer.
    for (const TPermissionRequest& request : std::as_const(FPermissionRequests)) {
        if (request == answered)
            request.Answer(allow);
    }
    FPermissionRequests.removeAll(answered);
    AskNextPermission();
}

void TWebEngineBrowser::AskNextPermission()
{
    if (FPermissionRequests.isEmpty()) {
        // Answered from the bar, the keys go back to the page, not on to the next control.
        if (FPermissionBar && FPermissionBar->isAncestorOf(QApplication::focusWidget()))
            FView->setFocus(Qt::OtherFocusReason);
        if (FPermissionBar)
            FPermissionBar->hide();
        return;
    }
    if (!FPermissionBar) {
        // Above the page, which moves down for it: the page's own header stays in sight.
        FPermissionBar = new TPermissionBar(this);
        FPermissionBar->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        static_cast<QVBoxLayout*>(layout())->insertWidget(0, FPermissionBar);
        connect(FPermissionBar, &TPermissionBar::Answered, this, &TWebEngineBrowser::AnswerPermission);
    }
    const TPermissionRequest& next = FPermissionRequests.first();
    FPermissionBar->Ask(next.Origin(), next.Wish());
}

void TWebEngineBrowser::SetCredentialStore(TCredentialStore* store)
{
    FCredentials = store;
    FPage->SetCredentialStore(store);
}

TSignInPage* TWebEngineBrowser::SignInPage() const
{
    return FSignInPage;
}

void TWebEngineBrowser::ShowSignIn(const TSignInRequest& request)
{
    if (!FSignInPage) {
        FSignInPage = new TSignInPage(this);
        FSignInPage->setGeometry(rect());
        connect(FSignInPage, &TSignInPage::SignIn, this, [this](const QString& user, const QString& password, bool remember, bool inFile) {
            Uncover(FSignInPage);
            FPage->SignIn({user, password}, remember, inFile);
        });
    }
    // A refused password is typed again; the user name stays.
    Cover(FSignInPage, request.Refused ? FSignInPage->edtPassword : FSignInPage->edtUser,
          [&] { FSignInPage->Show(request, FCredentials && FCredentials->KeyringAvailable()); });
    SetLoadState(TLoadState::SignIn);
}

void TWebEngineBrowser::SetLoadState(TLoadState state)
{
    if (state == FLoadState)
        return;
    FLoadState = state;
    Q_EMIT LoadStateChanged(this);
}

void TWebEngineBrowser::resizeEvent(QResizeEvent* event)
{
    TWebBrowser::resizeEvent(event);
    for (QWidget* overlay : std::initializer_list<QWidget*>{FCertificatePage, FSignInPage}) {
        if (overlay)
            overlay->setGeometry(rect());
    }
}
