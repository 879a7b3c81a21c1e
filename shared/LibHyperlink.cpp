#include "shared/LibHyperlink.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace {

TShellOpenHook& Hook()
{
    static TShellOpenHook hook;
    return hook;
}

} // namespace

int ShellOpen(const QString& target)
{
    if (Hook())
        return Hook()(target);
    // A bare file name is looked up in the working directory, as the shell does.
    const QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url) ? 1 : 0;
}

TShellOpenHook SetShellOpenHook(TShellOpenHook hook)
{
    TShellOpenHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
