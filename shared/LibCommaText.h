#pragma once

#include <QString>
#include <QStringList>

// The text form of a string list: items joined by commas, quoted with doubled inner quotes
// when they hold a blank, a control character, a quote or a comma.
QString ToCommaText(const QStringList& items);
QStringList FromCommaText(const QString& text);
// The same text read as people write lists by hand: only commas part unquoted items, the blanks
// inside one belong to it ("My Mail,Alerts" is two items).
QStringList FromCommaSeparated(const QString& text);
