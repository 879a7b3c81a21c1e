#pragma once

#include <QWidget>

class QScreen;
class TTabControl;

// A window that fills one screen with the sites that live there, the pages alone. Passive.
class TfrmScreen : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmScreen(QScreen* screen);

    TTabControl* tcPages;
};
