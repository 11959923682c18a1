// Texts in encodings other than UTF-8: found from the bytes or chosen, and
// files in Windows-1252 read exactly as they always were.
#include "base/textfile.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// text in encoding, as a tool of its country saves it.
QByteArray encoded(const QString &text, const char *encoding)
{
    QStringEncoder encoder(encoding);
    const QByteArray bytes = encoder(text);
    if (!encoder.isValid() || encoder.hasError())
        qFatal("cannot encode the fixture in %s", encoding);
    return bytes;
}

const QString chinese = u"我们今天去公园散步，天气很好。\n他说这个问题很重要，我们明天再讨论吧。\n"
                        u"老师让学生们把作业交上来。\n"_s;
const QString traditional = u"我們今天去公園散步，天氣很好。\n他說這個問題很重要，我們明天再討論吧。\n"_s;
const QString japanese = u"今日はとても良い天気ですね。\n明日は雨が降るかもしれません。\n私は東京に住んでいます。\n"_s;
const QString czech = u"Dobrý den, jak se máte? Děkuji, mám se dobře.\nVčera jsem byl v obchodě a koupil jsem "
                      u"chléb.\nŘekni mi, kde je nádraží.\nTen člověk je můj přítel, žili jsme šťastně.\n"_s;
const QString polish = u"Dzień dobry, jak się masz?\nWczoraj byłem w sklepie i kupiłem chleb.\n"
                       u"Żyliśmy skromnie, ale byliśmy szczęśliwi.\n"_s;
// Dutch that libuchardet alone takes for Windows-1250, for the DOS code
// page 852 and for the Mac's central European one.
const QString dutchAs1250 = u"Hij is op zijn tweeëntwintigste naar Amsterdam verhuisd.\n"
                            u"Het was een echte tête-à-tête tussen de twee ministers.\n"_s;
const QString dutchAs852 = u"Ze hebben een paté gekocht en een rosé gedronken, à la française.\n"_s;
const QString dutchAsMac = u"Overigens is de naïeve vraag of de beëindiging van het contract nog geëvalueerd "
                           u"wordt.\n"_s;
const QString dutch = dutchAs1250 + u"Daarna zijn we naar de crèche gegaan, hè, met de coördinator.\n"
                                    u"De naïeve vraag werd geëvalueerd: “één keer”, €5.\n"_s;

} // namespace

class TestTextEncodings : public QObject
{
    Q_OBJECT
private slots:
    void otherEncodingsAreFoundFromTheBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding"); // as the status line names it; empty for UTF-8
        QTest::newRow("GB2312 Chinese") << encoded(chinese, "GB2312") << chinese << "GB18030";
        const QString beyondGb2312 = chinese + u"𠀀是扩展汉字。\n"_s;
        QTest::newRow("GB18030 Chinese beyond GB2312")
            << encoded(beyondGb2312, "GB18030") << beyondGb2312 << "GB18030";
        QTest::newRow("Big5 traditional Chinese") << encoded(traditional, "Big5") << traditional << "Big5";
        QTest::newRow("Shift_JIS Japanese") << encoded(japanese, "Shift_JIS") << japanese << "Shift_JIS";
        QTest::newRow("Windows-1250 Czech") << encoded(czech, "windows-1250") << czech << "Windows-1250";
        QTest::newRow("Windows-1250 Polish") << encoded(polish, "windows-1250") << polish << "Windows-1250";
        for (const QString &text : {dutch, dutchAs1250, dutchAs852, dutchAsMac})
            QTest::addRow("Windows-1252 Dutch as ever: %s", qPrintable(text.left(20)))
                << encoded(text, "windows-1252") << text << "Windows-1252";
        // A stray byte in UTF-8 is read as Windows-1252, the rest as UTF-8.
        QTest::newRow("UTF-8 with a stray byte")
            << QByteArray("caf\xC3\xA9 and caf\xE9\n") << u"café and café\n"_s << "";
        QTest::newRow("UTF-8 with stray bytes among more sequences")
            << QByteArray("\xC3\xA9\xC3\xA9\xC3\xA9 \xE9\xE8\n") << u"ééé éè\n"_s << "";
        QTest::newRow("UTF-16 LE with its mark")
            << QByteArray("\xFF\xFE" "a\0\xE9\0\n\0", 8) << u"aé\n"_s << "UTF-16LE";
        QTest::newRow("ASCII") << QByteArray("plain\n") << u"plain\n"_s << "";
    }

    void otherEncodingsAreFoundFromTheBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const TextLines read = textLinesFromBytes(bytes, {});
        QCOMPARE(read.lines.join(u'\n') + u'\n', text);
        QTEST(read.encoding, "encoding");
        // The lines are those every reader of lines gets.
        QCOMPARE(linesFromBytes(bytes), read.lines);
    }

    // A choice outweighs the guess, but not a byte-order mark.
    void aChosenEncodingOutweighsTheGuess_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("encoding");
        // Too short for the guess: read as Windows-1252 unless chosen.
        const QByteArray shortCzech = encoded(u"Jsou tam tři moře a hory.\n"_s, "windows-1250");
        QTest::newRow("guessed") << shortCzech << QByteArray() << u"Jsou tam tøi moøe a hory.\n"_s
                                 << "Windows-1252";
        QTest::newRow("chosen") << shortCzech << QByteArray("windows-1250") << u"Jsou tam tři moře a hory.\n"_s
                                << "Windows-1250";
        QTest::newRow("UTF-8 chosen for GB2312: stray bytes as Windows-1252")
            << encoded(u"你好\n"_s, "GB2312") << QByteArray("utf-8") << u"ÄãºÃ\n"_s << "";
        QTest::newRow("chosen for UTF-8 text") << QByteArray("caf\xC3\xA9\n") << QByteArray("windows-1252")
                                               << u"cafÃ©\n"_s << "Windows-1252";
        QTest::newRow("a UTF-8 mark outweighs the choice")
            << QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9\n") << QByteArray("gb18030") << u"café\n"_s << "";
        QTest::newRow("ASCII reads the same in any") << QByteArray("plain\n") << QByteArray("shift_jis")
                                                     << u"plain\n"_s << "";
    }

    void aChosenEncodingOutweighsTheGuess()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, chosen);
        QFETCH(QString, text);
        const TextLines read = textLinesFromBytes(bytes, chosen);
        QCOMPARE(read.lines.join(u'\n') + u'\n', text);
        QTEST(read.encoding, "encoding");
    }
};

QTEST_APPLESS_MAIN(TestTextEncodings)
#include "tst_textencodings.moc"
