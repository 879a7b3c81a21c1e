#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QWebEngineLoadingInfo>

class QWebEnginePage;

// Loads a page again by itself after its load failed for a network reason (refused, reset,
// name not resolved, timed out, network changed): after 5 s, then pauses that double up to
// 5 minutes, until it loads; at once when the system says the network is back. It never
// touches an HTTP error page, and gives up when the page is taken elsewhere.
class TLoadRetry : public QObject
{
    Q_OBJECT

public:
    static constexpr int FirstPauseMs = 5000;
    static constexpr int LongestPauseMs = 300000;

    explicit TLoadRetry(QWebEnginePage* page);

    // Whether a failed load is one that a working network would mend.
    static bool IsNetworkFailure(QWebEngineLoadingInfo::ErrorDomain domain, int errorCode);
    // The pause after `failures` failed loads in a row, from 1.
    static int PauseMs(int failures);

    bool Pending() const;
    QUrl Url() const;

private:
    void LoadingChanged(const QWebEngineLoadingInfo& loading);
    void Retry();
    void Stop();

    QWebEnginePage* FPage;
    QTimer FTimer;
    QUrl FUrl;
    int FFailures = 0;
};
