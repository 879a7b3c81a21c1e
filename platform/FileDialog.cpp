#include "platform/FileDialog.h"

#include <QFileDialog>

namespace {

TFileDialogHook& Hook()
{
    static TFileDialogHook hook;
    return hook;
}

} // namespace

QString AskFileName(QWidget* parent, TFileDialogKind kind, const QString& caption, const QString& filter)
{
    if (Hook())
        return Hook()(kind, caption);
    return kind == TFileDialogKind::Save ? QFileDialog::getSaveFileName(parent, caption, QString(), filter)
                                         : QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

TFileDialogHook SetFileDialogHook(TFileDialogHook hook)
{
    TFileDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
