#pragma once

#include <QString>
#include <stdexcept>

// A failure of a platform layer that the user is told about by its text. The layers know
// nothing of the program; its top-level handler shows these like its own errors.
class EPlatformError : public std::runtime_error
{
public:
    explicit EPlatformError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }

    QString Message() const { return QString::fromStdString(what()); }
};
