#include "platform/MessageBox.h"

#include "platform/Application.h"

#include <QMessageBox>

namespace {

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

QMessageBox::Icon ToQt(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Information:
        return QMessageBox::Information;
    case TMessageIcon::Critical:
        return QMessageBox::Critical;
    case TMessageIcon::NoIcon:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBox(const QString& caption, const QString& text, TMessageIcon icon)
{
    if (Hook()) {
        Hook()(caption, text, icon);
        return;
    }
    QMessageBox box(ToQt(icon), caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void ShowInformation(const QString& text)
{
    MessageBox(QStringLiteral("Information"), text, TMessageIcon::Information);
}

void ShowNotice(const QString& text)
{
    MessageBox(ApplicationTitle(), text, TMessageIcon::NoIcon);
}

void ShowError(const QString& text)
{
    MessageBox(ApplicationTitle(), text, TMessageIcon::Critical);
}

TMessageBoxHook SetMessageBoxHook(TMessageBoxHook hook)
{
    TMessageBoxHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}
