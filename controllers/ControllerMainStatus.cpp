// The status display: the progress bar, the address bar and the page selector's hints.
#include "controllers/ControllerMain.h"
#include "controllers/webapps/UnreadCounts.h"

#include "platform/TabControl.h"

#include <QLineEdit>
#include <QProgressBar>
#include <cmath>

namespace {

// The rounded percentage of a load, halves to the even neighbour, at most 100.
qint64 Percentage(int progress, int progressMax)
{
    const long double percent = static_cast<long double>(progress) / progressMax * 100;
    return qMin<qint64>(100, static_cast<qint64>(std::nearbyint(percent)));
}

} // namespace

void TCMain::BrowserProgressChange(TWebBrowser* sender, int progress, int progressMax)
{
    if (!sender || sender != Browser(CurrentIndex()))
        return;
    TfrmMain* form = MainForm;
    TCRegistry* settings = Registry();
    if (progress < progressMax) {
        form->edtAddress->setEnabled(false);
    } else {
        ActualAddress = sender->LocationURL();
        ActualTitle = sender->LocationName();
        form->edtAddress->setText(ActualAddress);
        form->edtAddress->setEnabled(true);
        const int current = CurrentIndex();
        const QString pageTitle = TUnreadCounts::WithoutCount(ActualTitle);
        if (settings->Titles.value(current) == TCRegistry::NewSiteTitle && !settings->SitesLocked() && !pageTitle.trimmed().isEmpty()
            && !pageTitle.contains(QStringLiteral("http:")) && !pageTitle.contains(QStringLiteral("about:"))) {
            SetSiteTitle(pageTitle);
            settings->Urls[current] = ActualAddress;
        }
    }
    QProgressBar* bar = form->ProgressBar;
    if (progressMax > 0)
        bar->setToolTip(QStringLiteral("Loading...  %1%").arg(Percentage(progress, progressMax)));
    bar->setRange(qMin(0, progressMax), progressMax);
    bar->setValue(qBound(bar->minimum(), progress, bar->maximum()));
    bar->setVisible(progress != progressMax && settings->ProgressBar > 0 && !settings->FullScreen);
}

void TCMain::TabMouseMove(Qt::KeyboardModifiers, int x, int y)
{
    TTabControl* selector = MainForm->tcBrowserContainer;
    HoverTabIndex = selector->IndexOfTabAt(QPoint(x, y));
    const int i = HoverTabIndex;
    TWebBrowser* page = Browser(i);
    if (!page || i >= Registry()->SiteCount()) {
        selector->setToolTip(QString());
        return;
    }
    const QString lineBreak = QStringLiteral("\n\r");
    const QString gap = lineBreak + lineBreak;
    selector->setToolTip(lineBreak + QStringLiteral("Home title: ") + Registry()->Titles.at(i) + gap
                         + QStringLiteral("Home address: ") + Registry()->Urls.value(i) + gap
                         + QStringLiteral("Actual title: ") + page->LocationName() + gap
                         + QStringLiteral("Actual address: ") + page->LocationURL());
}

void TCMain::SetSiteTitle(const QString& title)
{
    const int current = CurrentIndex();
    if (current >= Registry()->SiteCount())
        return;
    Registry()->Titles[current] = title;
    MainForm->tcBrowserContainer->SetTabText(current, title);
}

