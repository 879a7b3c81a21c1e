#include "shared/LibCommaText.h"

namespace {

const QChar Quote = QLatin1Char('"');
const QChar Delimiter = QLatin1Char(',');

bool NeedsQuotes(const QString& item)
{
    for (const QChar c : item) {
        if (c.unicode() <= 32 || c == Quote || c == Delimiter)
            return true;
    }
    return false;
}

QString Quoted(QString item)
{
    item.replace(Quote, QStringLiteral("\"\""));
    return Quote + item + Quote;
}

// Reads the text like a zero-terminated string: a NUL ends it.
class TCommaTextReader
{
public:
    TCommaTextReader(const QString& text, bool blanksInItems) : FText(text), FBlanksInItems(blanksInItems) {}

    QStringList Read()
    {
        QStringList items;
        SkipBlanks();
        while (Current() != 0) {
            items.append(Current() == Quote.unicode() ? QuotedItem() : PlainItem());
            SkipBlanks();
            if (Current() == Delimiter.unicode()) {
                if (At(FPos + 1) == 0)
                    items.append(QString());
                ++FPos;
                SkipBlanks();
            }
        }
        return items;
    }

private:
    ushort At(int i) const { return i < FText.size() ? FText.at(i).unicode() : 0; }
    ushort Current() const { return At(FPos); }

    void SkipBlanks()
    {
        while (Current() >= 1 && Current() <= 32)
            ++FPos;
    }

    QString PlainItem()
    {
        const int start = FPos;
        while (Current() != 0 && Current() != Delimiter.unicode() && (FBlanksInItems || Current() > 32))
            ++FPos;
        int end = FPos;
        while (end > start && FText.at(end - 1).unicode() <= 32)
            --end;
        return FText.mid(start, end - start);
    }

    // Runs to the next quote that is not doubled, or to the end when none closes the item.
    QString QuotedItem()
    {
        QString item;
        ++FPos;
        while (Current() != 0) {
            if (Current() == Quote.unicode()) {
                if (At(FPos + 1) != Quote.unicode()) {
                    ++FPos;
                    return item;
                }
                ++FPos;
            }
            item.append(QChar(Current()));
            ++FPos;
        }
        return item;
    }

    const QString& FText;
    const bool FBlanksInItems;
    int FPos = 0;
};

} // namespace

QString ToCommaText(const QStringList& items)
{
    if (items.size() == 1 && items.first().isEmpty())
        return QStringLiteral("\"\"");
    QStringList written;
    written.reserve(items.size());
    for (const QString& item : items)
        written.append(NeedsQuotes(item) ? Quoted(item) : item);
    return written.join(Delimiter);
}

QStringList FromCommaText(const QString& text)
{
    return TCommaTextReader(text, false).Read();
}

QStringList FromCommaSeparated(const QString& text)
{
    return TCommaTextReader(text, true).Read();
}
