// The pairing and the fill against a known truth: a made-up interview of
// two parts of the length of an hour's talk each, its word rows made from
// the transcript with 2 % of the words left out, 2 % heard otherwise, 2 %
// with a word added after them and 1 % unknown. The test alone knows which
// transcript word each row stands for; the review is given rows and texts.
#include "job/reviewlist.h"
#include "job/textreview.h"

#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <random>

namespace {

constexpr int wordsPerPart = 12000;

// A row and the index of the transcript word it stands for (-1: added).
struct TrueRow
{
    WordRow row;
    int truth = -1;
    bool unknown = false;
    bool heardRight = false; // the transcript's own word
};

struct MadePart
{
    QStringList text;
    QStringList written;       // every transcript word as written, in order
    std::vector<TrueRow> rows;
};

class Maker
{
public:
    explicit Maker(unsigned seed) : random(seed)
    {
        const char *syllables[] = {"ka", "lo", "mi", "ne", "tu", "ra", "ve", "so", "di", "ba",
                                   "che", "fu", "go", "hi", "ja", "pe", "qui", "wo", "xe", "zu"};
        // 4000 words, the first ones far more common (Zipf), as in talk.
        for (int i = 0; i < 4000; ++i) {
            QString word;
            for (int n = i; ; n /= 20) {
                word += QLatin1StringView(syllables[n % 20]);
                if (n < 20)
                    break;
            }
            vocabulary << word;
            weights.push_back(1.0 / (i + 1));
        }
        pick = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    MadePart part(const QString &speakerA, const QString &speakerB)
    {
        MadePart made;
        int inSentence = 0, sentenceLength = 8;
        QString line;
        int inLine = 0, turn = 0;
        std::int64_t ms = 0;
        for (int i = 0; i < wordsPerPart; ++i) {
            if (inLine == 0 && made.text.size() % 5 == 0) {
                made.text << QStringLiteral("[StartTime: %1 ms]").arg(ms)
                          << QStringLiteral("[Speaker: %1]").arg(turn++ % 2 ? speakerB : speakerA);
            }
            QString word = vocabulary[pick(random)];
            if (inSentence == 0)
                word[0] = word[0].toUpper();
            if (++inSentence == sentenceLength) {
                word += (random() % 4 == 0) ? u'?' : u'.';
                inSentence = 0;
                sentenceLength = 6 + static_cast<int>(random() % 13);
            } else if (random() % 9 == 0) {
                word += u',';
            }
            made.written << word;
            line += (inLine ? QStringLiteral(" ") : QString()) + word;
            if (++inLine == 12) {
                made.text << line;
                line.clear();
                inLine = 0;
            }
            addRows(made, i, word, ms);
        }
        if (!line.isEmpty())
            made.text << line;
        return made;
    }

private:
    void addRows(MadePart &made, int index, const QString &word, std::int64_t &ms)
    {
        auto add = [&](const QString &text, int truth, bool unknown, bool right) {
            WordRow row;
            row.start = ms;
            row.end = ms + 250;
            row.confidence = 0.9f;
            row.speaker = QStringLiteral("A");
            row.text = text;
            made.rows.push_back({row, truth, unknown, right});
            ms += 300;
        };
        if (made.rows.size() % 40 == 39)
            add(QStringLiteral("SIL"), -1, false, false);
        // An aligner writes its lexicon's words: lower case, no punctuation.
        QString heard = word.toLower();
        heard.remove(QRegularExpression(QStringLiteral("[.,?]")));
        const unsigned r = random() % 1000;
        if (r < 20)
            return; // left out
        if (r < 40)
            add(vocabulary[static_cast<qsizetype>(random() % 4000)] + QStringLiteral("x"), index, false, false);
        else if (r < 50)
            add(QStringLiteral("<unk>"), index, true, false);
        else
            add(heard, index, false, true);
        if (r >= 50 && r < 70)
            add(vocabulary[pick(random)], -1, false, false); // a word added
    }

    std::mt19937 random;
    QStringList vocabulary;
    std::vector<double> weights;
    std::discrete_distribution<int> pick;
};

std::vector<WordRow> rowsOf(const MadePart &part)
{
    std::vector<WordRow> rows;
    for (const TrueRow &r : part.rows)
        rows.push_back(r.row);
    return rows;
}

// The rows next to row i that are no silence.
int neighbour(const MadePart &part, int i, int step)
{
    for (i += step; i >= 0 && i < static_cast<int>(part.rows.size()); i += step)
        if (part.rows[static_cast<std::size_t>(i)].row.text != u"SIL")
            return i;
    return -1;
}

} // namespace

class TestReviewQuality : public QObject
{
    Q_OBJECT
private slots:
    void rowsPairWithTheirTrueWords()
    {
        Maker maker(2026);
        for (int p = 0; p < 2; ++p) {
            const MadePart part = maker.part(QStringLiteral("SP_01 Anna"), QStringLiteral("SP_02 Bob"));
            const std::vector<WordRow> rows = rowsOf(part);
            const RowPairing pairing = pairRowsWithText(rows, part.text, GlueSettings{}.unknownWords);
            std::vector<int> pairedWith(rows.size(), -1);
            for (std::size_t w = 0; w < pairing.rowOf.size(); ++w)
                pairedWith[pairing.rowOf[w]] = pairing.pairing[w];
            int words = 0, right = 0;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (rows[i].text == u"SIL")
                    continue;
                ++words;
                right += pairedWith[i] == part.rows[i].truth;
            }
            QVERIFY2(right >= words * 0.99, qPrintable(QStringLiteral("%1 of %2").arg(right).arg(words)));
        }
    }

    void everyUnknownWordWithoutDoubtIsFilledRight()
    {
        Maker maker(26);
        std::vector<MadePart> made;
        std::vector<std::vector<WordRow>> rows;
        for (int p = 0; p < 2; ++p) {
            made.push_back(maker.part(QStringLiteral("SP_01 Anna"), QStringLiteral("SP_02 Bob")));
            rows.push_back(rowsOf(made.back()));
        }
        std::vector<PartUnderReview> parts;
        std::size_t first = 0;
        for (std::size_t p = 0; p < 2; ++p) {
            parts.push_back({rows[p], first, &made[p].text, 0, -1, {}});
            first += rows[p].size();
        }
        const ReviewList list = reviewParts(parts, GlueSettings{});

        // Where the test, knowing the truth, sees no doubt: an unknown row
        // between two rows heard right, of the words just before and after.
        QMap<std::size_t, QString> expected;
        first = 0;
        for (std::size_t p = 0; p < 2; ++p) {
            const MadePart &part = made[p];
            for (int i = 0; i < static_cast<int>(part.rows.size()); ++i) {
                const TrueRow &row = part.rows[static_cast<std::size_t>(i)];
                const int before = neighbour(part, i, -1), after = neighbour(part, i, 1);
                if (!row.unknown || before < 0 || after < 0)
                    continue;
                const TrueRow &b = part.rows[static_cast<std::size_t>(before)];
                const TrueRow &a = part.rows[static_cast<std::size_t>(after)];
                if (b.heardRight && a.heardRight && b.truth == row.truth - 1 && a.truth == row.truth + 1)
                    expected.insert(first + static_cast<std::size_t>(i), part.written[row.truth]);
            }
            first += part.rows.size();
        }
        QVERIFY(expected.size() > 100);

        QMap<std::size_t, QString> filled;
        for (const UnknownFill &fill : list.fills)
            filled.insert(fill.row, fill.word);
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(filled.value(it.key()), it.value());
        // What is filled beyond those is filled with its true word too.
        for (auto it = filled.cbegin(); it != filled.cend(); ++it) {
            const std::size_t p = it.key() < rows[0].size() ? 0 : 1;
            const std::size_t i = it.key() - (p == 0 ? 0 : rows[0].size());
            QCOMPARE(it.value(), made[p].written[made[p].rows[i].truth]);
        }
    }
};

QTEST_APPLESS_MAIN(TestReviewQuality)
#include "tst_reviewquality.moc"
