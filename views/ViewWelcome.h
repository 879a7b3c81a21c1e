#pragma once

#include <QWidget>

class QPushButton;

// The page a first start shows in place of an empty site: what the program does, the way to add
// a site, and the keys a wall screen uses most.
class TfrmWelcome : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmWelcome(QWidget* parent);

    QPushButton* btnAddSite;
};
