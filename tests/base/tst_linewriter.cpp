#include "base/atomicfile.h"
#include "base/linewriter.h"
#include "base/textfile.h"
#include "support/files.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestLineWriter : public QObject
{
    Q_OBJECT
private slots:
    void utf8IsWhatToUtf8Gives_data();
    void utf8IsWhatToUtf8Gives();
    void randomTextsEncodeAsToUtf8Does();
    void writtenLinesAreWhatWriteTextFileWrites_data();
    void writtenLinesAreWhatWriteTextFileWrites();
    void unflushedLinesAreNotInTheFile();
};

void TestLineWriter::utf8IsWhatToUtf8Gives_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("ASCII") << QStringLiteral("plain text 123");
    QTest::newRow("two bytes") << QStringLiteral("caf\u00E9 \u07FF");
    QTest::newRow("three bytes") << QStringLiteral("\u0800 \u20AC \uFEFF \uFFFF");
    QTest::newRow("a pair") << QStringLiteral("\U0001F600\U0010FFFF");
    QTest::newRow("lone high") << QString(QChar(0xD83D)) + "x";
    QTest::newRow("lone low") << "x" + QString(QChar(0xDE00));
    QTest::newRow("high at the end") << "x" + QString(QChar(0xDBFF));
    QTest::newRow("two highs then a low") << QString(QChar(0xD83D)) + QChar(0xD83D) + QChar(0xDE00);
}

void TestLineWriter::utf8IsWhatToUtf8Gives()
{
    QFETCH(QString, text);
    QByteArray out("prefix");
    appendUtf8(out, text);
    QCOMPARE(out, "prefix" + text.toUtf8());
}

void TestLineWriter::randomTextsEncodeAsToUtf8Does()
{
    // Surrogates are drawn often, so unpaired ones in every position occur.
    QRandomGenerator random(11);
    const char16_t pool[] = {u'a', u'\u00E9', u'\u20AC', 0xD800, 0xDBFF, 0xDC00, 0xDFFF, u'\r'};
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            text += QChar(pool[random.bounded(int(std::size(pool)))]);
        QByteArray out;
        appendUtf8(out, text);
        QCOMPARE(out, text.toUtf8());
    }
}

void TestLineWriter::writtenLinesAreWhatWriteTextFileWrites_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("none") << QStringList();
    QTest::newRow("one empty") << QStringList{QString()};
    QStringList many;
    for (int i = 0; i < 30000; ++i)
        many << QStringLiteral("<span timestamp=\"%1\">w\u00F6rd</span>").arg(i);
    QTest::newRow("many blocks") << many;
}

void TestLineWriter::writtenLinesAreWhatWriteTextFileWrites()
{
    QFETCH(QStringList, lines);
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    AtomicFile file(path);
    LineWriter writer(file);
    for (const QString &line : lines)
        writer.writeLine(line);
    writer.flush();
    file.commit();
    QCOMPARE(readBytes(path), bytesFromLines(lines));
}

void TestLineWriter::unflushedLinesAreNotInTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("short.txt");
    AtomicFile file(path);
    LineWriter writer(file);
    writer.writeLine(u"kept");
    writer.flush();
    writer.writeLine(u"lost");
    file.commit();
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBFkept\r\n"));
}

QTEST_APPLESS_MAIN(TestLineWriter)
#include "tst_linewriter.moc"
