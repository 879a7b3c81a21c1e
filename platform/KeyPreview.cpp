#include "platform/KeyPreview.h"

#include <QApplication>
#include <QWidget>

bool IsPreviewedKey(const QWidget* form, const QObject* watched)
{
    const QWidget* focus = QApplication::focusWidget();
    const QWidget* first = focus && focus->window() == form ? focus : form;
    return watched == first;
}
