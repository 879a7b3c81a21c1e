#include "browser/LoadRetry.h"

#include <QNetworkInformation>
#include <QWebEnginePage>

namespace {

// Chromium's network error codes that fall outside the connection and name domains.
constexpr int TimedOut = -7;
constexpr int NetworkChanged = -21;

// The system's word on the network, where the platform has one; loaded once.
QNetworkInformation* NetworkInformation()
{
    static const bool loaded = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    return loaded ? QNetworkInformation::instance() : nullptr;
}

} // namespace

TLoadRetry::TLoadRetry(QWebEnginePage* page) : QObject(page), FPage(page)
{
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, &TLoadRetry::Retry);
    connect(page, &QWebEnginePage::loadingChanged, this, &TLoadRetry::LoadingChanged);
    if (QNetworkInformation* network = NetworkInformation()) {
        connect(network, &QNetworkInformation::reachabilityChanged, this, [this](QNetworkInformation::Reachability reach) {
            if (reach == QNetworkInformation::Reachability::Online && Pending())
                Retry();
        });
    }
}

bool TLoadRetry::IsNetworkFailure(QWebEngineLoadingInfo::ErrorDomain domain, int errorCode)
{
    return domain == QWebEngineLoadingInfo::ConnectionErrorDomain || domain == QWebEngineLoadingInfo::DnsErrorDomain
           || errorCode == TimedOut || errorCode == NetworkChanged;
}

int TLoadRetry::PauseMs(int failures)
{
    qint64 pause = FirstPauseMs;
    for (int i = 1; i < failures && pause < LongestPauseMs; ++i)
        pause *= 2;
    return int(qMin<qint64>(pause, LongestPauseMs));
}

bool TLoadRetry::Pending() const
{
    return FTimer.isActive();
}

QUrl TLoadRetry::Url() const
{
    return FUrl;
}

void TLoadRetry::LoadingChanged(const QWebEngineLoadingInfo& loading)
{
    switch (loading.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        // The user, a script or an automation took the page to another address.
        if (!FUrl.isEmpty() && loading.url() != FUrl)
            Stop();
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        Stop();
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (!IsNetworkFailure(loading.errorDomain(), loading.errorCode())) {
            Stop();
            break;
        }
        FUrl = loading.url();
        FTimer.start(PauseMs(++FFailures));
        break;
    }
}

void TLoadRetry::Retry()
{
    FTimer.stop();
    FPage->load(FUrl);
}

void TLoadRetry::Stop()
{
    FTimer.stop();
    FUrl.clear();
    FFailures = 0;
}
