#pragma once

#include "browser/PermissionDecisions.h"

class TCMain;

// The sites' answers to permission requests, kept in the settings: every page asks them.
class TPermissions
{
public:
    explicit TPermissions(TCMain& main);

    TPermissionDecisions* Decisions();

private:
    TPermissionDecisions FDecisions;
};
