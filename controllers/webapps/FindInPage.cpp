#include "controllers/webapps/FindInPage.h"

#include "controllers/ControllerMain.h"
#include "platform/MessageBox.h"
#include "platform/PrintDialog.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QToolButton>

TFindInPage::TFindInPage(TCMain& main) : FMain(main)
{
    TfrmMain* form = main.MainForm;
    connect(form->FindAction, &QAction::triggered, this, &TFindInPage::Open);
    connect(form->FindNextAction, &QAction::triggered, this, [this] { Step(false); });
    connect(form->FindPreviousAction, &QAction::triggered, this, [this] { Step(true); });
    connect(form->btnFindNext, &QToolButton::clicked, this, [this] { Step(false); });
    connect(form->btnFindPrevious, &QToolButton::clicked, this, [this] { Step(true); });
    connect(form->btnCloseFind, &QToolButton::clicked, this, [this] { Close(true); });
    connect(form->edtFind, &QLineEdit::textEdited, this, [this] { Find(false); });
    connect(&main, &TCMain::ShownChanged, this, [this] { Close(false); });
    form->edtFind->installEventFilter(this);
}

void TFindInPage::Open()
{
    TfrmMain* form = FMain.MainForm;
    form->pnlFind->show();
    form->PlaceFindField();
    form->edtFind->setFocus();
    form->edtFind->selectAll();
}

void TFindInPage::Step(bool backward)
{
    if (FMain.MainForm->pnlFind->isHidden() || FMain.MainForm->edtFind->text().isEmpty()) {
        Open();
        return;
    }
    Find(backward);
}

void TFindInPage::Close(bool focusPage)
{
    TfrmMain* form = FMain.MainForm;
    if (form->pnlFind->isHidden())
        return;
    form->pnlFind->hide();
    form->lblFindMatches->clear();
    if (TWebBrowser* shown = FMain.Browser(FMain.CurrentIndex())) {
        shown->FindText(QString(), false, [](int, int) {});
        if (focusPage)
            shown->Application()->setFocus();
    }
}

void TFindInPage::Find(bool backward)
{
    TWebBrowser* shown = FMain.Browser(FMain.CurrentIndex());
    if (!shown)
        return;
    const QString text = FMain.MainForm->edtFind->text();
    QPointer<QLabel> matches = FMain.MainForm->lblFindMatches;
    shown->FindText(text, backward, [matches, empty = text.isEmpty()](int active, int total) {
        if (!matches)
            return;
        if (empty)
            matches->clear();
        else
            matches->setText(total > 0 ? QStringLiteral("%1 of %2").arg(active).arg(total) : QStringLiteral("No matches"));
    });
}

bool TFindInPage::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        Close(true);
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        Find(key->modifiers().testFlag(Qt::ShiftModifier));
        return true;
    }
    return false;
}

TPrintPage::TPrintPage(TCMain& main) : FMain(main)
{
    QObject::connect(main.MainForm->PrintAction, &QAction::triggered, main.MainForm, [this] { Print(); });
}

void TPrintPage::Print()
{
    TWebBrowser* shown = FMain.Browser(FMain.CurrentIndex());
    if (!shown)
        return;
    // The printer lives until the page has been printed on it.
    auto* printer = new QPrinter(QPrinter::HighResolution);
    if (!AskPrinter(printer, FMain.MainForm)) {
        delete printer;
        return;
    }
    shown->Print(printer, [printer](bool printed) {
        delete printer;
        if (!printed)
            ShowInformation(QStringLiteral("Can't print this page."));
    });
}
