#pragma once

#include <QtGlobal>

// The memory a process holds for itself alone (private, not shared with other processes), in
// bytes; -1 when the system does not say.
qint64 PrivateMemoryOf(qint64 pid);
