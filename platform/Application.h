#pragma once

#include <QApplication>

// The application object: its title names the program, and its top-level handler shows the
// text of any error that escapes an event handler and lets the message loop go on.
class TApplication : public QApplication
{
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The maker's name, which groups the per-user settings and data of its programs.
inline constexpr const char* MakerName = "Quenbrook";

QString ApplicationTitle();

// The application's main window: the first window the controller creates.
QWidget* ApplicationMainForm();
void SetApplicationMainForm(QWidget* form);
void SetApplicationTitle(const QString& title);

// The title with every space removed, trimmed of blanks and control characters at both ends,
// then every apostrophe removed, letter case kept.
QString ProductKeyOf(const QString& title);
