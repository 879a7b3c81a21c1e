#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class TFileDialogKind { Save, Open };

// Asks the user for a file to write or to read, in the system's file dialog; empty when the
// user cancels. Every file dialog of the program goes through here, so that tests can answer.
QString AskFileName(QWidget* parent, TFileDialogKind kind, const QString& caption, const QString& filter);

using TFileDialogHook = std::function<QString(TFileDialogKind kind, const QString& caption)>;
// Replaces the dialog by the hook (an empty hook restores it); returns the previous hook.
TFileDialogHook SetFileDialogHook(TFileDialogHook hook);
