#pragma once

#include <QString>
#include <QStringList>

// The text form of a string list: items joined by commas, quoted with doubled inner quotes
// when they hold a blank, a control character, a quote or a comma.
QString ToCommaText(const QStringList& items);
QStringList FromCommaText(const QString& text);
