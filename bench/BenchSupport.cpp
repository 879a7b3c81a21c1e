#include "BenchSupport.h"

#include "TestSupport.h"


#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>

namespace {

qint64 PssKiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression pss(QStringLiteral("^Pss:\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
    const auto match = pss.match(QString::fromLatin1(rollup.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

qint64 ParentOf(const QString& pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.value(1).toLongLong();
}

} // namespace

qint64 TreePssKiB()
{
    QMap<qint64, qint64> parents;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number)
            parents.insert(pid, ParentOf(entry));
    }
    const qint64 self = QCoreApplication::applicationPid();
    qint64 total = 0;
    for (auto it = parents.begin(); it != parents.end(); ++it) {
        for (qint64 up = it.key(); up > 1; up = parents.value(up, -1)) {
            if (up == self) {
                total += PssKiB(it.key());
                break;
            }
        }
    }
    return total;
}

void StoreServedSites(THttpServer& server, int count, const std::function<QByteArray(int)>& page,
                      const QMap<QString, QString>& settings)
{
    QStringList titles, urls;
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("/site%1").arg(i);
        server.SetPage(path, page(i));
        titles.append(QStringLiteral("Site %1").arg(i));
        urls.append(server.Url(path));
    }
    StoreSitesIn(ConfigFile(), titles, urls, settings);
}
