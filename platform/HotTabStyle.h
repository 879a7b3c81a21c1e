#pragma once

#include <QProxyStyle>

class QWidget;

// Marks the tab under the pointer, which some styles (Fusion) leave as it is, with a light
// wash of the highlight colour; everything else is drawn by the style the widget had.
class THotTabStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Gives `widget` this style on top of its current one; the style lives as long as it.
    static void Apply(QWidget* widget);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

private:
    explicit THotTabStyle(QStyle* base);
};
