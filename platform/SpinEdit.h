#pragma once

#include <QAbstractSpinBox>

// A whole-number field without bounds: the arrows step by 1, typing is limited to digits,
// signs and the decimal separator, and text that is not a whole number counts as 0.
class TSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT

public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& position) const override;

protected:
    StepEnabled stepEnabled() const override;
};
