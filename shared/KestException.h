#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program: a failure the user is told about by its text.
class EKestException : public std::runtime_error
{
public:
    explicit EKestException(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }

    QString Message() const { return QString::fromStdString(what()); }
};
