#pragma once

#include "platform/PlatformError.h"

// The one error type of the program: a failure the user is told about by its text, as the
// platform layers' failures are.
class EKestException : public EPlatformError
{
public:
    using EPlatformError::EPlatformError;
};
