// Parts whose word files come from recognisers and aligners: the text they
// hold, the format and tier chosen, and files no reader knows.
#include "support/fakeperson.h"
#include "support/files.h"

#include "job/gluejob.h"
#include "job/settingstable.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray whisperx = R"({"segments": [
 {"start": 0.5, "end": 1.0, "text": " Waar komt u vandaan?", "speaker": "SPEAKER_00",
  "words": [{"word": "Waar", "start": 0.5, "end": 1.0, "score": 0.9, "speaker": "SPEAKER_00"}]},
 {"start": 1.5, "end": 2.0, "text": " Uit Zwolle.", "speaker": "SPEAKER_01",
  "words": [{"word": "Uit", "start": 1.5, "end": 2.0, "score": 0.8, "speaker": "SPEAKER_01"}]}],
 "word_segments": [], "language": "nl"})";

const QStringList whisperxText{u"[StartTime: 500 ms]"_s, u"[Speaker: SP_01 SPEAKER_00]"_s, u"Waar komt u vandaan?"_s,
                               QString(), u"[StartTime: 1500 ms]"_s, u"[Speaker: SP_02 SPEAKER_01]"_s, u"Uit Zwolle."_s};

const QByteArray textGrid = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n2\n<exists>\n2\n"
                            "\"IntervalTier\"\n\"words\"\n0\n2\n1\n0\n2\n\"woord\"\n"
                            "\"IntervalTier\"\n\"phones\"\n0\n2\n2\n0\n1\n\"w\"\n1\n2\n\"o\"\n";

} // namespace

class TstJobWordFormats : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }

private slots:
    void aPartWithoutTextTakesTheTextItsWordFileHolds();
    void aPartListedWithoutTextTakesItToo();
    void aFileNoReaderKnowsChangesNothing();
    void theChosenFormatAndTierReachTheReader();
};

void TstJobWordFormats::aPartWithoutTextTakesTheTextItsWordFileHolds()
{
    writeBytes(path("one.json"), whisperx);
    writeLines(path("one.txt"), {u"Eigen tekst"_s});
    writeLines(path("two.ctm"), {u"u\t1\t0\t1\ta\t1"_s});
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("one.json"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    QCOMPARE(job.part(0).text, whisperxText);
    QCOMPARE(job.part(0).files.text, QString()); // no file of its own
    // Open Text replaces it; a word file opened later leaves that text be.
    job.openText(1, path("one.txt"));
    QCOMPARE(job.part(0).text, QStringList{u"Eigen tekst"_s});
    job.openWordFile(1, path("one.json"));
    QCOMPARE(job.part(0).text, QStringList{u"Eigen tekst"_s});
    // A CTM file holds no text: the text made from the file before goes.
    job.openWordFile(2, path("one.json"));
    QCOMPARE(job.part(1).text, whisperxText);
    job.openWordFile(2, path("two.ctm"));
    QCOMPARE(job.part(1).text, QStringList());
}

void TstJobWordFormats::aPartListedWithoutTextTakesItToo()
{
    writeBytes(path("one.json"), whisperx);
    FakePerson person;
    GlueJob job(person);
    job.addPart({path("one.json"), QString(), QString()});
    QCOMPARE(job.part(0).text, whisperxText);
}

void TstJobWordFormats::aFileNoReaderKnowsChangesNothing()
{
    writeLines(path("one.ctm"), {u"u\t1\t0\t1\ta\t1"_s, u"u\t1\t1\t2\tb\t1"_s});
    writeBytes(path("config.json"), R"({"name": "x", "version": 2})");
    writeBytes(path("page.xml"), "<?xml version=\"1.0\"?><html><body/></html>");
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("one.ctm"));
    QVERIFY(errorMessage([&] { job.openWordFile(1, path("config.json")); })
                .startsWith(u"\"%1\": not a word file Naadwerk knows (a JSON file, but none of whisper.cpp: "_s.arg(path("config.json"))));
    QCOMPARE(errorMessage([&] { job.openWordFile(1, path("page.xml")); }),
             u"\"%1\": not a word file Naadwerk knows (an XML file whose root is <html>, not ELAN EAF: <ANNOTATION_DOCUMENT>)"_s
                 .arg(path("page.xml")));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Text), u"b"_s);
}

void TstJobWordFormats::theChosenFormatAndTierReachTheReader()
{
    writeBytes(path("words.TextGrid"), textGrid);
    FakePerson person;
    GlueJob job(person);
    job.openWordFile(1, path("words.TextGrid"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 1u);
    // The settings as the command line and the Settings tab set them.
    const Setting *tier = findSetting(u"tier");
    tier->write(job.settings, QStringList{u"phones"_s});
    job.openWordFile(1, path("words.TextGrid"));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
    QCOMPARE(job.wordRows(WordTable::Main)[1].cell(WordRow::Text), u"o"_s);
    const Setting *format = findSetting(u"wordFormat");
    format->write(job.settings, format->choiceOf(u"vtt"));
    QCOMPARE(errorMessage([&] { job.openWordFile(1, path("words.TextGrid")); }),
             u"\"%1\": no words found"_s.arg(path("words.TextGrid")));
    QCOMPARE(job.wordRows(WordTable::Main).size(), 2u);
}

QTEST_GUILESS_MAIN(TstJobWordFormats)
#include "tst_jobwordformats.moc"
