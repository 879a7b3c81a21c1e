// The main window's parts beyond its design: the find field over the shown page and the line
// at its foot on how a download goes.
#include "views/ViewMain.h"

#include "platform/TabControl.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

void TfrmMain::BuildFindField()
{
    pnlFind = new QFrame(tcBrowserContainer->ClientArea());
    pnlFind->setObjectName(QStringLiteral("pnlFind"));
    static_cast<QFrame*>(pnlFind)->setFrameShape(QFrame::StyledPanel);
    pnlFind->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(pnlFind);
    row->setContentsMargins(6, 3, 3, 3);
    edtFind = new QLineEdit(pnlFind);
    edtFind->setObjectName(QStringLiteral("edtFind"));
    edtFind->setPlaceholderText(QStringLiteral("Find in page"));
    edtFind->setMinimumWidth(edtFind->fontMetrics().averageCharWidth() * 24);
    lblFindMatches = new QLabel(pnlFind);
    lblFindMatches->setObjectName(QStringLiteral("lblFindMatches"));
    lblFindMatches->setMinimumWidth(lblFindMatches->fontMetrics().horizontalAdvance(QStringLiteral("No matches")));
    const auto addButton = [this, row](const QString& name, const QString& caption, const QString& hint) {
        auto* button = new QToolButton(pnlFind);
        button->setObjectName(name);
        button->setText(caption);
        button->setToolTip(hint);
        button->setAutoRaise(true);
        row->addWidget(button);
        return button;
    };
    row->addWidget(edtFind);
    row->addWidget(lblFindMatches);
    btnFindPrevious = addButton(QStringLiteral("btnFindPrevious"), QStringLiteral("▲"), QStringLiteral("Previous (Shift+Enter)"));
    btnFindNext = addButton(QStringLiteral("btnFindNext"), QStringLiteral("▼"), QStringLiteral("Next (Enter)"));
    btnCloseFind = addButton(QStringLiteral("btnCloseFind"), QStringLiteral("×"), QStringLiteral("Close (Escape)"));
    pnlFind->hide();
}

// At the bottom right of the page, above it: the top is where a page asks for a permission.
void TfrmMain::PlaceFindField()
{
    QWidget* client = tcBrowserContainer->ClientArea();
    pnlFind->adjustSize();
    pnlFind->move(qMax(0, client->width() - pnlFind->width() - 16), qMax(0, client->height() - pnlFind->height()));
    pnlFind->raise();
}

void TfrmMain::BuildDownloadNote()
{
    pnlDownloadNote = new QWidget(this);
    pnlDownloadNote->setObjectName(QStringLiteral("pnlDownloadNote"));
    auto* note = new QHBoxLayout(pnlDownloadNote);
    note->setContentsMargins(6, 2, 2, 2);
    lblDownloadNote = new QLabel(pnlDownloadNote);
    lblDownloadNote->setObjectName(QStringLiteral("lblDownloadNote"));
    lblDownloadNote->setTextFormat(Qt::RichText);
    lblDownloadNote->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    note->addWidget(lblDownloadNote, 1);
    btnCancelDownload = new QToolButton(pnlDownloadNote);
    btnCancelDownload->setObjectName(QStringLiteral("btnCancelDownload"));
    btnCancelDownload->setText(QStringLiteral("Cancel"));
    btnCancelDownload->setToolTip(QStringLiteral("Stop this download; nothing of it is kept"));
    btnCancelDownload->hide();
    note->addWidget(btnCancelDownload);
    btnCloseDownloadNote = new QToolButton(pnlDownloadNote);
    btnCloseDownloadNote->setObjectName(QStringLiteral("btnCloseDownloadNote"));
    btnCloseDownloadNote->setText(QStringLiteral("×"));
    btnCloseDownloadNote->setToolTip(QStringLiteral("Close"));
    btnCloseDownloadNote->setAutoRaise(true);
    note->addWidget(btnCloseDownloadNote);
    connect(btnCloseDownloadNote, &QToolButton::clicked, pnlDownloadNote, &QWidget::hide);
    pnlDownloadNote->hide();
}
