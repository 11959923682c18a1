// The pairing of word rows with the words of their transcript: table cases
// of the edits an aligner makes, the words a transcript holds besides what
// was said, and random cases against the plain dynamic-programming
// alignment, also through the anchored and banded paths.
#include "job/alignmentpairing.h"
#include "job/textreview.h"
#include "job/textwords.h"

#include <QTest>

#include <algorithm>
#include <random>

namespace {

// The least edits between two key sequences, by the textbook table.
std::size_t plainEdits(std::span<const std::int32_t> a, std::span<const std::int32_t> b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            const bool same = a[i - 1] >= 0 && a[i - 1] == b[j - 1];
            row[j] = std::min({diagonal + (same ? 0 : 1), up + 1, row[j - 1] + 1});
            diagonal = up;
        }
    }
    return row[b.size()];
}

// A pairing is a partial map that keeps the order of both sequences.
bool keepsOrder(std::span<const std::int32_t> pairing, std::size_t textSize)
{
    std::int32_t last = -1;
    for (std::int32_t t : pairing) {
        if (t < 0)
            continue;
        if (t <= last || static_cast<std::size_t>(t) >= textSize)
            return false;
        last = t;
    }
    return true;
}

std::vector<WordRow> rowsOf(const QString &words)
{
    std::vector<WordRow> rows;
    for (const QString &word : words.split(u' ', Qt::SkipEmptyParts)) {
        WordRow row;
        row.text = word;
        rows.push_back(row);
    }
    return rows;
}

// Per row, the transcript word it is paired with, as the transcript writes
// it; "-" for none.
QStringList pairedWords(const std::vector<WordRow> &rows, const QStringList &text)
{
    const RowPairing p = pairRowsWithText(rows, text, {QStringLiteral("<unk>")});
    QStringList out(static_cast<qsizetype>(rows.size()), QStringLiteral("-"));
    for (std::size_t w = 0; w < p.rowOf.size(); ++w)
        if (p.pairing[w] >= 0)
            out[p.rowOf[w]] = textOf(text, p.text[static_cast<std::size_t>(p.pairing[w])]).toString();
    return out;
}

} // namespace

class TestAlignmentPairing : public QObject
{
    Q_OBJECT
private slots:
    void rowsPairWithTheirWords_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QStringList>("text");
        QTest::addColumn<QString>("paired"); // per row, blank-separated

        QTest::newRow("the same words") << "so we left" << QStringList{"so we left."} << "so we left.";
        QTest::newRow("a word the transcript lacks")
            << "so uh we left" << QStringList{"So we left."} << "So - we left.";
        QTest::newRow("a word the aligner skipped")
            << "so left" << QStringList{"So we left."} << "So left.";
        QTest::newRow("a word heard otherwise")
            << "so wee left" << QStringList{"So we left."} << "So we left.";
        QTest::newRow("an unknown word takes its place")
            << "born in <unk> in nineteen" << QStringList{"born in Zwolle, in nineteen"}
            << "born in Zwolle, in nineteen";
        QTest::newRow("repeated words around a skip")
            << "yes yes no yes" << QStringList{"yes no no yes"} << "yes no no yes";
        QTest::newRow("markers, notes and punctuation are no words")
            << "SIL Good morning SIL yes of course"
            << QStringList{"[StartTime: 400 ms]", "[Speaker: SP_01 Anna]", "Good morning!", "[EndTime: 900 ms]",
                           "", "[StartTime: 1000 ms]", "[Speaker: Bob]", "[laughs] Yes, - of course."}
            << "- Good morning! - Yes, of course.";
        QTest::newRow("case and punctuation folded for the comparison only")
            << "ZWOLLE don't" << QStringList{"\"Zwolle\" Don't"} << "\"Zwolle\" Don't";
        QTest::newRow("no transcript") << "so we" << QStringList{} << "- -";
        QTest::newRow("no words") << "" << QStringList{"so we"} << "";
    }

    void rowsPairWithTheirWords()
    {
        QFETCH(QString, words);
        QFETCH(QStringList, text);
        QFETCH(QString, paired);
        QCOMPARE(pairedWords(rowsOf(words), text).join(u' '), paired);
    }

    // Random cases of a sequence and an edited copy, as an aligner's words
    // and their transcript: the pairing keeps the order, and it needs no
    // more edits than the plain alignment, on every path the pairing takes.
    void randomCasesNeedNoMoreEditsThanThePlainAlignment_data()
    {
        QTest::addColumn<std::size_t>("directCells");
        QTest::addColumn<std::size_t>("fullCells");
        // Of 2000 cases, how many may need more edits than the plain
        // alignment: anchors are a guess that small vocabularies mislead
        // now and then, and the narrowest band misses detours.
        QTest::addColumn<int>("worseAllowed");
        QTest::newRow("direct") << std::size_t(1) << std::size_t(1) << 0;
        QTest::newRow("anchored, then whole") << std::size_t(0) << std::size_t(1) << 40;
        QTest::newRow("anchored, then in a band") << std::size_t(0) << std::size_t(0) << 60;
    }

    void randomCasesNeedNoMoreEditsThanThePlainAlignment()
    {
        QFETCH(std::size_t, directCells);
        QFETCH(std::size_t, fullCells);
        QFETCH(int, worseAllowed);
        // "direct" aligns every stretch whole: its cells limit is no limit.
        const PairingLimits limits{directCells == 1 ? std::size_t(-1) : directCells,
                                   fullCells == 1 ? std::size_t(-1) : fullCells};
        std::mt19937 random(26);
        int worse = 0;
        for (int round = 0; round < 2000; ++round) {
            const int vocabulary = 3 + static_cast<int>(random() % 30);
            const std::size_t length = random() % 40;
            std::vector<std::int32_t> text(length);
            for (std::int32_t &key : text)
                key = static_cast<std::int32_t>(random() % static_cast<unsigned>(vocabulary));
            std::vector<std::int32_t> words;
            for (std::int32_t key : text) {
                switch (random() % 12) {
                case 0: // left out
                    break;
                case 1: // another word
                    words.push_back(static_cast<std::int32_t>(random() % static_cast<unsigned>(vocabulary)));
                    break;
                case 2: // unknown
                    words.push_back(-1);
                    break;
                case 3: // one more
                    words.push_back(key);
                    words.push_back(static_cast<std::int32_t>(random() % static_cast<unsigned>(vocabulary)));
                    break;
                default:
                    words.push_back(key);
                }
            }
            const std::vector<std::int32_t> pairing = pairWords(words, text, limits);
            QCOMPARE(pairing.size(), words.size());
            QVERIFY(keepsOrder(pairing, text.size()));
            const std::size_t edits = editsOf(words, text, pairing);
            const std::size_t least = plainEdits(words, text);
            QVERIFY(edits >= least);
            worse += edits > least;
        }
        QVERIFY2(worse <= worseAllowed, qPrintable(QStringLiteral("%1 cases need more edits").arg(worse)));
    }

    // A long stretch without a word that occurs once (a chorus) is aligned
    // within its band, in order, and its equal words stay paired.
    void aLongStretchOfRepeatsStaysPaired()
    {
        std::vector<std::int32_t> text;
        for (int i = 0; i < 30000; ++i)
            text.push_back(i % 7);
        std::vector<std::int32_t> words = text;
        words.erase(words.begin() + 12000);
        words[20000] = -1;
        const std::vector<std::int32_t> pairing = pairWords(words, text, {std::size_t(1) << 10, std::size_t(1) << 16});
        QVERIFY(keepsOrder(pairing, text.size()));
        QVERIFY(editsOf(words, text, pairing) <= 4);
    }
};

QTEST_APPLESS_MAIN(TestAlignmentPairing)
#include "tst_alignmentpairing.moc"
