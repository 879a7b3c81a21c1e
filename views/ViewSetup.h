#pragma once

#include "platform/DialogUnits.h"

#include <QDialog>
#include <QHash>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTabWidget;
class TRadioGroup;
class TSpinEdit;

// A row of the site grid: its columns' texts, and the site's zoom, which moves with the row.
struct TSiteRow
{
    QString Title;
    QString Address;
    QString CycleTime;
    QString RefreshTime;
    QString Zoom;
    QString Schedule;
    QString Profile;
    QString Style;
    QString Scroll;
    QString Screen;
};

// The setup dialog: the site list on one page, display and timer options on the next, and the
// broker a fleet of screens is run from on the last.
// It edits only its own controls; the controller fills them and copies them back.
class TfrmSetup : public QDialog
{
    Q_OBJECT

public:
    TfrmSetup();

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QTableWidget* sgSites;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    QPushButton* btnExport;
    QPushButton* btnImport;
    TRadioGroup* rgViewmode;
    TRadioGroup* rgAddressBar;
    TRadioGroup* rgProgressbar;
    QGroupBox* gbTimers;
    QCheckBox* cbTimerRefresh;
    TSpinEdit* edtTimerRefresh;
    QCheckBox* cbTimerCycle;
    TSpinEdit* edtTimerCycle;
    TSpinEdit* edtTimerCyclePause;
    QGroupBox* GroupBox1;
    QCheckBox* cbHintProgressbar;
    QCheckBox* cbHintBrowserselection;
    QLabel* lblSitesLocked;
    QLabel* lblDisplayLocked;
    // The MQTT broker a fleet of screens is run from.
    QLineEdit* edtMqttBroker;
    QLineEdit* edtMqttUser;
    QLineEdit* edtMqttPassword;
    QLineEdit* edtMqttName;
    QLineEdit* edtMqttGroups;
    QLineEdit* edtMqttDiscovery;
    QLineEdit* edtMqttCaFile;
    QLabel* lblMqttStatus;
    QLabel* lblRemoteLocked;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    enum TSiteColumn { TitleColumn, AddressColumn, CycleColumn, RefreshColumn, ScheduleColumn, ProfileColumn, StyleColumn, ScrollColumn, ScreenColumn };
    // A site row of the grid, from 0; an empty text is shown as a single space.
    void SetSite(int row, const TSiteRow& site);
    TSiteRow Site(int row) const;
    QString CellText(int row, int column) const;
    // What a column of the grid takes: the hint of its header, and for a column whose entries
    // can be wrong, which can be read and what the grid says of one that can't (in red).
    struct TColumnRule
    {
        QString Hint;
        std::function<bool(const QString&)> Readable;
        QString Unreadable;
        // An entry that can't be read would be stored as something else: OK is refused until it is mended.
        bool MustRead = false;
    };
    void SetColumnRule(int column, const TColumnRule& rule);
    // A column whose cells are edited in a list of these entries, any other text still allowed.
    void SetColumnChoices(int column, const QStringList& choices);

    // A page the administrator manages is shown read-only, with a line that says so.
    void SetSitesLocked(bool locked);
    void SetDisplayLocked(bool locked);
    void SetRemoteLocked(bool locked);

    void bdAddClick();
    void btRemoveClick();
    void byUpClick();
    void btDownClick();

    // OK: refused, with the cell shown and what is wrong said, while an entry can't be read.
    void accept() override;

protected:
    // The dialog opens centred on the screen at every showing.
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Enter in a cell being edited ends the edit, as in every grid; OK is the next Enter.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetCell(int row, int column, const QString& text);
    void MarkCell(QTableWidgetItem* item);
    void SwapRows(int first, int second);
    void BuildSitesPage();
    void BuildDisplayPage();
    void BuildRemotePage();

    QHash<int, TColumnRule> FRules;
    int FTabWidth = 0;

    // The designed geometry in the font in use.
    const TDialogUnits FUnits;
};
