#pragma once

#include "platform/PointerHider.h"
#include "platform/ScreenFill.h"

class TfrmMain;

// Full screen for a wall: the page alone, the pointer hidden once it rests, the main menu on
// Alt+M; everything comes back as it was when it ends.
class TFullScreen
{
public:
    explicit TFullScreen(TfrmMain* form);

    void Apply(bool fullScreen);

private:
    TfrmMain* FForm;
    TPointerHider FPointerHider;
    TScreenFill FScreenFill;
};
