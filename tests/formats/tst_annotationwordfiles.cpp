#include "formats/wordfile.h"
#include "support/files.h"
#include "support/wordlisting.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The annotation files of phoneticians and linguists (Praat, ELAN) and
// captions with word times (WebVTT), as their tools write them.
class TestAnnotationWordFiles : public QObject
{
    Q_OBJECT

private slots:
    void textGridsAreReadInEitherFormAndEncoding_data();
    void textGridsAreReadInEitherFormAndEncoding();
    void theTierReadIsTheWordTierElseTheChosenElseTheFirst_data();
    void theTierReadIsTheWordTierElseTheChosenElseTheFirst();
    void aDamagedTextGridIsRefusedNamingItsLine();
    void eafWordsTakeTheirSlotsAndTheirSpeakerFromTheTier();
    void eafSymbolicSubdivisionsShareTheirParentsTime();
    void captionsWithWordTimesAreReadOnceEach();
    void captionSpeakersAndUntimedCues();
};

namespace {

// A TextGrid as Praat writes its long text form: a phone tier before the
// word tier, blanks after values, an empty interval for the pause and a
// quote doubled inside a text.
const char *const longTextGrid = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\nxmin = 0 \nxmax = 2.5 \n"
                                 "tiers? <exists> \nsize = 2 \nitem []: \n"
                                 "    item [1]:\n        class = \"IntervalTier\" \n        name = \"phones\" \n"
                                 "        xmin = 0 \n        xmax = 2.5 \n        intervals: size = 1 \n"
                                 "        intervals [1]:\n            xmin = 0 \n            xmax = 2.5 \n"
                                 "            text = \"h a l o\" \n"
                                 "    item [2]:\n        class = \"IntervalTier\" \n        name = \"words\" \n"
                                 "        xmin = 0 \n        xmax = 2.5 \n        intervals: size = 3 \n"
                                 "        intervals [1]:\n            xmin = 0 \n            xmax = 1.2 \n"
                                 "            text = \"hallo\" \n"
                                 "        intervals [2]:\n            xmin = 1.2 \n            xmax = 1.5 \n"
                                 "            text = \"\" \n"
                                 "        intervals [3]:\n            xmin = 1.5 \n            xmax = 2.5 \n"
                                 "            text = \"\"\"ja\"\"\" \n";

// The same in the short text form.
const char *const shortTextGrid = "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n2.5\n<exists>\n2\n"
                                  "\"IntervalTier\"\n\"phones\"\n0\n2.5\n1\n0\n2.5\n\"h a l o\"\n"
                                  "\"IntervalTier\"\n\"words\"\n0\n2.5\n3\n0\n1.2\n\"hallo\"\n1.2\n1.5\n\"\"\n1.5\n2.5\n\"\"\"ja\"\"\"\n";

const QString textGridWords = u"hallo 0 1200 1.00 X\n\"ja\" 1500 2500 1.00 X"_s;

QByteArray encoded(const QString &text, QStringConverter::Encoding encoding, bool crlf)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    QString t = text;
    if (crlf)
        t.replace(u'\n', u"\r\n"_s);
    return encoder.encode(t);
}

// An interview as the Montreal Forced Aligner writes it: a word and a
// phone tier per speaker.
QByteArray mfaTextGrid()
{
    return "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n3\n<exists>\n3\n"
           "\"IntervalTier\"\n\"Anna - words\"\n0\n3\n2\n0\n1\n\"vraag\"\n1\n3\n\"\"\n"
           "\"IntervalTier\"\n\"Anna - phones\"\n0\n3\n1\n0\n1\n\"v\"\n"
           "\"IntervalTier\"\n\"Piet - words\"\n0\n3\n2\n0\n1.5\n\"\"\n1.5\n3\n\"antwoord\"\n";
}

// ELAN 3.0: a word tier under an utterance tier, an unaligned slot, a media
// origin that does not move the annotations.
const char *const eaf30 = R"(<?xml version="1.0" encoding="UTF-8"?>
<ANNOTATION_DOCUMENT AUTHOR="" DATE="2024-03-01T10:00:00+01:00" FORMAT="3.0" VERSION="3.0" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xsi:noNamespaceSchemaLocation="http://www.mpi.nl/tools/elan/EAFv3.0.xsd">
    <HEADER MEDIA_FILE="" TIME_UNITS="milliseconds">
        <MEDIA_DESCRIPTOR MEDIA_URL="file:///home/a/interview.wav" MIME_TYPE="audio/x-wav" TIME_ORIGIN="5000"/>
        <PROPERTY NAME="lastUsedAnnotationId">4</PROPERTY>
    </HEADER>
    <TIME_ORDER>
        <TIME_SLOT TIME_SLOT_ID="ts1" TIME_VALUE="100"/>
        <TIME_SLOT TIME_SLOT_ID="ts2" TIME_VALUE="900"/>
        <TIME_SLOT TIME_SLOT_ID="ts3"/>
        <TIME_SLOT TIME_SLOT_ID="ts4" TIME_VALUE="1500"/>
    </TIME_ORDER>
    <TIER LINGUISTIC_TYPE_REF="utterance" PARTICIPANT="Anna de Vries" TIER_ID="Anna">
        <ANNOTATION>
            <ALIGNABLE_ANNOTATION ANNOTATION_ID="a1" TIME_SLOT_REF1="ts1" TIME_SLOT_REF2="ts4">
                <ANNOTATION_VALUE>Ik kom uit Zwolle &amp; Kampen</ANNOTATION_VALUE>
            </ALIGNABLE_ANNOTATION>
        </ANNOTATION>
    </TIER>
    <TIER LINGUISTIC_TYPE_REF="words" PARENT_REF="Anna" PARTICIPANT="Anna de Vries" TIER_ID="words">
        <ANNOTATION><ALIGNABLE_ANNOTATION ANNOTATION_ID="a2" TIME_SLOT_REF1="ts1" TIME_SLOT_REF2="ts2"><ANNOTATION_VALUE>Ik</ANNOTATION_VALUE></ALIGNABLE_ANNOTATION></ANNOTATION>
        <ANNOTATION><ALIGNABLE_ANNOTATION ANNOTATION_ID="a3" TIME_SLOT_REF1="ts2" TIME_SLOT_REF2="ts3"><ANNOTATION_VALUE>kom</ANNOTATION_VALUE></ALIGNABLE_ANNOTATION></ANNOTATION>
        <ANNOTATION><ALIGNABLE_ANNOTATION ANNOTATION_ID="a4" TIME_SLOT_REF1="ts3" TIME_SLOT_REF2="ts4"><ANNOTATION_VALUE>uit</ANNOTATION_VALUE></ALIGNABLE_ANNOTATION></ANNOTATION>
    </TIER>
    <LINGUISTIC_TYPE GRAPHIC_REFERENCES="false" LINGUISTIC_TYPE_ID="utterance" TIME_ALIGNABLE="true"/>
    <LINGUISTIC_TYPE CONSTRAINTS="Time_Subdivision" GRAPHIC_REFERENCES="false" LINGUISTIC_TYPE_ID="words" TIME_ALIGNABLE="true"/>
    <CONSTRAINT DESCRIPTION="Time subdivision of parent annotation's time interval, no time gaps allowed within this interval" STEREOTYPE="Time_Subdivision"/>
</ANNOTATION_DOCUMENT>
)";

// ELAN 2.6: no tier named words; the first time-aligned tier is read, its
// words from a symbolic subdivision sharing their parent's time.
const char *const eaf26 = R"(<?xml version="1.0" encoding="UTF-8"?>
<ANNOTATION_DOCUMENT AUTHOR="" DATE="2010-01-01T00:00:00+01:00" FORMAT="2.6" VERSION="2.6">
<HEADER MEDIA_FILE="" TIME_UNITS="milliseconds"/>
<TIME_ORDER><TIME_SLOT TIME_SLOT_ID="t1" TIME_VALUE="0"/><TIME_SLOT TIME_SLOT_ID="t2" TIME_VALUE="1000"/></TIME_ORDER>
<TIER DEFAULT_LOCALE="nl" LINGUISTIC_TYPE_REF="tokens" PARENT_REF="Piet" TIER_ID="tokens@Piet">
<ANNOTATION><REF_ANNOTATION ANNOTATION_ID="r1" ANNOTATION_REF="p1"><ANNOTATION_VALUE>ja</ANNOTATION_VALUE></REF_ANNOTATION></ANNOTATION>
<ANNOTATION><REF_ANNOTATION ANNOTATION_ID="r2" ANNOTATION_REF="p1" PREVIOUS_ANNOTATION="r1"><ANNOTATION_VALUE>hoor</ANNOTATION_VALUE></REF_ANNOTATION></ANNOTATION>
</TIER>
<TIER DEFAULT_LOCALE="nl" LINGUISTIC_TYPE_REF="default" TIER_ID="Piet">
<ANNOTATION><ALIGNABLE_ANNOTATION ANNOTATION_ID="p1" TIME_SLOT_REF1="t1" TIME_SLOT_REF2="t2"><ANNOTATION_VALUE>ja hoor</ANNOTATION_VALUE></ALIGNABLE_ANNOTATION></ANNOTATION>
</TIER>
</ANNOTATION_DOCUMENT>
)";

// Automatic captions as a video site writes them: a line of one blank, the
// words timed inline, a short cue repeating the text untimed, the next
// timed cue's first line repeating it again.
const char *const videoSiteVtt = "WEBVTT\nKind: captions\nLanguage: nl\n\n"
                                 "00:00:00.320 --> 00:00:02.990 align:start position:0%\n \n"
                                 "goedemorgen<00:00:00.880><c> allemaal</c><00:00:01.520><c> welkom</c>\n\n"
                                 "00:00:02.990 --> 00:00:03.000 align:start position:0%\ngoedemorgen allemaal welkom\n \n\n"
                                 "00:00:03.000 --> 00:00:05.000 align:start position:0%\ngoedemorgen allemaal welkom\n"
                                 "bij<00:00:03.500><c> ons</c>\n";

} // namespace


void TestAnnotationWordFiles::textGridsAreReadInEitherFormAndEncoding_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("long, UTF-8, LF") << QByteArray(longTextGrid);
    QTest::newRow("short, UTF-8, LF") << QByteArray(shortTextGrid);
    QTest::newRow("long, UTF-16 LE, CR LF") << encoded(QString::fromUtf8(longTextGrid), QStringConverter::Utf16LE, true);
    QTest::newRow("short, UTF-16 BE, CR LF") << encoded(QString::fromUtf8(shortTextGrid), QStringConverter::Utf16BE, true);
    QTest::newRow("long, UTF-8 with mark, CR LF") << encoded(QString::fromUtf8(longTextGrid), QStringConverter::Utf8, true);
}

void TestAnnotationWordFiles::textGridsAreReadInEitherFormAndEncoding()
{
    QFETCH(QByteArray, file);
    QCOMPARE(wordListing(readWordBytes(file).words), textGridWords);
    QCOMPARE(wordListing(readWordBytes(file, WordFileKind::TextGrid).words), textGridWords);
}

void TestAnnotationWordFiles::theTierReadIsTheWordTierElseTheChosenElseTheFirst_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("tier");
    QTest::addColumn<QString>("words");
    // One speaker per tier: the words of both in order of time.
    QTest::newRow("MFA speakers") << mfaTextGrid() << QString() << u"vraag 0 1000 1.00 Anna\nantwoord 1500 3000 1.00 Piet"_s;
    // A tier chosen by name outweighs the word tier; its intervals of
    // several words are stretches.
    QTest::newRow("chosen") << QByteArray(longTextGrid) << u"phones"_s
                            << u"h 0 625 0.00 X\na 625 1250 0.00 X\nl 1250 1875 0.00 X\no 1875 2500 0.00 X"_s;
    // No word tier: the first interval tier, past a point tier.
    QTest::newRow("first interval tier")
        << QByteArray("File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n2\n<exists>\n2\n"
                      "\"TextTier\"\n\"events\"\n0\n2\n1\n0.5\n\"klop\"\n"
                      "\"IntervalTier\"\n\"transcript\"\n0\n2\n1\n0\n2\n\"zo\"\n")
        << QString() << u"zo 0 2000 1.00 X"_s;
}

void TestAnnotationWordFiles::theTierReadIsTheWordTierElseTheChosenElseTheFirst()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, tier);
    QFETCH(QString, words);
    QCOMPARE(wordListing(readWordBytes(file, WordFileKind::Auto, tier).words), words);
}

void TestAnnotationWordFiles::aDamagedTextGridIsRefusedNamingItsLine()
{
    QCOMPARE(errorMessage([] { readWordBytes(longTextGrid, WordFileKind::Auto, u"Words"_s, u"a.TextGrid"_s); }),
             u"\"a.TextGrid\": no tier \"Words\" (the file's tiers: \"phones\", \"words\")"_s);
    QByteArray cut(shortTextGrid);
    cut.chop(20);
    QCOMPARE(errorMessage([&] { readWordBytes(cut, WordFileKind::Auto, QString(), u"a.TextGrid"_s); }),
             u"\"a.TextGrid\": line 26: a text expected, found the end of the file"_s);
    QCOMPARE(errorMessage([] { readWordBytes("File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n0\n1\n<exists>\n99999999\n",
                                             WordFileKind::Auto, QString(), u"a.TextGrid"_s); }),
             u"\"a.TextGrid\": line 6: 99999999 is no count of the number of tiers"_s);
}

void TestAnnotationWordFiles::eafWordsTakeTheirSlotsAndTheirSpeakerFromTheTier()
{
    const WordFileRead read = readWordBytes(eaf30);
    // "kom" and "uit" meet at a slot without a value: they share the time
    // between their neighbours.
    QCOMPARE(wordListing(read.words),
             u"Ik 100 900 1.00 Anna de Vries\nkom 900 1200 0.00 Anna de Vries\nuit 1200 1500 0.00 Anna de Vries"_s);
    QCOMPARE(read.untimed, 2);
    QCOMPARE(read.transcript, (QStringList{u"[StartTime: 100 ms]"_s, u"[Speaker: SP_01 Anna de Vries]"_s,
                                           u"Ik kom uit Zwolle & Kampen"_s}));
}

void TestAnnotationWordFiles::eafSymbolicSubdivisionsShareTheirParentsTime()
{
    QCOMPARE(wordListing(readWordBytes(eaf26).words), u"ja 0 333 0.00 Piet\nhoor 333 1000 0.00 Piet"_s);
    QCOMPARE(wordListing(readWordBytes(eaf26, WordFileKind::Eaf, u"tokens@Piet"_s).words),
             u"ja 0 333 0.00 tokens@Piet\nhoor 333 1000 0.00 tokens@Piet"_s);
}

void TestAnnotationWordFiles::captionsWithWordTimesAreReadOnceEach()
{
    const QString words = u"goedemorgen 320 880 1.00 X\nallemaal 880 1520 1.00 X\nwelkom 1520 2990 1.00 X\n"
                          "bij 3000 3500 1.00 X\nons 3500 5000 1.00 X"_s;
    QCOMPARE(wordListing(readWordBytes(videoSiteVtt).words), words);
    QByteArray crlf(videoSiteVtt);
    crlf.replace("\n", "\r\n");
    QCOMPARE(wordListing(readWordBytes(crlf, WordFileKind::Vtt).words), words);
}

void TestAnnotationWordFiles::captionSpeakersAndUntimedCues()
{
    // A cue without word times is a stretch; two plain cues may say the same.
    const WordFileRead read = readWordBytes("WEBVTT\n\n1\n00:01.000 --> 00:02.000\n<v Anna>Dag Piet</v>\n\n"
                                            "2\n00:02.500 --> 00:03.000\n[SPEAKER_01]: Hoi &amp; dag\n\n"
                                            "00:03.000 --> 00:04.000\nHoi &amp; dag\n\n"
                                            "00:04.000 --> 00:05.000\nPiet de Vries: Ja\n");
    QCOMPARE(wordListing(read.words), u"Dag 1000 1429 0.00 Anna\nPiet 1429 2000 0.00 Anna\n"
                                      "Hoi 2500 2714 0.00 SPEAKER_01\n& 2714 2786 0.00 SPEAKER_01\ndag 2786 3000 0.00 SPEAKER_01\n"
                                      "Hoi 3000 3429 0.00 SPEAKER_01\n& 3429 3571 0.00 SPEAKER_01\ndag 3571 4000 0.00 SPEAKER_01\n"
                                      "Ja 4000 5000 1.00 Piet de Vries"_s);
    QCOMPARE(read.untimed, 8);
    QCOMPARE(read.firstUntimed, u"Dag"_s);
}

QTEST_GUILESS_MAIN(TestAnnotationWordFiles)
#include "tst_annotationwordfiles.moc"
