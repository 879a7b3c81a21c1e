#include "platform/HintSwitch.h"

#include <QEvent>
#include <QWidget>

namespace {

const char* const ShowHintProperty = "ShowHint";

class THintFilter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return event->type() == QEvent::ToolTip && !watched->property(ShowHintProperty).toBool();
    }
};

THintFilter* Filter()
{
    static THintFilter filter;
    return &filter;
}

} // namespace

void SetShowHint(QWidget* control, bool show)
{
    if (!control->property(ShowHintProperty).isValid())
        control->installEventFilter(Filter());
    control->setProperty(ShowHintProperty, show);
}

bool ShowsHint(const QWidget* control)
{
    const QVariant show = control->property(ShowHintProperty);
    return !show.isValid() || show.toBool();
}
