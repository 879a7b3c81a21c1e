#include "TestSupport.h"

#include "shared/LibCommaText.h"

#include <QRandomGenerator>

class TestCommaText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writes_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty list") << QStringList{} << "";
        QTest::newRow("one empty item") << QStringList{""} << "\"\"";
        QTest::newRow("plain items") << QStringList{"New", "Site"} << "New,Site";
        QTest::newRow("space quoted") << QStringList{"New Site", "Other"} << "\"New Site\",Other";
        QTest::newRow("comma quoted") << QStringList{"a,b"} << "\"a,b\"";
        QTest::newRow("quote doubled") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
        QTest::newRow("control character quoted") << QStringList{"a\tb"} << "\"a\tb\"";
        QTest::newRow("empty items among others") << QStringList{"", "a", ""} << ",a,";
        QTest::newRow("two empty items") << QStringList{"", ""} << ",";
        QTest::newRow("three titles") << QStringList{"My Site", "Mail", "A, B"} << "\"My Site\",Mail,\"A, B\"";
        QTest::newRow("address") << QStringList{"http://example.com/?a=1&b=2"} << "http://example.com/?a=1&b=2";
        QTest::newRow("apostrophe plain") << QStringList{"it's"} << "it's";
    }
    void writes()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QCOMPARE(ToCommaText(items), text);
    }

    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("blanks only") << "  \t " << QStringList{};
        QTest::newRow("two quotes") << "\"\"" << QStringList{""};
        QTest::newRow("unquoted space splits") << "New Site" << QStringList{"New", "Site"};
        QTest::newRow("leading blanks skipped") << "   a,b" << QStringList{"a", "b"};
        QTest::newRow("blanks around comma") << "a , b" << QStringList{"a", "b"};
        QTest::newRow("trailing comma adds empty item") << "a," << QStringList{"a", ""};
        QTest::newRow("trailing comma then blank") << "a, " << QStringList{"a"};
        QTest::newRow("leading comma") << ",a" << QStringList{"", "a"};
        QTest::newRow("doubled quote inside") << "\"say \"\"hi\"\"\"" << QStringList{"say \"hi\""};
        QTest::newRow("unclosed quote runs to end") << "\"open, item" << QStringList{"open, item"};
        QTest::newRow("text after closing quote") << "\"a\"b,c" << QStringList{"a", "b", "c"};
        QTest::newRow("quote inside plain item") << "a\"b" << QStringList{"a\"b"};
        QTest::newRow("control characters end items") << "a\tb\r\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("comma inside quotes") << "\"a,b\",c" << QStringList{"a,b", "c"};
        QTest::newRow("NUL ends the text") << QString::fromLatin1("a,b\0,c", 6) << QStringList{"a", "b"};
    }
    void reads()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, items);
        QCOMPARE(FromCommaText(text), items);
    }

    // Reading what was written gives the list back, for lists of any awkward items.
    void roundTripsRandomLists()
    {
        const QString alphabet = QStringLiteral("ab ,\"'\t\r\n:/.-=&Xé");
        QRandomGenerator random(20261208);
        for (int round = 0; round < 2000; ++round) {
            QStringList items;
            const int count = random.bounded(6);
            for (int i = 0; i < count; ++i) {
                QString item;
                const int length = random.bounded(7);
                for (int c = 0; c < length; ++c)
                    item.append(alphabet.at(random.bounded(alphabet.size())));
                items.append(item);
            }
            const QString text = ToCommaText(items);
            QVERIFY2(FromCommaText(text) == items, qPrintable(QStringLiteral("written as [%1]").arg(text)));
        }
    }
};

ORVANTA_TEST_MAIN(TestCommaText)
#include "tst_commatext.moc"
