#include "base/text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void trimRemovesControlCharacters();
};

void TestText::trimRemovesControlCharacters()
{
    QCOMPARE(trimmed(QStringLiteral("\t a b \r\n\x01")), QStringLiteral("a b"));
    QCOMPARE(trimmed(QStringLiteral("   ")), QString());
    QCOMPARE(trimmed(QStringLiteral("\u00A0x")), QStringLiteral("\u00A0x")); // no-break space is text
    QCOMPARE(trimmedView(u"\t a b \r\n\x01").toString(), QStringLiteral("a b"));
}

QTEST_APPLESS_MAIN(TestText)
#include "tst_text.moc"
