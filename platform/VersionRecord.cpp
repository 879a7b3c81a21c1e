#include "platform/VersionRecord.h"

#include "platform/PlatformError.h"

#include <QFile>

QByteArray VersionRecordMarker()
{
    // Put together at run time, so that this code does not carry the marker itself.
    return QByteArray("VS_VERSION") + QByteArray("_INFO", 6);
}

TVersionRecord TVersionRecord::Read(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EPlatformError(QStringLiteral("File contains no version information"));
    const QByteArray content = file.readAll();
    const QByteArray marker = VersionRecordMarker();
    const qsizetype at = content.indexOf(marker);
    if (at < 0 || at + marker.size() + 8 > content.size())
        throw EPlatformError(QStringLiteral("File contains no version information"));
    const auto* numbers = reinterpret_cast<const uchar*>(content.constData() + at + marker.size());
    const auto word = [numbers](int i) { return quint32(numbers[2 * i] | (numbers[2 * i + 1] << 8)); };
    TVersionRecord record;
    record.FileVersionMS = word(0) << 16 | word(1);
    record.FileVersionLS = word(2) << 16 | word(3);
    return record;
}
