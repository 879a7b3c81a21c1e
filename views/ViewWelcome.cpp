#include "views/ViewWelcome.h"

#include "browser/OwnPage.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmWelcome::TfrmWelcome(QWidget* parent) : QWidget(parent)
{
    QVBoxLayout* layout = LayOutOwnPage(this, QStringLiteral("WelcomePage"), QStringLiteral("Welcome to Orvanta"));
    auto* about = new QLabel(QStringLiteral("Orvanta keeps the web sites you choose open side by side, each in a live page of "
                                            "its own, and shows one at a time. It switches between them and reloads them by "
                                            "itself if you like: for a wall screen, or for the web apps you keep open all day."),
                             this);
    about->setWordWrap(true);
    layout->addWidget(about);
    btnAddSite = new QPushButton(QStringLiteral("&Add your first site"), this);
    btnAddSite->setObjectName(QStringLiteral("btnAddSite"));
    layout->addWidget(btnAddSite, 0, Qt::AlignLeft);
    auto* keys = new QLabel(QStringLiteral("<table cellpadding=2>"
                                           "<tr><td><b>F11</b>&nbsp;&nbsp;</td><td>full screen, the page alone</td></tr>"
                                           "<tr><td><b>Alt+M</b></td><td>the main menu, in full screen too</td></tr>"
                                           "<tr><td><b>Ctrl+Tab</b></td><td>the next site</td></tr>"
                                           "<tr><td><b>F5</b></td><td>reload the shown site</td></tr>"
                                           "<tr><td><b>Ctrl+plus, Ctrl+minus</b>&nbsp;&nbsp;</td><td>zoom the shown site</td></tr>"
                                           "</table>"),
                            this);
    keys->setTextFormat(Qt::RichText);
    layout->addWidget(keys);
    layout->addStretch();
}
