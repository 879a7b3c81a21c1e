#pragma once

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

// The maker's web site: every web address of the program is this base followed by a path.
QString SiteBaseAddress();

// Asks the system to open Target (an address, a mail address, a document or a program) with
// the application registered for it, and returns at once: non-zero when it took the request.
int ShellOpen(const QString& target);

using TShellOpenHook = std::function<int(const QString& target)>;
// Tests intercept the shell here (an empty hook restores it); returns the previous hook.
TShellOpenHook SetShellOpenHook(TShellOpenHook hook);

// Hyperlink labels: a label whose hint (tool tip, never shown) holds its target. It turns
// blue and underlined under the pointer, back to black when the pointer moves onto its
// parent or another link beside it, and a click opens the target through the shell.
void LabelToLink(QLabel* label, const QString& address);

class TLabelToLinkEventHandlers : public QObject
{
public:
    void LinkClick(QLabel* sender);
    void LinkMouseMove(QLabel* sender);
    void ParentMouseMove(QWidget* sender);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QLabel> FPressed;
};

// The one instance that every hyperlink label and its parent are bound to.
TLabelToLinkEventHandlers* LinkHandlers();
