#include "platform/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), FButtons(new QButtonGroup(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        FButtons->addButton(button, i);
        layout->addWidget(button);
    }
}

int TRadioGroup::ItemIndex() const
{
    return FButtons->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index >= Count())
        index = Count() - 1;
    if (index < 0) {
        // An exclusive group never unchecks its last choice by itself.
        FButtons->setExclusive(false);
        for (QAbstractButton* button : FButtons->buttons())
            button->setChecked(false);
        FButtons->setExclusive(true);
        return;
    }
    FButtons->button(index)->setChecked(true);
}

int TRadioGroup::Count() const
{
    return FButtons->buttons().size();
}
