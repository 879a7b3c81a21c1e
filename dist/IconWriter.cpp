// Writes the program's icon as PNG files for the desktop's icon theme:
// IconWriter <folder> writes <folder>/<size>x<size>/apps/com.quenbrook.Orvanta.png.
#include "views/Pictures.h"

#include <QDir>
#include <QGuiApplication>

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc < 2)
        return 2;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QDir().mkpath(folder);
        if (!BalloonPicture(size).save(folder + QStringLiteral("/com.quenbrook.Orvanta.png")))
            return 1;
    }
    return 0;
}
