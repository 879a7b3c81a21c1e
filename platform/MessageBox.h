#pragma once

#include <QString>
#include <functional>

enum class TMessageIcon { NoIcon, Information, Critical };

// Every message box of the program goes through here, so that tests can answer them.
void MessageBox(const QString& caption, const QString& text, TMessageIcon icon);

// A command failed in a way the user can act on: "Information", information icon.
void ShowInformation(const QString& text);
// A plain notice: captioned with the application title, no icon.
void ShowNotice(const QString& text);
// An error that reached the top-level handler: application title, error icon.
void ShowError(const QString& text);

using TMessageBoxHook = std::function<void(const QString& caption, const QString& text, TMessageIcon icon)>;
// Replaces the modal box by the hook (an empty hook restores it); returns the previous hook.
TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook);
