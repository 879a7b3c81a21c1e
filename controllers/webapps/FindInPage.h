#pragma once

#include <QObject>

class TCMain;

// Find in the shown page, as browsers have it: Ctrl+F opens the field over the page, typing
// finds as you type, Enter and Shift+Enter (F3 and Shift+F3 too) step through the matches, and
// Escape closes it and gives the focus back to the page. Another site shown closes it.
class TFindInPage : public QObject
{
public:
    explicit TFindInPage(TCMain& main);

    void Open();
    void Step(bool backward);
    void Close(bool focusPage);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Find(bool backward);

    TCMain& FMain;
};

// Ctrl+P prints the shown page through the system's print dialog; printing to a PDF file works
// with no printer.
class TPrintPage
{
public:
    explicit TPrintPage(TCMain& main);

    void Print();

private:
    TCMain& FMain;
};
