#include "platform/ProcessMemory.h"

#include <QFile>

qint64 PrivateMemoryOf(qint64 pid)
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
        if (!line.startsWith("Private_Clean:") && !line.startsWith("Private_Dirty:"))
            continue;
        const QList<QByteArray> fields = line.simplified().split(' ');
        kilobytes += fields.value(1).toLongLong();
        found = true;
    }
    return found ? kilobytes * 1024 : -1;
}
