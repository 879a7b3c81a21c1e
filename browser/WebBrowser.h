#pragma once

#include <QDateTime>
#include <QString>
#include <QWidget>
#include <functional>

class TCertificateTrust;
class TCredentialStore;
class TPermissionDecisions;
class TWebNotification;

// Where a page's load stands: under way, done, ended by an error, waiting for a sign-in, or its
// renderer gone.
enum class TLoadState { Loading, Loaded, Failed, SignIn, Crashed };

// One browser page as the program uses it. A member that fails throws EKestException.
class TWebBrowser : public QWidget
{
    Q_OBJECT

public:
    explicit TWebBrowser(QWidget* parent = nullptr) : QWidget(parent)
    {
        connect(this, &TWebBrowser::ProgressChange, this, [this](TWebBrowser*, int progress, int progressMax) {
            if (progress >= progressMax && LoadState() == TLoadState::Loaded)
                FLastLoaded = QDateTime::currentDateTimeUtc();
        });
    }

    // When a load last ended well (UTC); invalid before the first.
    QDateTime LastLoaded() const { return FLastLoaded; }

    // With Silent on, the page shows no dialog boxes of its own.
    virtual bool Silent() const = 0;
    virtual void SetSilent(bool silent) = 0;

    // Returns at once; the load reports through ProgressChange.
    virtual void Navigate(const QString& address) = 0;
    // Fail when history has no entry that way.
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    // Reloads the current document; fails when there is none.
    virtual void Refresh2() = 0;
    virtual void Stop() = 0;

    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual bool Busy() const = 0;
    virtual TLoadState LoadState() const = 0;
    // The page's zoom in percent; it stays through navigation and reloads, and never reloads.
    virtual void SetZoom(int percent) = 0;
    // CSS put on every document the page shows, the one shown now too; empty: none.
    virtual void SetStyleSheet(const QString& css) = 0;
    // A long page scrolls by itself, one pass down taking these seconds (0: it stays); paused,
    // it holds where it is.
    virtual void SetScrollTime(int seconds) = 0;
    virtual void SetScrollPaused(bool paused) = 0;
    // The memory the page's renderer holds for itself, in bytes; -1 when unknown.
    virtual qint64 RendererMemory() const = 0;
    // The widget that takes the page's keyboard input.
    virtual QWidget* Application() const = 0;
    // The certificates the user trusts beyond the authorities'; none by default.
    virtual void SetCertificateTrust(TCertificateTrust*) {}
    // Where the credentials of sign-ins are kept; none by default, and nothing is answered.
    virtual void SetCredentialStore(TCredentialStore*) {}
    // The answers to permission requests, asked once; none by default, and every one is refused.
    virtual void SetPermissionDecisions(TPermissionDecisions*) {}
    // Marks the next (or previous) match of a text; `found` learns which of how many it is
    // (0 of 0: none). An empty text takes the marks away.
    virtual void FindText(const QString& text, bool backward, std::function<void(int active, int matches)> found) = 0;
    // Prints the document; `done` learns whether it went to the printer.
    virtual void Print(class QPrinter* printer, std::function<void(bool printed)> done) = 0;

Q_SIGNALS:
    // Every load ends with a report whose progress is not below its maximum.
    void ProgressChange(TWebBrowser* sender, int progress, int progressMax);
    // The document's title changed, by a load or by the page itself.
    void TitleChanged(TWebBrowser* sender, const QString& title);
    // LoadState() changed: a load began or ended, the page waits for a sign-in, its renderer went.
    void LoadStateChanged(TWebBrowser* sender);
    // The page wants a notification shown; it is the page's child.
    void NotificationShown(TWebBrowser* sender, TWebNotification* notification);

private:
    QDateTime FLastLoaded;
};

// Creates a page with its owner and parent, in the store of the profile named (cookies, storage
// and cache; empty: the store every site shares).
using TWebBrowserFactory = std::function<TWebBrowser*(QWidget* parent, const QString& profile)>;
