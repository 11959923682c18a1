// Where dropped files go: their kind by extension, their part by the last
// number in their base name, and a reason for each one without a place.

#include "job/dropplan.h"

#include <QTest>


namespace {

// "w:a_1.ctm t:a_1.txt r:a_1.wav | w:a_2.ctm": the parts as one line per
// test row, slot by slot, for a readable failure.
QString describe(const std::vector<PartFiles> &parts)
{
    QStringList out;
    for (const PartFiles &p : parts)
        out << QStringLiteral("w:%1 t:%2 r:%3").arg(p.wordFile, p.text, p.recording);
    return out.join(QStringLiteral(" | "));
}

} // namespace

class TstDropPlan : public QObject
{
    Q_OBJECT

private slots:
    void placesFilesByKindAndNumber_data()
    {
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<int>("reasons");

        QTest::newRow("six files of an interview, mixed order")
            << QStringList{"/i/interview_2.wav", "/i/interview_1.spk", "/i/interview_2.txt",
                           "/i/interview_1.wav", "/i/interview_2.spk", "/i/interview_1.txt"}
            << "w:/i/interview_1.spk t:/i/interview_1.txt r:/i/interview_1.wav"
               " | w:/i/interview_2.spk t:/i/interview_2.txt r:/i/interview_2.wav"
            << 0;
        QTest::newRow("numbers glued to words, upper-case extensions")
            << QStringList{"/i/part2.CTM", "/i/part1.Ctm", "/i/part2.MP3", "/i/part1.flac"}
            << "w:/i/part1.Ctm t: r:/i/part1.flac | w:/i/part2.CTM t: r:/i/part2.MP3" << 0;
        QTest::newRow("recognisers' and aligners' files are word files")
            << QStringList{"/i/talk_2.TextGrid", "/i/talk_1.json", "/i/talk_3.eaf", "/i/talk_4.vtt", "/i/talk_1.wav"}
            << "w:/i/talk_1.json t: r:/i/talk_1.wav | w:/i/talk_2.TextGrid t: r: | w:/i/talk_3.eaf t: r: | "
               "w:/i/talk_4.vtt t: r:"
            << 0;
        QTest::newRow("the last number counts, not the first")
            << QStringList{"/i/2019-05 talk 2.txt", "/i/2019-05 talk 1.txt"}
            << "w: t:/i/2019-05 talk 1.txt r: | w: t:/i/2019-05 talk 2.txt r:" << 0;
        QTest::newRow("numbers past 9 sort as numbers")
            << QStringList{"/i/a_10.wav", "/i/a_9.wav"}
            << "w: t: r:/i/a_9.wav | w: t: r:/i/a_10.wav" << 0;
        QTest::newRow("a lone part 2 goes to part 2")
            << QStringList{"/i/interview_2.ctm"} << "w: t: r: | w:/i/interview_2.ctm t: r:" << 0;
        QTest::newRow("no numbers: drop order")
            << QStringList{"/i/second.txt", "/i/first.txt"}
            << "w: t:/i/second.txt r: | w: t:/i/first.txt r:" << 0;
        QTest::newRow("without a number after those with one")
            << QStringList{"/i/extra.wav", "/i/a_1.wav"}
            << "w: t: r:/i/a_1.wav | w: t: r:/i/extra.wav" << 0;
        QTest::newRow("a number twice: ranked, the drop order keeping the tie")
            << QStringList{"/i/b_1.wav", "/i/a_1.wav"}
            << "w: t: r:/i/b_1.wav | w: t: r:/i/a_1.wav" << 0;
        QTest::newRow("part 0 is no part: ranked")
            << QStringList{"/i/a_1.txt", "/i/a_0.txt"}
            << "w: t:/i/a_0.txt r: | w: t:/i/a_1.txt r:" << 0;
        QTest::newRow("parts 3 and 4 alone are parts 1 and 2")
            << QStringList{"/i/a_4.txt", "/i/a_3.txt"}
            << "w: t:/i/a_3.txt r: | w: t:/i/a_4.txt r:" << 0;
        QTest::newRow("three parts")
            << QStringList{"/i/p_3.wav", "/i/p_1.wav", "/i/p_2.wav"}
            << "w: t: r:/i/p_1.wav | w: t: r:/i/p_2.wav | w: t: r:/i/p_3.wav" << 0;
        QTest::newRow("files of no kind are named, the rest placed")
            << QStringList{"/i/notes.docx", "/i/a_1.wav", "/i/README"}
            << "w: t: r:/i/a_1.wav" << 2;
        QTest::newRow("nothing placeable") << QStringList{"/i/a.srt"} << "" << 1;
        QTest::newRow("nothing dropped") << QStringList{} << "" << 0;
    }

    void placesFilesByKindAndNumber()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QString, parts);
        QFETCH(int, reasons);
        const DropPlan plan(dropped);
        QCOMPARE(describe(plan.parts()), parts);
        QCOMPARE(plan.reasons().size(), reasons);
    }

    void aReasonNamesTheFileAndTheKindsItCouldBe()
    {
        const DropPlan plan({QStringLiteral("/home/ann/notes.docx")});
        QCOMPARE(plan.reasons(),
                 QStringList{"notes.docx: not a word file (.ctm, .spk, .json, .textgrid, .eaf, .vtt), a text (.txt) or a recording "
                             "(.wav, .mp3, .m4a, .aac, .flac, .ogg, .oga, .opus, .rf64)"});
    }

    void lastNumber_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("number");
        QTest::newRow("underscore") << "/x/interview_1.wav" << 1;
        QTest::newRow("glued") << "part12.txt" << 12;
        QTest::newRow("digits in the folder do not count") << "/take7/interview.wav" << -1;
        QTest::newRow("extension digits do not count") << "talk.mp3" << -1;
        QTest::newRow("inner extension is part of the base") << "talk_1.joined.wav" << 1;
        QTest::newRow("trailing words") << "part 2 final.wav" << 2;
        QTest::newRow("too long for a number") << "a_99999999999999999999.wav" << -1;
    }

    void lastNumber()
    {
        QFETCH(QString, path);
        QFETCH(int, number);
        QCOMPARE(DropPlan::lastNumber(path), number);
    }
};

QTEST_APPLESS_MAIN(TstDropPlan)
#include "tst_dropplan.moc"
