#pragma once

class QObject;
class QWidget;

// Key preview: whether a key event sent to `watched` is the form's to see first. A key goes
// to the focus widget and, when that ignores it, on to its parents; the form sees it once,
// at the widget it was first sent to.
bool IsPreviewedKey(const QWidget* form, const QObject* watched);
