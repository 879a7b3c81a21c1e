#pragma once

#include <QString>
#include <functional>

// Asks the system to open Target (an address, a mail address, a document or a program) with
// the application registered for it, and returns at once: non-zero when it took the request.
int ShellOpen(const QString& target);

using TShellOpenHook = std::function<int(const QString& target)>;
// Tests intercept the shell here (an empty hook restores it); returns the previous hook.
TShellOpenHook SetShellOpenHook(TShellOpenHook hook);
