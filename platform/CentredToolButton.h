#pragma once

#include <QToolButton>

// A tool button wider than its picture and caption draws the two as one, centred, so that a
// row of equally wide buttons shows even gaps whatever each caption's length.
class TCentredToolButton : public QToolButton
{
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
