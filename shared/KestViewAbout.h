#pragma once

#include <QDialog>
#include <QPointer>

class QFrame;
class QLabel;
class QPushButton;
class TEasterEggsForm;

// The About box: title, version and build, the maker's mail and web links. It fades in and
// out, closes when another window of the program takes the focus, and shows a hidden page
// while it is open when that page's word is typed.
class TfrmAbout : public QDialog
{
    Q_OBJECT

public:
    TfrmAbout();
    ~TfrmAbout() override;

    QFrame* Panel2;
    QPushButton* OKButton;
    QFrame* HostPanel;
    QFrame* AboutPanel;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* lblDonation;
    QLabel* lblEmail;
    QLabel* lblSoftware;
    QLabel* lblSite;
    QFrame* Shape1;
    QLabel* Label1;
    // What the program is built on, under the line.
    QLabel* lblBuiltOn;

    // 0 while open; 1 (OK) or 2 (Cancel) once the box is to close.
    int ModalResult = 0;

    QString ProductKey() const;
    TEasterEggsForm* EasterEggs() const;
    QFrame* ShownPanel() const;
    QString Typed() const;

    void FormKeyPress(QChar& key);
    void RevealTypedPage();
    void FillFrom(const QString& title, quint32 fileVersionMS, quint32 fileVersionLS, bool hideDonation);
    // A line on what the program is built on, with more in its hint; no line when empty.
    void SetBuiltOn(const QString& line, const QString& hint);

    // Refused close requests and Escape: the box closes only through ShowAboutBox.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Show(QFrame* panel);

    QString FProductKey;
    QPointer<TEasterEggsForm> FEasterEggs;
    QString FTyped;
    QFrame* FShownPanel;
};

// Opens the web page through the shell.
void OpenWebPage(const QString& address);

// Builds, shows and runs the About box; returns once it is closed and destroyed. The
// application's main window takes no input meanwhile and is always enabled again.
void ShowAboutBox(bool hideDonation, const QString& builtOn = QString(), const QString& builtOnHint = QString());
