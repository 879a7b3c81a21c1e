#pragma once

class TTabControl;

// A place sites are shown: the main window's page selector or a screen's own window. It shows
// one group of its sites at a time (one site, or as many as it has tiles) and cycles on its own.
struct TStage {
    TTabControl* Area = nullptr;
    // The site it shows (with tiles, the one the group was chosen by); -1: none yet.
    int Shown = -1;
    // Seconds the shown group has been there, for cycling.
    int CycleTicks = 0;
};
