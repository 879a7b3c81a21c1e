#pragma once

#include <functional>

class QPrinter;
class QWidget;

// Lets the user choose the printer (or a PDF file) and its settings in the system's print
// dialog; false when they cancel. Every print dialog goes through here, so that tests can answer.
bool AskPrinter(QPrinter* printer, QWidget* parent);

using TPrintDialogHook = std::function<bool(QPrinter* printer)>;
// Replaces the dialog by the hook (an empty hook restores it); returns the previous hook.
TPrintDialogHook SetPrintDialogHook(TPrintDialogHook hook);
