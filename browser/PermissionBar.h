#pragma once

#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;

// A bar of the program's own across the top of a page that asks for a permission: "Allow" or
// "Block". It stands in that page alone, so a page nobody looks at asks when it is shown.
class TPermissionBar : public QWidget
{
    Q_OBJECT

public:
    explicit TPermissionBar(QWidget* parent);

    void Ask(const QUrl& origin, const QString& what);

    QLabel* lblQuestion;
    QPushButton* btnAllow;
    QPushButton* btnBlock;

Q_SIGNALS:
    void Answered(bool allow);
};
