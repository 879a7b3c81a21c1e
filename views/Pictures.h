#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The program's own pictures, drawn in code: the toolbar's five 16 x 16 images (grey when
// normal, red and blue when hot) and the hot-air balloon that is the program's icon.
enum class TPicture { Back, Forward, Home, Refresh, Stop };

QList<QPixmap> ImageList(bool hot);
QIcon ToolbarIcon(const QPixmap& normal, const QPixmap& hot);
QPixmap BalloonPicture(int size);
QIcon BalloonIcon();
