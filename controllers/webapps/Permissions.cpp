#include "controllers/webapps/Permissions.h"

#include "controllers/ControllerMain.h"

TPermissions::TPermissions(TCMain& main)
    : FDecisions(main.Registry()->PermissionDecisions, main.Registry()->PermissionsLocked())
{
    TCRegistry* settings = main.Registry();
    QObject::connect(&FDecisions, &TPermissionDecisions::Changed, &FDecisions,
                     [this, settings] { settings->PermissionDecisions = FDecisions.Entries(); });
}

TPermissionDecisions* TPermissions::Decisions()
{
    return &FDecisions;
}
