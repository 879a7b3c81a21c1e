#pragma once

#include <QString>
#include <QtGlobal>

// The fixed part of a program file's version record: the file version as two 32-bit words,
// major and minor in the most significant one, release and build in the least significant.
// The record is carried inside the program file (see VersionRecordData) and read back from it.
struct TVersionRecord
{
    quint32 FileVersionMS = 0;
    quint32 FileVersionLS = 0;

    // Fails with "File contains no version information" when the file carries none.
    static TVersionRecord Read(const QString& fileName);
};

// The bytes that mark a record in a program file, followed by four 16-bit little-endian
// numbers: major, minor, release, build.
QByteArray VersionRecordMarker();
