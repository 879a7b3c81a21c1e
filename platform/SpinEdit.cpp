#include "platform/SpinEdit.h"

#include <QLineEdit>
#include <QLocale>
#include <limits>

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    SetValue(0);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int value = text().toInt(&ok, 10);
    return ok ? value : 0;
}

void TSpinEdit::SetValue(int value)
{
    lineEdit()->setText(QString::number(value));
}

void TSpinEdit::stepBy(int steps)
{
    const qint64 value = qBound(qint64(std::numeric_limits<int>::min()), qint64(Value()) + steps,
                                qint64(std::numeric_limits<int>::max()));
    SetValue(int(value));
    lineEdit()->selectAll();
}

QValidator::State TSpinEdit::validate(QString& input, int&) const
{
    const QString separator = locale().decimalPoint();
    for (const QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') && !separator.contains(c))
            return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}
