#pragma once

#include <QObject>
#include <QVariant>

// The integer tag by which one handler tells the controls that share it apart.
inline int TagOf(const QObject* control)
{
    return control ? control->property("Tag").toInt() : 0;
}

inline void SetTag(QObject* control, int tag)
{
    control->setProperty("Tag", tag);
}
