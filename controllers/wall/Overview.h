#pragma once

#include "browser/WebBrowser.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class TfrmOverview;

// A site as the overview shows it.
struct TOverviewSite {
    TWebBrowser* Page;
    QString Title;
};

// Every site at once over the main window, each a picture of its page renewed every few seconds,
// with its title and its state marked as its tab marks it. Opening asks for every page to be
// drawn (a collapsed page has nothing to show), closing for them to be put back.
class TOverview : public QObject
{
    Q_OBJECT

public:
    using TSites = std::function<QList<TOverviewSite>()>;
    TOverview(QWidget* window, TSites sites);
    ~TOverview() override;

    void Open(int current);
    void Close();
    bool IsOpen() const;

    // Seconds between pictures.
    static constexpr int RenewSeconds = 3;

Q_SIGNALS:
    // Every page is to be drawn now, or put back as it was.
    void Opening();
    void Closed();
    void Picked(int site);

private:
    // The captions, and the pictures too where asked.
    void Renew(bool pictures);

    QWidget* FWindow;
    TSites FSites;
    QPointer<TfrmOverview> FView;
    QTimer FRenew;
};
