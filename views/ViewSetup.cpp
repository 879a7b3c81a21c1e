#include "views/ViewSetup.h"

#include "platform/HotTabStyle.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"
#include "platform/SpinEdit.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {

constexpr int ClientWidth = 519;
constexpr int ClientHeight = 315;
constexpr int ButtonBarHeight = 43;
constexpr int GridButtonColumn = 77;
constexpr int ZoomRole = Qt::UserRole;
const QString ManagedText = QStringLiteral("Your administrator manages these settings.");

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption, int left, int top)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, top, 65, 25);
    button->setAutoDefault(false);
    return button;
}

QCheckBox* AddCheckBox(QWidget* parent, const QString& name, const QString& caption, int left, int top)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->move(left, top);
    box->adjustSize();
    return box;
}

TSpinEdit* AddNumberField(QWidget* parent, const QString& name, int left, int top)
{
    auto* field = new TSpinEdit(parent);
    field->setObjectName(name);
    field->setGeometry(left, top, 49, 22);
    auto* unit = new QLabel(QStringLiteral("sec."), parent);
    unit->move(left + 49 + 6, top + 4);
    return field;
}

} // namespace

TfrmSetup::TfrmSetup()
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Setup"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(ClientWidth, ClientHeight);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, ClientWidth, ClientHeight - ButtonBarHeight);
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { width: 258px; font-weight: bold; }"));
    THotTabStyle::Apply(PageControl1->tabBar());
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Sites"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Display"));
    BuildSitesPage();
    BuildDisplayPage();

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(374, ClientHeight - ButtonBarHeight + 9, 65, 25);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(446, ClientHeight - ButtonBarHeight + 9, 65, 25);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSetup::showEvent(QShowEvent* event)
{
    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    QDialog::showEvent(event);
}

void TfrmSetup::BuildSitesPage()
{
    const int pageWidth = ClientWidth - 8;
    const int pageHeight = ClientHeight - ButtonBarHeight - 30;
    sgSites = new QTableWidget(0, 4, TabSheet1);
    sgSites->setObjectName(QStringLiteral("sgSites"));
    sgSites->setGeometry(0, 0, pageWidth - GridButtonColumn, pageHeight);
    sgSites->setColumnWidth(0, 110);
    sgSites->setColumnWidth(1, 206);
    sgSites->setColumnWidth(2, 54);
    sgSites->setColumnWidth(3, 54);
    sgSites->verticalHeader()->hide();
    sgSites->verticalHeader()->setDefaultSectionSize(16);
    sgSites->verticalHeader()->setMinimumSectionSize(16);
    sgSites->horizontalHeader()->setSectionsMovable(false);
    sgSites->horizontalHeader()->setSectionsClickable(false);
    sgSites->setShowGrid(true);
    sgSites->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSites->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgSites->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    sgSites->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sgSites->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const int left = pageWidth - GridButtonColumn + 8;
    Button1 = AddButton(TabSheet1, QStringLiteral("Button1"), QStringLiteral("&Up"), left, 8);
    Button2 = AddButton(TabSheet1, QStringLiteral("Button2"), QStringLiteral("&Down"), left, 32);
    Button3 = AddButton(TabSheet1, QStringLiteral("Button3"), QStringLiteral("&Add"), left, 64);
    Button4 = AddButton(TabSheet1, QStringLiteral("Button4"), QStringLiteral("&Remove"), left, 88);
    connect(Button1, &QPushButton::clicked, this, &TfrmSetup::byUpClick);
    connect(Button2, &QPushButton::clicked, this, &TfrmSetup::btDownClick);
    connect(Button3, &QPushButton::clicked, this, &TfrmSetup::bdAddClick);
    connect(Button4, &QPushButton::clicked, this, &TfrmSetup::btRemoveClick);

    lblSitesLocked = new QLabel(ManagedText, TabSheet1);
    lblSitesLocked->setObjectName(QStringLiteral("lblSitesLocked"));
    lblSitesLocked->hide();
}

void TfrmSetup::BuildDisplayPage()
{
    rgViewmode = new TRadioGroup(QStringLiteral("Browser selection"),
                                 {QStringLiteral("Buttons"), QStringLiteral("Flat buttons"), QStringLiteral("Tabs top"),
                                  QStringLiteral("Tabs bottom"), QStringLiteral("Tabs left"), QStringLiteral("Tabs right")},
                                 TabSheet2);
    rgViewmode->setObjectName(QStringLiteral("rgViewmode"));
    rgViewmode->setGeometry(8, 16, 145, 145);
    rgAddressBar = new TRadioGroup(QStringLiteral("Address (url)"),
                                   {QStringLiteral("Disabled"), QStringLiteral("Right from buttons"),
                                    QStringLiteral("Top"), QStringLiteral("Bottom")},
                                   TabSheet2);
    rgAddressBar->setObjectName(QStringLiteral("rgAddressBar"));
    rgAddressBar->setGeometry(168, 16, 137, 97);
    rgProgressbar = new TRadioGroup(QStringLiteral("Progressbar"),
                                    {QStringLiteral("Disabled"), QStringLiteral("Top"), QStringLiteral("Bottom")},
                                    TabSheet2);
    rgProgressbar->setObjectName(QStringLiteral("rgProgressbar"));
    rgProgressbar->setGeometry(168, 128, 137, 73);

    lblDisplayLocked = new QLabel(ManagedText, TabSheet2);
    lblDisplayLocked->setObjectName(QStringLiteral("lblDisplayLocked"));
    lblDisplayLocked->move(8, 244);
    lblDisplayLocked->adjustSize();
    lblDisplayLocked->hide();

    gbTimers = new QGroupBox(QStringLiteral("Automation timers"), TabSheet2);
    gbTimers->setObjectName(QStringLiteral("gbTimers"));
    gbTimers->setGeometry(320, 16, 185, 133);
    cbTimerRefresh = AddCheckBox(gbTimers, QStringLiteral("cbTimerRefresh"), QStringLiteral("Refresh all"), 8, 24);
    edtTimerRefresh = AddNumberField(gbTimers, QStringLiteral("edtTimerRefresh"), 88, 21);
    cbTimerCycle = AddCheckBox(gbTimers, QStringLiteral("cbTimerCycle"), QStringLiteral("Cycle sites"), 8, 64);
    edtTimerCycle = AddNumberField(gbTimers, QStringLiteral("edtTimerCycle"), 88, 61);
    auto* pause = new QLabel(QStringLiteral("&Pause"), gbTimers);
    pause->setObjectName(QStringLiteral("lblTimerCyclePause"));
    pause->move(26, 104);
    pause->adjustSize();
    edtTimerCyclePause = AddNumberField(gbTimers, QStringLiteral("edtTimerCyclePause"), 88, 101);
    pause->setBuddy(edtTimerCyclePause);
    edtTimerCyclePause->setToolTip(QStringLiteral("Seconds without input in the window before cycling goes on; 0: never waits"));

    GroupBox1 = new QGroupBox(QStringLiteral("Hints"), TabSheet2);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(320, 160, 185, 73);
    cbHintProgressbar = AddCheckBox(GroupBox1, QStringLiteral("cbHintProgressbar"), QStringLiteral("Progressbar"), 8, 16);
    cbHintBrowserselection = AddCheckBox(GroupBox1, QStringLiteral("cbHintBrowserselection"),
                                         QStringLiteral("Browser selection"), 8, 40);
}

void TfrmSetup::SetCell(int row, int column, const QString& text)
{
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    if (QTableWidgetItem* item = sgSites->item(row, column))
        item->setText(shown);
    else
        sgSites->setItem(row, column, new QTableWidgetItem(shown));
}

QString TfrmSetup::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgSites->item(row, column);
    return item ? item->text() : QString();
}

void TfrmSetup::SetSite(int row, const TSiteRow& site)
{
    SetCell(row, 0, site.Title);
    SetCell(row, 1, site.Address);
    SetCell(row, 2, site.CycleTime);
    SetCell(row, 3, site.RefreshTime);
    sgSites->item(row, 0)->setData(ZoomRole, site.Zoom);
}

TSiteRow TfrmSetup::Site(int row) const
{
    const QTableWidgetItem* title = sgSites->item(row, 0);
    return {CellText(row, 0), CellText(row, 1), CellText(row, 2), CellText(row, 3),
            title ? title->data(ZoomRole).toString() : QString()};
}

void TfrmSetup::SetSitesLocked(bool locked)
{
    sgSites->setEditTriggers(locked ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        button->setEnabled(!locked);
    lblSitesLocked->setVisible(locked);
    const int pageHeight = ClientHeight - ButtonBarHeight - 30;
    const int line = locked ? lblSitesLocked->sizeHint().height() + 6 : 0;
    sgSites->resize(sgSites->width(), pageHeight - line);
    lblSitesLocked->setGeometry(0, pageHeight - line + 4, sgSites->width(), line - 4);
}

void TfrmSetup::SetDisplayLocked(bool locked)
{
    for (QWidget* group : std::initializer_list<QWidget*>{rgViewmode, rgAddressBar, rgProgressbar, gbTimers, GroupBox1})
        group->setEnabled(!locked);
    lblDisplayLocked->setVisible(locked);
}

void TfrmSetup::SwapRows(int first, int second)
{
    const TSiteRow site = Site(first);
    SetSite(first, Site(second));
    SetSite(second, site);
}

void TfrmSetup::bdAddClick()
{
    const int row = sgSites->rowCount();
    sgSites->setRowCount(row + 1);
    SetSite(row, {QStringLiteral("New"), QStringLiteral("about:blank"), QString(), QString(), QString()});
    sgSites->setCurrentCell(row, qMax(sgSites->currentColumn(), 0));
}

void TfrmSetup::btRemoveClick()
{
    const int rows = sgSites->rowCount();
    if (rows < 2) {
        ShowNotice(QStringLiteral("There must be at least one site in the list.\n\r"
                                  "You can edit this site by clicking the title or the address."));
        return;
    }
    const int current = qMax(sgSites->currentRow(), 0);
    const int column = qMax(sgSites->currentColumn(), 0);
    for (int row = current; row < rows - 1; ++row)
        SetSite(row, Site(row + 1));
    sgSites->setRowCount(rows - 1);
    sgSites->setCurrentCell(qMin(current, rows - 2), column);
}

void TfrmSetup::byUpClick()
{
    const int current = sgSites->currentRow();
    if (current <= 0)
        return;
    SwapRows(current, current - 1);
    sgSites->setCurrentCell(current - 1, sgSites->currentColumn());
}

void TfrmSetup::btDownClick()
{
    const int current = sgSites->currentRow();
    if (current < 0 || current >= sgSites->rowCount() - 1)
        return;
    SwapRows(current, current + 1);
    sgSites->setCurrentCell(current + 1, sgSites->currentColumn());
}
