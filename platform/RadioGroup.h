#pragma once

#include <QGroupBox>

class QButtonGroup;

// A captioned group of exclusive choices with an item index: an index above the last choice
// selects the last one, a negative one selects none (-1).
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent);

    int ItemIndex() const;
    void SetItemIndex(int index);
    int Count() const;

private:
    QButtonGroup* FButtons;
};
