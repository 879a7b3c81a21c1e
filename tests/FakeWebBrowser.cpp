#include "FakeWebBrowser.h"

#include "shared/KestException.h"

namespace {

QList<TFakeWebBrowser*>& Alive()
{
    static QList<TFakeWebBrowser*> pages;
    return pages;
}

} // namespace

TFakeWebBrowser::TFakeWebBrowser(QWidget* parent) : TWebBrowser(parent)
{
    Alive().append(this);
}

TFakeWebBrowser::~TFakeWebBrowser()
{
    Alive().removeAll(this);
}

TWebBrowser* TFakeWebBrowser::Create(QWidget* parent)
{
    return new TFakeWebBrowser(parent);
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
    Calls.append(QStringLiteral("Navigate ") + address);
    Url = address;
}

void TFakeWebBrowser::GoBack()
{
    Calls.append(QStringLiteral("GoBack"));
    if (FailBack)
        throw EKestException(QStringLiteral("no history back"));
}

void TFakeWebBrowser::GoForward()
{
    Calls.append(QStringLiteral("GoForward"));
    if (FailForward)
        throw EKestException(QStringLiteral("no history forward"));
}

void TFakeWebBrowser::Refresh2()
{
    Calls.append(QStringLiteral("Refresh2"));
    if (FailRefresh)
        throw EKestException(QStringLiteral("no document"));
}

void TFakeWebBrowser::Stop()
{
    Calls.append(QStringLiteral("Stop"));
}

QString TFakeWebBrowser::LocationURL() const
{
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

QWidget* TFakeWebBrowser::Application() const
{
    return const_cast<TFakeWebBrowser*>(this);
}

void TFakeWebBrowser::Load(const QString& address, const QString& title)
{
    Url = address;
    Title = title;
    Report(100, 100);
}

void TFakeWebBrowser::Report(int progress, int progressMax)
{
    Q_EMIT ProgressChange(this, progress, progressMax);
}
