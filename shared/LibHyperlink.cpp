#include "shared/LibHyperlink.h"

#include "platform/HintSwitch.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabWidget>
#include <QUrl>

namespace {

const char* const LinkProperty = "LinkLabel";

TShellOpenHook& Hook()
{
    static TShellOpenHook hook;
    return hook;
}

// Forms, panels and the pages of a page control reset their links when the pointer moves
// over them; containers of any other kind are left alone.
bool ResetsLinks(const QWidget* parent)
{
    if (parent->isWindow() || parent->metaObject() == &QFrame::staticMetaObject)
        return true;
    const QWidget* stack = parent->parentWidget();
    return qobject_cast<const QStackedWidget*>(stack) && qobject_cast<const QTabWidget*>(stack->parentWidget());
}

bool IsHyperlinkLabel(const QObject* object)
{
    auto* label = qobject_cast<const QLabel*>(object);
    return label && !label->toolTip().isEmpty();
}

void SetLook(QLabel* label, bool highlighted)
{
    QFont font = label->font();
    font.setUnderline(highlighted);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, highlighted ? QColor(0, 0, 255) : QColor(0, 0, 0));
    label->setPalette(palette);
}

} // namespace

QString SiteBaseAddress()
{
    return QStringLiteral("http://www.quenbrook.example/");
}

int ShellOpen(const QString& target)
{
    if (Hook())
        return Hook()(target);
    // A bare file name is looked up in the working directory, as the shell does.
    const QUrl url = QUrl::fromUserInput(target, QDir::currentPath(), QUrl::AssumeLocalFile);
    return QDesktopServices::openUrl(url) ? 1 : 0;
}

TShellOpenHook SetShellOpenHook(TShellOpenHook hook)
{
    TShellOpenHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

void LabelToLink(QLabel* label, const QString& address)
{
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(address);
    SetShowHint(label, false);
    label->setMouseTracking(true);
    label->setProperty(LinkProperty, true);
    label->installEventFilter(LinkHandlers());
    QWidget* parent = label->parentWidget();
    if (parent && ResetsLinks(parent)) {
        parent->setMouseTracking(true);
        parent->installEventFilter(LinkHandlers());
    }
}

TLabelToLinkEventHandlers* LinkHandlers()
{
    static TLabelToLinkEventHandlers* handlers = [] {
        auto* instance = new TLabelToLinkEventHandlers;
        instance->setParent(QCoreApplication::instance());
        return instance;
    }();
    return handlers;
}

void TLabelToLinkEventHandlers::ParentMouseMove(QWidget* sender)
{
    for (QObject* child : sender->children()) {
        if (IsHyperlinkLabel(child))
            SetLook(static_cast<QLabel*>(child), false);
    }
}

void TLabelToLinkEventHandlers::LinkMouseMove(QLabel* sender)
{
    if (sender->parentWidget())
        ParentMouseMove(sender->parentWidget());
    SetLook(sender, true);
}

void TLabelToLinkEventHandlers::LinkClick(QLabel* sender)
{
    if (sender->parentWidget())
        ParentMouseMove(sender->parentWidget());
    ShellOpen(sender->toolTip());
}

bool TLabelToLinkEventHandlers::eventFilter(QObject* watched, QEvent* event)
{
    // A link keeps its own mouse events: passed on, its parent would reset it at once.
    const bool link = watched->property(LinkProperty).toBool();
    switch (event->type()) {
    case QEvent::MouseMove:
        if (!link) {
            ParentMouseMove(static_cast<QWidget*>(watched));
            return false;
        }
        LinkMouseMove(static_cast<QLabel*>(watched));
        return true;
    case QEvent::MouseButtonPress:
        if (!link || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        FPressed = static_cast<QLabel*>(watched);
        return true;
    case QEvent::MouseButtonDblClick:
        return link;
    case QEvent::MouseButtonRelease: {
        if (!link || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        // A click is a press and a release on the same link; a release after a double-click
        // or after dragging off the link opens nothing.
        auto* label = static_cast<QLabel*>(watched);
        const bool clicked = FPressed == label && label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        FPressed = nullptr;
        if (clicked)
            LinkClick(label);
        return true;
    }
    default:
        return false;
    }
}
