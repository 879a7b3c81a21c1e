#pragma once

#include <QString>

class QVBoxLayout;
class QWidget;

// Lays out a page of the program's own that stands in a web page's place: its background,
// margins and heading; the page adds what it says below.
QVBoxLayout* LayOutOwnPage(QWidget* page, const QString& name, const QString& heading);
