#include "platform/ProcessMemory.h"

#include <QFile>
#include <initializer_list>

namespace {

// The sum of some lines of the process's memory summary, in bytes; -1 without one.
qint64 SummaryOf(qint64 pid, std::initializer_list<const char*> names)
{
    if (pid <= 0)
        return -1;
    // Linux sums every mapping of the process here; other systems have no such file.
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return -1;
    qint64 kilobytes = 0;
    bool found = false;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
        for (const char* name : names) {
            if (!line.startsWith(name))
                continue;
            kilobytes += line.simplified().split(' ').value(1).toLongLong();
            found = true;
        }
    }
    return found ? kilobytes * 1024 : -1;
}

} // namespace

qint64 PrivateMemoryOf(qint64 pid)
{
    return SummaryOf(pid, {"Private_Clean:", "Private_Dirty:"});
}

qint64 ProportionalMemoryOf(qint64 pid)
{
    return SummaryOf(pid, {"Pss:"});
}
