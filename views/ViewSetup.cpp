#include "views/ViewSetup.h"

#include "platform/HotTabStyle.h"
#include "platform/MessageBox.h"
#include "platform/RadioGroup.h"
#include "platform/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QHeaderView>
#include <QVBoxLayout>
#include <QScrollArea>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>

namespace {

constexpr int ClientWidth = 519;
constexpr int ClientHeight = 315;
constexpr int ZoomRole = Qt::UserRole;
const QString ManagedText = QStringLiteral("Your administrator manages these settings.");

QPushButton* AddButton(const TDialogUnits& units, QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFixedSize(units.X(65), units.Y(25));
    button->setAutoDefault(false);
    return button;
}

QCheckBox* AddCheckBox(const TDialogUnits& units, QWidget* parent, const QString& name, const QString& caption,
                       int left, int top)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->move(units.X(left), units.Y(top));
    box->adjustSize();
    return box;
}

TSpinEdit* AddNumberField(const TDialogUnits& units, QWidget* parent, const QString& name, int left, int top)
{
    auto* field = new TSpinEdit(parent);
    field->setObjectName(name);
    field->setGeometry(units.Rect(left, top, 49, 22));
    auto* unit = new QLabel(QStringLiteral("sec."), parent);
    unit->move(units.X(left + 49 + 6), units.Y(top + 4));
    unit->adjustSize();
    return field;
}

} // namespace

TfrmSetup::TfrmSetup() : FUnits(fontMetrics())
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Setup"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowStaysOnTopHint);
    // The design's size to begin with; it grows with a long site list in the user's hand, and
    // shrinks to a small screen with OK and Cancel still in reach (the pages scroll).
    resize(FUnits.X(ClientWidth), FUnits.Y(ClientHeight));
    setMinimumSize(FUnits.X(ClientWidth / 2), FUnits.Y(ClientHeight / 2));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(PageControl1, 1);
    THotTabStyle::Apply(PageControl1->tabBar());
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    // Its groups lie where the design has them; a small dialog scrolls them.
    auto* display = new QScrollArea;
    display->setFrameShape(QFrame::NoFrame);
    display->setWidget(new QWidget);
    TabSheet2 = display;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Sites"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Display"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Remote"));
    BuildSitesPage();
    BuildDisplayPage();
    BuildRemotePage();

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setFixedSize(FUnits.X(65), FUnits.Y(25));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setFixedSize(FUnits.X(65), FUnits.Y(25));
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, FUnits.Y(9), FUnits.X(8), FUnits.Y(8));
    buttons->setSpacing(FUnits.X(7));
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// The page tabs are as wide as the design has them, and share a narrower dialog.
void TfrmSetup::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int width = qMin(FUnits.X(172), (event->size().width() - 2) / qMax(PageControl1->count(), 1));
    // A style sheet set again polishes the bar again: only when the width changes.
    if (width != FTabWidth) {
        FTabWidth = width;
        PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { width: %1px; font-weight: bold; }").arg(width));
    }
}

void TfrmSetup::showEvent(QShowEvent* event)
{
    const QRect screen = this->screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    resize(size().boundedTo(screen.size() - frame));
    move(screen.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    QDialog::showEvent(event);
}

void TfrmSetup::BuildSitesPage()
{
    sgSites = new QTableWidget(0, 9, TabSheet1);
    sgSites->setObjectName(QStringLiteral("sgSites"));
    const int columns[] = {60, 84, 30, 42, 58, 42, 42, 34, 42};
    for (int column = 0; column < 9; ++column)
        sgSites->setColumnWidth(column, FUnits.X(columns[column]));
    sgSites->verticalHeader()->hide();
    sgSites->verticalHeader()->setDefaultSectionSize(FUnits.Y(16));
    sgSites->verticalHeader()->setMinimumSectionSize(FUnits.Y(16));
    sgSites->horizontalHeader()->setSectionsMovable(false);
    sgSites->horizontalHeader()->setSectionsClickable(false);
    sgSites->setShowGrid(true);
    sgSites->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSites->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgSites->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    // Every column keeps its width; a narrow dialog scrolls them.
    sgSites->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Tab leads on to the buttons and OK; the arrows move between cells.
    sgSites->setTabKeyNavigation(false);
    connect(sgSites, &QTableWidget::itemChanged, this, &TfrmSetup::MarkCell);
    sgSites->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    Button1 = AddButton(FUnits, TabSheet1, QStringLiteral("Button1"), QStringLiteral("&Up"));
    Button2 = AddButton(FUnits, TabSheet1, QStringLiteral("Button2"), QStringLiteral("&Down"));
    Button3 = AddButton(FUnits, TabSheet1, QStringLiteral("Button3"), QStringLiteral("&Add"));
    Button4 = AddButton(FUnits, TabSheet1, QStringLiteral("Button4"), QStringLiteral("&Remove"));
    btnExport = AddButton(FUnits, TabSheet1, QStringLiteral("btnExport"), QStringLiteral("E&xport…"));
    btnImport = AddButton(FUnits, TabSheet1, QStringLiteral("btnImport"), QStringLiteral("&Import…"));
    auto* page = new QGridLayout(TabSheet1);
    page->setContentsMargins(0, 0, FUnits.X(4), 0);
    page->setHorizontalSpacing(FUnits.X(12));
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->setContentsMargins(0, FUnits.Y(8), 0, 0);
    for (const auto& [button, gap] : {std::pair(Button1, 0), std::pair(Button2, 6), std::pair(Button3, 0),
                                      std::pair(Button4, 6), std::pair(btnExport, 0), std::pair(btnImport, 0)}) {
        column->addWidget(button);
        column->addSpacing(FUnits.Y(gap));
    }
    column->addStretch(1);
    page->addWidget(sgSites, 0, 0);
    page->addLayout(column, 0, 1);
    connect(Button1, &QPushButton::clicked, this, &TfrmSetup::byUpClick);
    connect(Button2, &QPushButton::clicked, this, &TfrmSetup::btDownClick);
    connect(Button3, &QPushButton::clicked, this, &TfrmSetup::bdAddClick);
    connect(Button4, &QPushButton::clicked, this, &TfrmSetup::btRemoveClick);

    lblSitesLocked = new QLabel(ManagedText, TabSheet1);
    lblSitesLocked->setObjectName(QStringLiteral("lblSitesLocked"));
    lblSitesLocked->hide();
    page->addWidget(lblSitesLocked, 1, 0, 1, 2);
}

void TfrmSetup::BuildDisplayPage()
{
    QWidget* content = static_cast<QScrollArea*>(TabSheet2)->widget();
    rgViewmode = new TRadioGroup(QStringLiteral("Browser selection"),
                                 {QStringLiteral("Buttons"), QStringLiteral("Flat buttons"), QStringLiteral("Tabs top"),
                                  QStringLiteral("Tabs bottom"), QStringLiteral("Tabs left"), QStringLiteral("Tabs right")},
                                 content);
    rgViewmode->setObjectName(QStringLiteral("rgViewmode"));
    rgViewmode->setGeometry(FUnits.Rect(8, 16, 145, 145));
    rgAddressBar = new TRadioGroup(QStringLiteral("Address (url)"),
                                   {QStringLiteral("Disabled"), QStringLiteral("Right from buttons"),
                                    QStringLiteral("Top"), QStringLiteral("Bottom")},
                                   content);
    rgAddressBar->setObjectName(QStringLiteral("rgAddressBar"));
    rgAddressBar->setGeometry(FUnits.Rect(168, 16, 137, 97));
    rgProgressbar = new TRadioGroup(QStringLiteral("Progressbar"),
                                    {QStringLiteral("Disabled"), QStringLiteral("Top"), QStringLiteral("Bottom")},
                                    content);
    rgProgressbar->setObjectName(QStringLiteral("rgProgressbar"));
    rgProgressbar->setGeometry(FUnits.Rect(168, 128, 137, 73));
    // A style whose buttons are taller than the design's gets groups tall enough for them.
    for (QWidget* group : std::initializer_list<QWidget*>{rgViewmode, rgAddressBar, rgProgressbar})
        group->resize(group->width(), qMax(group->height(), group->sizeHint().height()));
    rgProgressbar->move(rgProgressbar->x(), qMax(rgProgressbar->y(), rgAddressBar->geometry().bottom() + FUnits.Y(8)));

    lblDisplayLocked = new QLabel(ManagedText, content);
    lblDisplayLocked->setObjectName(QStringLiteral("lblDisplayLocked"));
    lblDisplayLocked->move(FUnits.X(8), FUnits.Y(244));
    lblDisplayLocked->adjustSize();
    lblDisplayLocked->hide();

    gbTimers = new QGroupBox(QStringLiteral("Automation timers"), content);
    gbTimers->setObjectName(QStringLiteral("gbTimers"));
    gbTimers->setGeometry(FUnits.Rect(320, 16, 185, 133));
    cbTimerRefresh = AddCheckBox(FUnits, gbTimers, QStringLiteral("cbTimerRefresh"), QStringLiteral("Refresh all"), 8, 24);
    edtTimerRefresh = AddNumberField(FUnits, gbTimers, QStringLiteral("edtTimerRefresh"), 88, 21);
    cbTimerCycle = AddCheckBox(FUnits, gbTimers, QStringLiteral("cbTimerCycle"), QStringLiteral("Cycle sites"), 8, 64);
    edtTimerCycle = AddNumberField(FUnits, gbTimers, QStringLiteral("edtTimerCycle"), 88, 61);
    auto* pause = new QLabel(QStringLiteral("&Pause"), gbTimers);
    pause->setObjectName(QStringLiteral("lblTimerCyclePause"));
    pause->move(FUnits.X(26), FUnits.Y(104));
    pause->adjustSize();
    edtTimerCyclePause = AddNumberField(FUnits, gbTimers, QStringLiteral("edtTimerCyclePause"), 88, 101);
    pause->setBuddy(edtTimerCyclePause);
    edtTimerCyclePause->setToolTip(QStringLiteral("Seconds without input in the window before cycling goes on; 0: never waits"));

    GroupBox1 = new QGroupBox(QStringLiteral("Hints"), content);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(FUnits.Rect(320, 160, 185, 81));
    cbHintProgressbar = AddCheckBox(FUnits, GroupBox1, QStringLiteral("cbHintProgressbar"), QStringLiteral("Progressbar"), 8, 24);
    cbHintBrowserselection = AddCheckBox(FUnits, GroupBox1, QStringLiteral("cbHintBrowserselection"),
                                         QStringLiteral("Browser selection"), 8, 48);
    QRect all;
    for (const QWidget* child : content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        all |= child->geometry();
    content->resize(all.right() + FUnits.X(8), all.bottom() + FUnits.Y(8));
}

void TfrmSetup::BuildRemotePage()
{
    auto* form = new QFormLayout(TabSheet3);
    form->setContentsMargins(FUnits.X(8), FUnits.Y(8), FUnits.X(8), FUnits.Y(4));
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto field = [this, form](const QString& name, const QString& caption, const QString& placeholder) {
        auto* edit = new QLineEdit(TabSheet3);
        edit->setObjectName(name);
        edit->setPlaceholderText(placeholder);
        form->addRow(caption, edit);
        return edit;
    };
    edtMqttBroker = field(QStringLiteral("edtMqttBroker"), QStringLiteral("MQTT &broker"), QStringLiteral("mqtt://broker.lan or mqtts://broker.lan:8883; empty: off"));
    edtMqttUser = field(QStringLiteral("edtMqttUser"), QStringLiteral("&User"), QStringLiteral("none"));
    edtMqttPassword = field(QStringLiteral("edtMqttPassword"), QStringLiteral("Pass&word"), QString());
    edtMqttPassword->setEchoMode(QLineEdit::Password);
    edtMqttName = field(QStringLiteral("edtMqttName"), QStringLiteral("Screen &name"), QString());
    edtMqttGroups = field(QStringLiteral("edtMqttGroups"), QStringLiteral("&Groups"), QStringLiteral("lobby,floor-2"));
    edtMqttDiscovery = field(QStringLiteral("edtMqttDiscovery"), QStringLiteral("Home Assistant &prefix"), QStringLiteral("empty: not announced"));
    edtMqttCaFile = field(QStringLiteral("edtMqttCaFile"), QStringLiteral("&Authorities file"), QStringLiteral("for mqtts; empty: the system's"));
    lblMqttStatus = new QLabel(TabSheet3);
    lblMqttStatus->setObjectName(QStringLiteral("lblMqttStatus"));
    lblMqttStatus->setWordWrap(true);
    lblMqttStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(lblMqttStatus);
    lblRemoteLocked = new QLabel(ManagedText, TabSheet3);
    lblRemoteLocked->setObjectName(QStringLiteral("lblRemoteLocked"));
    lblRemoteLocked->hide();
    form->addRow(lblRemoteLocked);
}

void TfrmSetup::SetRemoteLocked(bool locked)
{
    for (QLineEdit* edit : {edtMqttBroker, edtMqttUser, edtMqttPassword, edtMqttName, edtMqttGroups, edtMqttDiscovery, edtMqttCaFile})
        edit->setReadOnly(locked);
    lblRemoteLocked->setVisible(locked);
}

void TfrmSetup::SetCell(int row, int column, const QString& text)
{
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    QTableWidgetItem* item = sgSites->item(row, column);
    if (item) {
        item->setText(shown);
    } else {
        item = new QTableWidgetItem(shown);
        sgSites->setItem(row, column, item);
    }
    MarkCell(item);
}

QString TfrmSetup::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgSites->item(row, column);
    return item ? item->text() : QString();
}

void TfrmSetup::SetSite(int row, const TSiteRow& site)
{
    SetCell(row, TitleColumn, site.Title);
    SetCell(row, AddressColumn, site.Address);
    SetCell(row, CycleColumn, site.CycleTime);
    SetCell(row, RefreshColumn, site.RefreshTime);
    SetCell(row, ScheduleColumn, site.Schedule);
    SetCell(row, ProfileColumn, site.Profile);
    SetCell(row, StyleColumn, site.Style);
    SetCell(row, ScrollColumn, site.Scroll);
    SetCell(row, ScreenColumn, site.Screen);
    sgSites->item(row, 0)->setData(ZoomRole, site.Zoom);
}

TSiteRow TfrmSetup::Site(int row) const
{
    const QTableWidgetItem* title = sgSites->item(row, 0);
    return {CellText(row, 0), CellText(row, 1), CellText(row, 2), CellText(row, 3),
            title ? title->data(ZoomRole).toString() : QString(), CellText(row, ScheduleColumn).trimmed(),
            CellText(row, ProfileColumn).trimmed(), CellText(row, StyleColumn).trimmed(), CellText(row, ScrollColumn),
            CellText(row, ScreenColumn).trimmed()};
}

namespace {

// Edits a cell in a list that takes other text too.
class TChoiceDelegate : public QStyledItemDelegate
{
public:
    TChoiceDelegate(const QStringList& choices, QObject* parent) : QStyledItemDelegate(parent), FChoices(choices) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* editor = new QComboBox(parent);
        editor->setEditable(true);
        editor->addItems(FChoices);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString().trimmed());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const QString text = static_cast<QComboBox*>(editor)->currentText().trimmed();
        model->setData(index, text.isEmpty() ? QStringLiteral(" ") : text, Qt::EditRole);
    }

private:
    QStringList FChoices;
};

} // namespace

void TfrmSetup::SetColumnChoices(int column, const QStringList& choices)
{
    sgSites->setItemDelegateForColumn(column, new TChoiceDelegate(choices, sgSites));
}

void TfrmSetup::SetColumnRule(int column, const TColumnRule& rule)
{
    FRules.insert(column, rule);
    if (QTableWidgetItem* header = sgSites->horizontalHeaderItem(column))
        header->setToolTip(rule.Hint);
    for (int row = 0; row < sgSites->rowCount(); ++row) {
        if (QTableWidgetItem* item = sgSites->item(row, column))
            MarkCell(item);
    }
}

// An entry that can't be read is not dropped unseen: the grid shows it in red and says what
// counts instead.
void TfrmSetup::MarkCell(QTableWidgetItem* item)
{
    const TColumnRule rule = FRules.value(item->column());
    const bool readable = !rule.Readable || rule.Readable(item->text().trimmed());
    const QSignalBlocker quiet(sgSites);
    item->setForeground(readable ? sgSites->palette().text() : QBrush(Qt::red));
    item->setToolTip(readable ? QString() : rule.Unreadable);
}

void TfrmSetup::SetSitesLocked(bool locked)
{
    sgSites->setEditTriggers(locked ? QAbstractItemView::NoEditTriggers
                                    : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    for (QPushButton* button : {Button1, Button2, Button3, Button4, btnExport, btnImport})
        button->setEnabled(!locked);
    lblSitesLocked->setVisible(locked);
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
    TSiteRow site;
    site.Title = QStringLiteral("New");
    site.Address = QStringLiteral("about:blank");
    SetSite(row, site);
    // The new site's address is what is typed next.
    sgSites->setFocus(Qt::OtherFocusReason);
    sgSites->setCurrentCell(row, AddressColumn);
    sgSites->editItem(sgSites->item(row, AddressColumn));
}

void TfrmSetup::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // A cell's editor lies on the grid's viewport.
    if (enter && sgSites->viewport()->isAncestorOf(focusWidget())) {
        sgSites->setFocus(Qt::OtherFocusReason);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmSetup::accept()
{
    for (int row = 0; row < sgSites->rowCount(); ++row) {
        for (auto rule = FRules.cbegin(); rule != FRules.cend(); ++rule) {
            const QString entry = CellText(row, rule.key()).trimmed();
            if (!rule->MustRead || !rule->Readable || rule->Readable(entry))
                continue;
            PageControl1->setCurrentWidget(TabSheet1);
            sgSites->setFocus(Qt::OtherFocusReason);
            sgSites->setCurrentCell(row, rule.key());
            ShowInformation(QStringLiteral("Site %1, %2: \"%3\". %4")
                                .arg(row + 1)
                                .arg(sgSites->horizontalHeaderItem(rule.key()) ? sgSites->horizontalHeaderItem(rule.key())->text() : QString())
                                .arg(entry, rule->Unreadable));
            return;
        }
    }
    QDialog::accept();
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
