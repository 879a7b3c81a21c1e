#include "browser/PermissionBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TPermissionBar::TPermissionBar(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PermissionBar"));
    setAutoFillBackground(true);
    QPalette shade = palette();
    shade.setColor(QPalette::Window, shade.color(QPalette::AlternateBase));
    setPalette(shade);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 4, 8, 4);
    lblQuestion = new QLabel(this);
    lblQuestion->setTextFormat(Qt::PlainText);
    lblQuestion->setWordWrap(true);
    btnAllow = new QPushButton(QStringLiteral("&Allow"), this);
    btnAllow->setObjectName(QStringLiteral("btnAllow"));
    btnBlock = new QPushButton(QStringLiteral("&Block"), this);
    btnBlock->setObjectName(QStringLiteral("btnBlock"));
    row->addWidget(lblQuestion, 1);
    row->addWidget(btnAllow);
    row->addWidget(btnBlock);
    connect(btnAllow, &QPushButton::clicked, this, [this] { Q_EMIT Answered(true); });
    connect(btnBlock, &QPushButton::clicked, this, [this] { Q_EMIT Answered(false); });
    hide();
}

void TPermissionBar::Ask(const QUrl& origin, const QString& what)
{
    lblQuestion->setText(origin.host().isEmpty() ? origin.toString() + QStringLiteral(" wants to ") + what + QLatin1Char('.')
                                                 : origin.host() + QStringLiteral(" wants to ") + what + QLatin1Char('.'));
    show();
    raise();
}
