#include "platform/Application.h"

#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>
#include <exception>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setOrganizationName(QString::fromLatin1(MakerName));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowError(QString::fromStdString(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error."));
    }
    return false;
}

namespace {

QPointer<QWidget>& MainFormPointer()
{
    static QPointer<QWidget> form;
    return form;
}

} // namespace

QWidget* ApplicationMainForm()
{
    return MainFormPointer();
}

void SetApplicationMainForm(QWidget* form)
{
    MainFormPointer() = form;
}

QString ApplicationTitle()
{
    return QCoreApplication::applicationName();
}

void SetApplicationTitle(const QString& title)
{
    QCoreApplication::setApplicationName(title);
}

QString ProductKeyOf(const QString& title)
{
    QString key = title;
    key.remove(QLatin1Char(' '));
    int first = 0;
    int last = key.size() - 1;
    while (first <= last && key.at(first).unicode() <= 32)
        ++first;
    while (last >= first && key.at(last).unicode() <= 32)
        --last;
    key = key.mid(first, last - first + 1);
    key.remove(QLatin1Char('\''));
    return key;
}
