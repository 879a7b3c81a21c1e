#pragma once

#include <QString>

class QVBoxLayout;
class QWidget;

// Lays out a page of the program's own that stands in a web page's place: its background,
// margins and heading; the page adds what it says below.
QVBoxLayout* LayOutOwnPage(QWidget* page, const QString& name, const QString& heading);
// Whether a widget lies on such a page: the page's own mnemonics then win over the window's.
bool IsOnOwnPage(const QWidget* widget);
