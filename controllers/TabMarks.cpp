#include "controllers/TabMarks.h"

#include "platform/TabControl.h"

TTabMarks::TTabMarks(TTabControl* selector, std::function<int(TWebBrowser*)> siteOf, std::function<QString(int)> titleOf)
    : FSelector(selector), FSiteOf(std::move(siteOf)), FTitleOf(std::move(titleOf))
{
}

QString TTabMarks::Mark(TLoadState state)
{
    switch (state) {
    case TLoadState::Failed:
        return QStringLiteral(" (failed)");
    case TLoadState::SignIn:
        return QStringLiteral(" (sign in)");
    case TLoadState::Crashed:
        return QStringLiteral(" (crashed)");
    case TLoadState::Loading:
    case TLoadState::Loaded:
        break;
    }
    return QString();
}

void TTabMarks::Watch(TWebBrowser* page)
{
    connect(page, &TWebBrowser::LoadStateChanged, this, [this](TWebBrowser* sender) {
        if (const int site = FSiteOf(sender); site >= 0)
            FSelector->SetTabText(site, FTitleOf(site) + Mark(sender->LoadState()));
    });
}
