#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTabWidget;
class TRadioGroup;
class TSpinEdit;

// The setup dialog: the site list on one page, display and timer options on the other.
// It edits only its own controls; the controller fills them and copies them back.
class TfrmSetup : public QDialog
{
    Q_OBJECT

public:
    TfrmSetup();

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QTableWidget* sgSites;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
    TRadioGroup* rgViewmode;
    TRadioGroup* rgAddressBar;
    TRadioGroup* rgProgressbar;
    QGroupBox* gbTimers;
    QCheckBox* cbTimerRefresh;
    TSpinEdit* edtTimerRefresh;
    QCheckBox* cbTimerCycle;
    TSpinEdit* edtTimerCycle;
    QGroupBox* GroupBox1;
    QCheckBox* cbHintProgressbar;
    QCheckBox* cbHintBrowserselection;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // A site row of the grid, from 0; an empty text is shown as a single space.
    void SetSite(int row, const QString& title, const QString& address);
    QString CellText(int row, int column) const;

    void bdAddClick();
    void btRemoveClick();
    void byUpClick();
    void btDownClick();

protected:
    // The dialog opens centred on the screen at every showing.
    void showEvent(QShowEvent* event) override;

private:
    void SetCell(int row, int column, const QString& text);
    void SwapRows(int first, int second);
    void BuildSitesPage();
    void BuildDisplayPage();
};
