#include "controllers/webapps/UnreadCounts.h"

#include "controllers/ControllerMain.h"
#include "platform/TabControl.h"

#include <QRegularExpression>

TUnreadCounts::TUnreadCounts(TCMain& main) : FMain(main) {}

void TUnreadCounts::Watch(TWebBrowser* page)
{
    QObject::connect(page, &TWebBrowser::TitleChanged, FMain.MainForm, [this](TWebBrowser* sender, const QString& title) {
        if (const int i = FMain.PageOf(sender->Application()); i >= 0)
            FMain.MainForm->tcBrowserContainer->SetTabBadge(i, CountOf(title));
    });
}

namespace {

const QRegularExpression& LeadingCount()
{
    static const QRegularExpression count(QStringLiteral("^\\s*\\((\\d{1,6}\\+?)\\)\\s+"));
    return count;
}

} // namespace

QString TUnreadCounts::CountOf(const QString& title)
{
    const QRegularExpressionMatch match = LeadingCount().match(title);
    return match.hasMatch() && match.captured(1) != QLatin1String("0") ? match.captured(1) : QString();
}

QString TUnreadCounts::WithoutCount(const QString& title)
{
    const QRegularExpressionMatch match = LeadingCount().match(title);
    return match.hasMatch() ? title.mid(match.capturedLength()) : title;
}
