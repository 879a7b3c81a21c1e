#pragma once

#include <QString>

class QWebEnginePage;

// Puts a site's own CSS on every document its page loads, from the start of each document and
// back at once if the page takes it away (a style element of the program's, kept by a script in
// a world of its own that the page's scripts can't reach). Only style: the CSS is the text of a
// style element, never markup. Empty: none, and the one there is goes.
void ApplySiteStyle(QWebEnginePage& page, const QString& css);
