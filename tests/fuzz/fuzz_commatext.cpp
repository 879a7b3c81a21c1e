// Comma text under fuzzing: reading any text never fails, and reading what was written gives
// the list back. The input's lines are the list's items (the reader stops at a NUL, so NULs
// are taken out of them).
#include "shared/LibCommaText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    FromCommaText(text);
    QStringList items = text.split(QLatin1Char('\n'));
    for (QString& item : items)
        item.remove(QChar(0));
    if (FromCommaText(ToCommaText(items)) != items)
        std::abort();
    return 0;
}
