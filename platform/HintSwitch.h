#pragma once

class QWidget;

// A control's own switch for its hint (tool tip): the text is kept, only its showing is off.
void SetShowHint(QWidget* control, bool show);
bool ShowsHint(const QWidget* control);
