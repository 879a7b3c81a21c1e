#include "platform/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {

TPrintDialogHook& Hook()
{
    static TPrintDialogHook hook;
    return hook;
}

} // namespace

bool AskPrinter(QPrinter* printer, QWidget* parent)
{
    if (Hook())
        return Hook()(printer);
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

TPrintDialogHook SetPrintDialogHook(TPrintDialogHook hook)
{
    TPrintDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
