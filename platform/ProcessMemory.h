#pragma once

#include <QtGlobal>

// The memory a process holds for itself alone (private, not shared with other processes), in
// bytes; -1 when the system does not say.
qint64 PrivateMemoryOf(qint64 pid);
// Its proportional share (PSS): its private memory and its part of what it shares.
qint64 ProportionalMemoryOf(qint64 pid);
