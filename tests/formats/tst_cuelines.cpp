// How the words of a cue are laid out on its lines.
#include "formats/cuelines.h"

#include <QTest>

#include <vector>

class TestCueLines : public QObject
{
    Q_OBJECT

private slots:
    void wordsAreLaidOut_data();
    void wordsAreLaidOut();
};

void TestCueLines::wordsAreLaidOut_data()
{
    QTest::addColumn<QString>("words");
    QTest::addColumn<int>("lineChars");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("laidOut");

    QTest::newRow("words that fit one line stay on it")
        << "we went to the village and my father worked at the harbour" << 60 << 2
        << "we went to the village and my father worked at the harbour";
    QTest::newRow("two lines balanced where there is no punctuation")
        << "my grandmother kept chickens and grew beans near the river" << 42 << 2
        << "my grandmother kept chickens|and grew beans near the river";
    QTest::newRow("no line ends in a short word where a break nearly as even works")
        << "we went to the village and my father worked at the harbour" << 42 << 2
        << "we went to the village|and my father worked at the harbour";
    QTest::newRow("a break after punctuation before balance")
        << "when we came home, my mother had already made the soup" << 42 << 2
        << "when we came home,|my mother had already made the soup";
    QTest::newRow("a break after a dash counts as punctuation")
        << "he stopped for a moment \u2013 and then he walked out of the room" << 37 << 2
        << "he stopped for a moment \u2013|and then he walked out of the room";
    QTest::newRow("no short word left alone where another break works")
        << "Yes, I think we should have gone back to the old house" << 42 << 2
        << "Yes, I think we should have|gone back to the old house";
    QTest::newRow("three lines when the profile allows them")
        << "we went to the village and my father worked at the harbour every day" << 25 << 3
        << "we went to the village|and my father worked|at the harbour every day";
    QTest::newRow("a word longer than a line overflows no more than it must")
        << "see extraordinarily-unfortunately-long-word here" << 20 << 2
        << "see extraordinarily-unfortunately-long-word|here";
    QTest::newRow("one word") << "hello" << 3 << 2 << "hello";
    QTest::newRow("no words") << "" << 42 << 2 << "";
}

void TestCueLines::wordsAreLaidOut()
{
    QFETCH(QString, words);
    QFETCH(int, lineChars);
    QFETCH(int, lines);
    QFETCH(QString, laidOut);
    const QStringList list = words.split(u' ', Qt::SkipEmptyParts);
    std::vector<QStringView> views;
    std::vector<int> lengths;
    for (const QString &w : list) {
        views.push_back(w);
        lengths.push_back(static_cast<int>(w.size()));
    }
    QCOMPARE(layOutCueLines(views, lengths, lineChars, lines), laidOut);
}

QTEST_GUILESS_MAIN(TestCueLines)
#include "tst_cuelines.moc"
