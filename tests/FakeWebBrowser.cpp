#include "FakeWebBrowser.h"

#include "shared/KestException.h"

namespace {

QList<TFakeWebBrowser*>& Alive()
{
    static QList<TFakeWebBrowser*> pages;
    return pages;
}

} // namespace

TFakeWebBrowser::TFakeWebBrowser(QWidget* parent) : TWebBrowser(parent), FailNavigate(FailNewPages())
{
    Alive().append(this);
}

bool& TFakeWebBrowser::FailNewPages()
{
    static bool fail = false;
    return fail;
}

TFakeWebBrowser::~TFakeWebBrowser()
{
    Record(QStringLiteral("destroyed"));
    Alive().removeAll(this);
}

QStringList& TFakeWebBrowser::Journal()
{
    static QStringList journal;
    return journal;
}

void TFakeWebBrowser::Record(const QString& call)
{
    Calls.append(call);
    Journal().append(Url + QLatin1Char(' ') + call);
}

TWebBrowser* TFakeWebBrowser::Create(QWidget* parent, const QString& profile)
{
    auto* page = new TFakeWebBrowser(parent);
    page->Profile = profile;
    return page;
}

QList<TFakeWebBrowser*> TFakeWebBrowser::Pages()
{
    return Alive();
}

bool TFakeWebBrowser::Silent() const
{
    return FSilent;
}

void TFakeWebBrowser::SetSilent(bool silent)
{
    FSilent = silent;
}

void TFakeWebBrowser::Navigate(const QString& address)
{
    Record(QStringLiteral("Navigate ") + address);
    if (FailNavigate)
        throw EKestException(QStringLiteral("navigation refused"));
    Url = address;
}

void TFakeWebBrowser::GoBack()
{
    Record(QStringLiteral("GoBack"));
    if (FailBack)
        throw EKestException(QStringLiteral("no history back"));
}

void TFakeWebBrowser::GoForward()
{
    Record(QStringLiteral("GoForward"));
    if (FailForward)
        throw EKestException(QStringLiteral("no history forward"));
}

void TFakeWebBrowser::Refresh2()
{
    Record(QStringLiteral("Refresh2"));
    if (FailRefresh)
        throw EKestException(QStringLiteral("no document"));
}

void TFakeWebBrowser::SetZoom(int percent)
{
    Zoom = percent;
}

void TFakeWebBrowser::SetStyleSheet(const QString& css)
{
    StyleSheet = css;
}

void TFakeWebBrowser::SetScrollTime(int seconds)
{
    ScrollTime = seconds;
}

void TFakeWebBrowser::SetScrollPaused(bool paused)
{
    ScrollPaused = paused;
}

qint64 TFakeWebBrowser::RendererMemory() const
{
    return Memory;
}

void TFakeWebBrowser::Stop()
{
    Record(QStringLiteral("Stop"));
}

QString TFakeWebBrowser::LocationURL() const
{
    Journal().append(Url + QStringLiteral(" LocationURL"));
    if (FailLocation)
        throw EKestException(QStringLiteral("page gone"));
    return Url;
}

QString TFakeWebBrowser::LocationName() const
{
    return Title;
}

bool TFakeWebBrowser::Busy() const
{
    return false;
}

void TFakeWebBrowser::FindText(const QString& text, bool backward, std::function<void(int active, int matches)> found)
{
    Record(QStringLiteral("FindText ") + text + (backward ? QStringLiteral(" backward") : QString()));
    found(0, 0);
}

void TFakeWebBrowser::Print(QPrinter*, std::function<void(bool printed)> done)
{
    Record(QStringLiteral("Print"));
    done(false);
}

TLoadState TFakeWebBrowser::LoadState() const
{
    return State;
}

QWidget* TFakeWebBrowser::Application() const
{
    return const_cast<TFakeWebBrowser*>(this);
}

void TFakeWebBrowser::Load(const QString& address, const QString& title)
{
    Url = address;
    Title = title;
    SetState(TLoadState::Loaded);
    Report(100, 100);
}

void TFakeWebBrowser::SetState(TLoadState state)
{
    State = state;
    Q_EMIT LoadStateChanged(this);
}

void TFakeWebBrowser::Report(int progress, int progressMax)
{
    Q_EMIT ProgressChange(this, progress, progressMax);
}
