#pragma once

class QWebEnginePage;

// A long page that scrolls by itself on a wall: down at an even pace, one pass taking the
// seconds given, 5 s at rest at the bottom, back to the top, 5 s at rest, and again; a page that
// fits its window stays. Run by a script in a world of its own, on every document the page
// loads. 0 seconds: it stays where it is.
void ApplyAutoScroll(QWebEnginePage& page, int seconds);
// Holds the scrolling where it is (someone is using the window), or lets it go on.
void PauseAutoScroll(QWebEnginePage& page, bool paused);
