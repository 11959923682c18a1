#include "formats/jsontree.h"
#include "formats/wordfile.h"
#include "support/files.h"
#include "support/wordlisting.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

Q_DECLARE_METATYPE(WordFileKind)

// The JSON word files of recognisers and aligners, in the shapes their tools
// write: key order, float noise, escapes, the fields they leave out.
class TestJsonWordFiles : public QObject
{
    Q_OBJECT

private slots:
    void eachToolsFileIsReadAsItsToolMeantIt_data();
    void eachToolsFileIsReadAsItsToolMeantIt();
    void wordsWithoutTimesAreCountedAndNamed();
    void segmentsAndUtterancesBecomeTheTranscript();
    void aJsonFileNoReaderKnowsIsRefusedNamingWhatWasLookedFor_data();
    void aJsonFileNoReaderKnowsIsRefusedNamingWhatWasLookedFor();
    void aChosenFormatReadsAFileWhoseKeysDetectionWouldMiss();
    void escapesAndNumbersAreReadAsJsonMeansThem();
    void treesParsedOneAfterAnotherKeepTheirValues();
};

void TestJsonWordFiles::eachToolsFileIsReadAsItsToolMeantIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<WordFileKind>("kind"); // what detection must find
    QTest::addColumn<QString>("words");

    // WhisperX: a word may lack its speaker (the segment's) and, of digits,
    // its times and score; word_segments repeats every word.
    QTest::newRow("WhisperX") << QByteArray(R"({"segments": [{"start": 0.031, "end": 3.1, "text": " Hello there, born in 1952.",
 "words": [{"word": "Hello", "start": 0.031, "end": 0.30000000000000004, "score": 0.912, "speaker": "SPEAKER_00"},
  {"word": "there,", "start": 0.45, "end": 0.7000000000000001, "score": 0.8},
  {"word": "born", "start": 1.0, "end": 1.2, "score": 0.99, "speaker": "SPEAKER_00"},
  {"word": "in", "start": 1.3, "end": 1.4, "score": 0.7, "speaker": "SPEAKER_00"},
  {"word": "1952."}], "speaker": "SPEAKER_00"},
 {"start": 3.5, "end": 4.0, "text": " Ja.", "words": [{"word": "Ja.", "start": 3.5, "end": 3.9, "score": 0.5, "speaker": "SPEAKER_01"}], "speaker": "SPEAKER_01"}],
 "word_segments": [{"word": "Hello", "start": 0.031, "end": 0.30000000000000004, "score": 0.912, "speaker": "SPEAKER_00"},
  {"word": "there,", "start": 0.45, "end": 0.7000000000000001, "score": 0.8}, {"word": "born", "start": 1.0, "end": 1.2, "score": 0.99},
  {"word": "in", "start": 1.3, "end": 1.4, "score": 0.7}, {"word": "1952."}, {"word": "Ja.", "start": 3.5, "end": 3.9, "score": 0.5}],
 "language": "nl"})")
                              << WordFileKind::WhisperX
                              << u"Hello 31 300 0.91 SPEAKER_00\nthere, 450 700 0.80 SPEAKER_00\n"
                                 u"born 1000 1200 0.99 SPEAKER_00\nin 1300 1400 0.70 SPEAKER_00\n"
                                 u"1952. 1400 3500 0.00 SPEAKER_00\nJa. 3500 3900 0.50 SPEAKER_01"_s;
    // Speakers change from word to word, as a number or a text, and a word
    // without one has its segment's.
    QTest::newRow("WhisperX, speakers word by word") << QByteArray(R"({"segments": [{"start": 0, "end": 6, "text": " a b c d e f", "speaker": "S",
 "words": [{"word": "a", "start": 0, "end": 1, "score": 1, "speaker": "A"}, {"word": "b", "start": 1, "end": 2, "score": 1, "speaker": "A"},
  {"word": "c", "start": 2, "end": 3, "score": 1, "speaker": 7}, {"word": "d", "start": 3, "end": 4, "score": 1, "speaker": "7"},
  {"word": "e", "start": 4, "end": 5, "score": 1}, {"word": "f", "start": 5, "end": 6, "score": 1, "speaker": " A "}]}]})")
                              << WordFileKind::WhisperX
                              << u"a 0 1000 1.00 A\nb 1000 2000 1.00 A\nc 2000 3000 1.00 SPEAKER_7\n"
                                 u"d 3000 4000 1.00 7\ne 4000 5000 1.00 S\nf 5000 6000 1.00 A"_s;
    // openai-whisper: a piece without a leading blank continues the word;
    // faster-whisper may write "words": null: the segment is one stretch,
    // shared by characters.
    QTest::newRow("openai-whisper") << QByteArray(R"({"text": " Goedemorgen allemaal. Dag", "segments": [
 {"id": 0, "seek": 0, "start": 0.0, "end": 1.5, "text": " Goedemorgen allemaal.", "tokens": [50364, 1], "temperature": 0.0,
  "avg_logprob": -0.2, "compression_ratio": 1.1, "no_speech_prob": 0.01,
  "words": [{"word": " Goede", "start": 0.0, "end": 0.4, "probability": 0.9}, {"word": "morgen", "start": 0.4, "end": 0.8, "probability": 0.6},
   {"word": " ", "start": 0.8, "end": 0.8, "probability": 0.1}, {"word": " allemaal.", "start": 0.9, "end": 1.5, "probability": 0.95}]},
 {"id": 1, "seek": 0, "start": 2.0, "end": 3.0, "text": " Dag dag", "tokens": [2], "words": null}], "language": "nl"})")
                                    << WordFileKind::Whisper
                                    << u"Goedemorgen 0 800 0.60 X\nallemaal. 900 1500 0.95 X\n"
                                       u"Dag 2000 2500 0.00 X\ndag 2500 3000 0.00 X"_s;
    QTest::newRow("whisper-timestamped") << QByteArray(R"({"text": " Yes, I know.", "segments": [{"id": 0, "seek": 0, "start": 0.5, "end": 2.1,
 "text": " Yes, I know.", "confidence": 0.8, "words": [{"text": "Yes,", "start": 0.5, "end": 0.9, "confidence": 0.91},
 {"text": " ", "start": 0.9, "end": 0.9, "confidence": 0.0}, {"text": "I", "start": 1.0, "end": 1.1, "confidence": 0.5},
 {"text": "know.", "start": 1.2, "end": 2.1, "confidence": 0.72}]}], "language": "en"})")
                                         << WordFileKind::Whisper
                                         << u"Yes, 500 900 0.91 X\nI 1000 1100 0.50 X\nknow. 1200 2100 0.72 X"_s;
    // whisper.cpp -ojf: special tokens dropped, sub-word tokens joined.
    QTest::newRow("whisper.cpp with tokens") << QByteArray(R"({"systeminfo": "AVX = 1 | NEON = 0", "model": {"type": "base"},
 "params": {"model": "models/ggml-base.bin", "language": "en"}, "result": {"language": "en"},
 "transcription": [{"timestamps": {"from": "00:00:00,000", "to": "00:00:02,000"}, "offsets": {"from": 0, "to": 2000},
  "text": " Well unbelievable", "tokens": [
  {"text": "[_BEG_]", "timestamps": {"from": "00:00:00,000", "to": "00:00:00,000"}, "offsets": {"from": 0, "to": 0}, "id": 50364, "p": 0.99},
  {"text": " Well", "timestamps": {"from": "00:00:00,000", "to": "00:00:00,400"}, "offsets": {"from": 0, "to": 400}, "id": 1042, "p": 0.8},
  {"text": " unbel", "timestamps": {"from": "00:00:00,500", "to": "00:00:01,000"}, "offsets": {"from": 500, "to": 1000}, "id": 2, "p": 0.9},
  {"text": "ievable", "timestamps": {"from": "00:00:01,000", "to": "00:00:01,800"}, "offsets": {"from": 1000, "to": 1800}, "id": 3, "p": 0.4},
  {"text": "[_TT_90]", "timestamps": {"from": "00:00:01,800", "to": "00:00:01,800"}, "offsets": {"from": 1800, "to": 1800}, "id": 50454, "p": 0.5}]}]})")
                                             << WordFileKind::WhisperCpp
                                             << u"Well 0 400 0.80 X\nunbelievable 500 1800 0.40 X"_s;
    // Without -ojf each segment is one stretch; the timestamps alone will do.
    QTest::newRow("whisper.cpp without tokens") << QByteArray(R"({"systeminfo": "AVX = 1", "transcription": [
 {"timestamps": {"from": "00:01:00,000", "to": "00:01:02,000"}, "text": " ab abcd"}]})")
                                                << WordFileKind::WhisperCpp
                                                << u"ab 60000 60667 0.00 X\nabcd 60667 62000 0.00 X"_s;
    // Gentle: the three cases; alignedWord <unk> keeps the word's text.
    QTest::newRow("Gentle") << QByteArray(R"({"transcript": "Hallo \"Piet\", Zwolle.\nNee",
 "words": [{"alignedWord": "hallo", "case": "success", "end": 0.52, "endOffset": 5, "phones": [{"duration": 0.1, "phone": "hh_B"}], "start": 0.1, "startOffset": 0, "word": "Hallo"},
 {"case": "not-found-in-audio", "endOffset": 12, "startOffset": 7, "word": "Piet"},
 {"alignedWord": "<unk>", "case": "success", "end": 1.4, "endOffset": 21, "phones": [], "start": 1.0, "startOffset": 15, "word": "Zwolle"},
 {"alignedWord": "nee", "case": "not-found-in-transcript", "end": 2.0, "phones": [], "start": 1.8, "word": "nee"}]})")
                            << WordFileKind::Gentle
                            << u"Hallo 100 520 1.00 X\nPiet 520 1000 0.00 X\nZwolle 1000 1400 1.00 X\nnee 1800 2000 1.00 X"_s;
    QTest::newRow("Gentle, old build") << QByteArray(R"({"transcript": "a b", "tokens": [{"case": "success", "start": 1, "end": 2, "word": "a"},
 {"case": "success", "start": 2, "end": 3, "word": "b"}]})")
                                       << WordFileKind::Gentle << u"a 1000 2000 1.00 X\nb 2000 3000 1.00 X"_s;
    // Deepgram: punctuated_word first, integer speakers.
    QTest::newRow("Deepgram") << QByteArray(R"({"metadata": {"request_id": "x", "channels": 1}, "results": {"channels": [{"alternatives": [{
 "transcript": "hello yes", "confidence": 0.99, "words": [{"word": "hello", "start": 0.08, "end": 0.56, "confidence": 0.98, "speaker": 0, "speaker_confidence": 0.6, "punctuated_word": "Hello."},
 {"word": "yes", "start": 0.9, "end": 1.2, "confidence": 0.7, "speaker": 1, "speaker_confidence": 0.5, "punctuated_word": "Yes!"},
 {"word": "ok", "start": 1.3, "end": 1.5, "confidence": 0.6}]}]}]}})")
                              << WordFileKind::Deepgram
                              << u"Hello. 80 560 0.98 speaker_0\nYes! 900 1200 0.70 speaker_1\nok 1300 1500 0.60 X"_s;
    // AWS: times and confidences as texts, punctuation joins the word
    // before, speakers from speaker_labels by start time.
    QTest::newRow("AWS Transcribe") << QByteArray(R"({"jobName": "interview", "accountId": "1", "results": {"transcripts": [{"transcript": "Hi, there."}],
 "speaker_labels": {"speakers": 2, "segments": [{"start_time": "0.44", "speaker_label": "spk_0", "end_time": "0.9",
  "items": [{"start_time": "0.44", "speaker_label": "spk_0", "end_time": "0.9"}]},
  {"start_time": "1.0", "speaker_label": "spk_1", "end_time": "1.5", "items": [{"start_time": "1.0", "speaker_label": "spk_1", "end_time": "1.5"}]}]},
 "items": [{"start_time": "0.44", "end_time": "0.9", "alternatives": [{"confidence": "0.9979", "content": "Hi"}], "type": "pronunciation"},
  {"alternatives": [{"confidence": "0.0", "content": ","}], "type": "punctuation"},
  {"start_time": "1.0", "end_time": "1.5", "alternatives": [{"confidence": "0.5", "content": "there"}], "type": "pronunciation"},
  {"alternatives": [{"confidence": "0.0", "content": "."}], "type": "punctuation"}]}, "status": "COMPLETED"})")
                                    << WordFileKind::Aws << u"Hi, 440 900 1.00 spk_0\nthere. 1000 1500 0.50 spk_1"_s;
    QTest::newRow("AssemblyAI") << QByteArray(R"({"id": "6rl", "language_code": "en_us", "status": "completed", "text": "Hello world.",
 "words": [{"text": "Hello", "start": 250, "end": 650, "confidence": 0.97, "speaker": "A"},
 {"text": "world.", "start": 730, "end": 1022, "confidence": 0.5, "speaker": "B"}]})")
                                << WordFileKind::AssemblyAi << u"Hello 250 650 0.97 A\nworld. 730 1022 0.50 B"_s;
    // Google: "1.300s", and {seconds, nanos} with seconds a text and nanos
    // left out on whole seconds.
    QTest::newRow("Google, REST") << QByteArray(R"({"results": [{"alternatives": [{"transcript": "how old", "confidence": 0.9,
 "words": [{"startTime": "1.300s", "endTime": "1.400s", "word": "how", "confidence": 0.9},
 {"startTime": "1.400s", "endTime": "2s", "word": "old"}]}], "resultEndTime": "2s", "languageCode": "en-us"}]})")
                                  << WordFileKind::Google << u"how 1300 1400 0.90 X\nold 1400 2000 1.00 X"_s;
    QTest::newRow("Google, client library") << QByteArray(R"({"results": [{"alternatives": [{"transcript": "ja", "words": [
 {"start_time": {"seconds": "3", "nanos": 100000000}, "end_time": {"seconds": "4"}, "word": "ja"}]}]}]})")
                                            << WordFileKind::Google << u"ja 3100 4000 1.00 X"_s;
    // With speaker tags the last result repeats every word: read once.
    QTest::newRow("Google, speaker tags") << QByteArray(R"({"results": [
 {"alternatives": [{"transcript": "a b", "words": [{"startTime": "0s", "endTime": "1s", "word": "a"}, {"startTime": "1s", "endTime": "2s", "word": "b"}]}]},
 {"alternatives": [{"transcript": "a b", "words": [{"startTime": "0s", "endTime": "1s", "word": "a", "speakerTag": 1},
  {"startTime": "1s", "endTime": "2s", "word": "b", "speakerTag": 2}]}]}]})")
                                          << WordFileKind::Google << u"a 0 1000 1.00 speaker_1\nb 1000 2000 1.00 speaker_2"_s;
    QTest::newRow("Vosk, one result") << QByteArray(R"({"result": [{"conf": 1.0, "end": 1.02, "start": 0.33, "word": "hallo"},
 {"conf": 0.45, "end": 1.5, "start": 1.1, "word": "daar"}], "text": "hallo daar"})")
                                      << WordFileKind::Vosk << u"hallo 330 1020 1.00 X\ndaar 1100 1500 0.45 X"_s;
    QTest::newRow("Vosk, utterances") << QByteArray("[{\"text\": \"een\", \"words\": [{\"conf\": 0.5, \"end\": 1, \"start\": 0.5, \"word\": \"een\"}]},\r\n"
                                                    " {\"text\": \"\"}, {\"result\": [{\"conf\": 1, \"end\": 3, \"start\": 2, \"word\": \"twee\"}], \"text\": \"twee\"}]")
                                      << WordFileKind::Vosk << u"een 500 1000 0.50 X\ntwee 2000 3000 1.00 X"_s;
}

void TestJsonWordFiles::eachToolsFileIsReadAsItsToolMeantIt()
{
    QFETCH(QByteArray, file);
    QFETCH(WordFileKind, kind);
    QFETCH(QString, words);
    QCOMPARE(wordListing(readWordBytes(file).words), words);
    // Detection found the reader the format names.
    QCOMPARE(wordListing(readWordBytes(file, kind).words), words);
    // A byte-order mark and CR LF change nothing.
    QByteArray withMark = "\xEF\xBB\xBF" + file;
    withMark.replace("\n", "\r\n");
    QCOMPARE(wordListing(readWordBytes(withMark).words), words);
}

void TestJsonWordFiles::wordsWithoutTimesAreCountedAndNamed()
{
    // Two untimed words and a stretch of two: four words got their times.
    const WordFileRead read = readWordBytes(R"({"segments": [
 {"start": 1.0, "end": 2.0, "text": " a", "words": [{"word": "a", "start": 1.0, "end": 2.0, "score": 0.9}]},
 {"start": 2.0, "end": 3.0, "text": " 12 %", "words": [{"word": "12"}, {"word": "%"}]},
 {"start": 5.0, "end": 6.0, "text": " xx yy", "words": []},
 {"start": 7.0, "end": 8.0, "text": " b", "words": [{"word": "b", "start": 7.0, "end": 8.0, "score": 0.9}]}]})");
    QCOMPARE(read.untimed, 4);
    QCOMPARE(read.firstUntimed, u"12"_s);
    // "12" and "%" share 2000..5000 by characters (2:1).
    QCOMPARE(wordListing(read.words), u"a 1000 2000 0.90 X\n12 2000 4000 0.00 X\n% 4000 5000 0.00 X\n"
                                      u"xx 5000 5500 0.00 X\nyy 5500 6000 0.00 X\nb 7000 8000 0.90 X"_s);
    // Untimed words before the first timed one lie between 0 and it.
    const WordFileRead first = readWordBytes(R"({"transcript": "x y z", "words": [{"case": "not-found-in-audio", "word": "x"},
 {"case": "success", "start": 2, "end": 3, "word": "y"}, {"case": "not-found-in-audio", "word": "z"}]})");
    QCOMPARE(wordListing(first.words), u"x 0 2000 0.00 X\ny 2000 3000 1.00 X\nz 3000 3000 0.00 X"_s);
    QCOMPARE(first.untimed, 2);
}

void TestJsonWordFiles::segmentsAndUtterancesBecomeTheTranscript()
{
    // Speakers change: a start time and a numbered speaker line each time.
    const WordFileRead whisperx = readWordBytes(R"({"segments": [
 {"start": 0.5, "end": 1, "text": " Hoe gaat het?", "speaker": "SPEAKER_01", "words": [{"word": "Hoe", "start": 0.5, "end": 1, "score": 1}]},
 {"start": 1, "end": 2, "text": " Goed.", "speaker": "SPEAKER_00", "words": [{"word": "Goed.", "start": 1, "end": 2, "score": 1}]},
 {"start": 2, "end": 3, "text": " En jij?", "speaker": "SPEAKER_00", "words": []},
 {"start": 3, "end": 4, "text": " Ook.", "speaker": "SPEAKER_01", "words": []}]})");
    QCOMPARE(whisperx.transcript, (QStringList{u"[StartTime: 500 ms]"_s, u"[Speaker: SP_01 SPEAKER_01]"_s, u"Hoe gaat het?"_s, QString(),
                                               u"[StartTime: 1000 ms]"_s, u"[Speaker: SP_02 SPEAKER_00]"_s, u"Goed."_s, u"En jij?"_s,
                                               QString(), u"[StartTime: 3000 ms]"_s, u"[Speaker: SP_01 SPEAKER_01]"_s, u"Ook."_s}));
    // Without speakers, a line per segment and nothing else.
    const WordFileRead whisper = readWordBytes(R"({"segments": [{"start": 0, "end": 1, "text": " Een.", "words": null},
 {"start": 1, "end": 2, "text": " Twee.", "words": null}]})");
    QCOMPARE(whisper.transcript, (QStringList{u"Een."_s, u"Twee."_s}));
    // Gentle's transcript, line by line.
    QCOMPARE(readWordBytes(R"({"transcript": "Regel een\n\nRegel twee\n", "words": [{"case": "success", "start": 0, "end": 1, "word": "Regel"}]})")
                 .transcript,
             (QStringList{u"Regel een"_s, u"Regel twee"_s}));
    // A service without segments: a line per sentence, by speaker.
    QCOMPARE(readWordBytes(R"({"text": "x", "words": [{"text": "Ja.", "start": 0, "end": 10, "speaker": "A"},
 {"text": "Goed", "start": 20, "end": 30, "speaker": "A"}, {"text": "zo.", "start": 40, "end": 50, "speaker": "A"},
 {"text": "Nee", "start": 60, "end": 70, "speaker": "B"}]})")
                 .transcript,
             (QStringList{u"[StartTime: 0 ms]"_s, u"[Speaker: SP_01 A]"_s, u"Ja."_s, u"Goed zo."_s, QString(),
                          u"[StartTime: 60 ms]"_s, u"[Speaker: SP_02 B]"_s, u"Nee"_s}));
    // CTM lines hold no transcript.
    QVERIFY(readWordBytes("f\t1\t0.1\t0.2\ta\t0.9\n", WordFileKind::Auto).transcript.isEmpty());
}

void TestJsonWordFiles::aJsonFileNoReaderKnowsIsRefusedNamingWhatWasLookedFor_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    const QString lookedFor = u"whisper.cpp: transcription[]; WhisperX: word_segments, or segments[].words[] with score; "
                              "Whisper: segments[]; Gentle: words[] or tokens[] with case; AssemblyAI: words[] with text; "
                              "Deepgram: results.channels[]; AWS Transcribe: results.items[]; Google: "
                              "results[].alternatives[]; Vosk: result[], or a list of utterances"_s;
    QTest::newRow("other JSON") << QByteArray(R"({"name": "interview", "items": [1, 2]})")
                                << u"\"in.json\": not a word file Naadwerk knows (a JSON file, but none of %1)"_s.arg(lookedFor);
    QTest::newRow("a list of numbers") << QByteArray("[1, 2, 3]")
                                       << u"\"in.json\": not a word file Naadwerk knows (a JSON file, but none of %1)"_s.arg(lookedFor);
    QTest::newRow("cut short") << QByteArray(R"({"segments": [{"start": 0.0, )")
                               << u"\"in.json\": not a word file Naadwerk knows (JSON that does not parse: "
                                  "JSON document ended early in the middle of an object or array at byte 29)"_s;
    QTest::newRow("other XML") << QByteArray("<?xml version=\"1.0\"?>\n<tt xmlns=\"http://www.w3.org/ns/ttml\"><body/></tt>")
                               << u"\"in.json\": not a word file Naadwerk knows (an XML file whose root is <tt>, not "
                                  "ELAN EAF: <ANNOTATION_DOCUMENT>)"_s;
    // A word whose time is no number names the file.
    QTest::newRow("a time of the wrong kind") << QByteArray(R"({"segments": [{"start": 0, "end": 1, "text": "a", "words": [{"word": "a", "start": true, "end": 1, "score": 1}]}]})")
                                              << u"\"in.json\": 'true' is not a time in seconds"_s;
    QTest::newRow("nothing in it") << QByteArray(R"({"segments": []})") << u"\"in.json\": no words found"_s;
}

void TestJsonWordFiles::aJsonFileNoReaderKnowsIsRefusedNamingWhatWasLookedFor()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QCOMPARE(errorMessage([&] { readWordBytes(file, WordFileKind::Auto, QString(), u"in.json"_s); }), message);
}

void TestJsonWordFiles::aChosenFormatReadsAFileWhoseKeysDetectionWouldMiss()
{
    // WhisperX without scores looks like Whisper; chosen, it is read as WhisperX.
    const QByteArray file = R"({"segments": [{"start": 0, "end": 1, "text": " a", "speaker": "S1", "words": [{"word": "a", "start": 0, "end": 1}]}]})";
    QCOMPARE(wordListing(readWordBytes(file, WordFileKind::WhisperX).words), u"a 0 1000 1.00 S1"_s);
    // A JSON format chosen for CTM lines says the file is no JSON.
    QCOMPARE(errorMessage([] { readWordBytes("f 1 0.1 0.2 a 0.9\n", WordFileKind::Vosk, QString(), u"a.ctm"_s); }),
             u"\"a.ctm\": not a word file Naadwerk knows (JSON that does not parse: Problem while parsing an atom starting with the letter 'f' at byte 0)"_s);
    // CTM chosen for a JSON file reads it as lines, and fails on its first.
    QVERIFY(errorMessage([&] { readWordBytes(file, WordFileKind::Ctm); }).startsWith(u"\"words\", line 1: "_s));
}

void TestJsonWordFiles::escapesAndNumbersAreReadAsJsonMeansThem()
{
    // Escapes as JSON writers put them: quotes, a backslash, \u of Latin
    // letters and a surrogate pair, in keys too; numbers with exponents.
    const QByteArray file = R"({"segments": [{"start": 0, "end": 1e1, "text": "x", "words": [
 {"word": "caf\u00e9", "start": 1E-1, "end": 0.2, "score": 0.5},
 {"word": "\"ja\"\\", "st\u0061rt": -0.0, "end": 3.0e0, "score": 1},
 {"word": "\ud83d\ude00\/", "start": 4, "end": 5, "score": 0.25}]}]})";
    QCOMPARE(wordListing(readWordBytes(file).words),
             u"caf\u00e9 100 200 0.50 X\n\"ja\"\\ 0 3000 1.00 X\n\U0001F600/ 4000 5000 0.25 X"_s);
    // A document nested deeper than any tool writes is refused, not followed down.
    QCOMPARE(errorMessage([] { readWordBytes(QByteArray(100000, '[') + QByteArray(100000, ']'), WordFileKind::Auto, QString(), u"deep.json"_s); }),
             u"\"deep.json\": not a word file Naadwerk knows (JSON that does not parse: The JSON document was too "
             "deep (too many nested objects and arrays) at byte 513)"_s);
    for (const char *bad : {"{\"a\": 01}", "{\"a\": 1.}", "{\"a\": \"\\x\"}", "{\"a\": \"\t\"}", "{\"a\": 1} x", "{\"a\" 1}"})
        QVERIFY2(errorMessage([&] { readWordBytes(bad); }).contains(u"JSON that does not parse"_s), bad);
}

void TestJsonWordFiles::treesParsedOneAfterAnotherKeepTheirValues()
{
    // A tree gone leaves its parser to the next: a tree still alive keeps
    // its own, whatever is parsed after it, larger or smaller.
    const auto listing = [](const JsonTree &tree) {
        QStringList out;
        for (const JsonValue v : tree.object().value("w"_L1))
            out << (v.isString() ? v.toString() : QString::number(v.toDouble()));
        return out.join(u' ');
    };
    JsonTree first(R"({"w": ["a", 1.5, "b"]})");
    {
        JsonTree larger(R"({"w": ["long text one", 2, 3, 4, "long text two", 5, 6, 7, 8, 9, 10, 11, 12]})");
        QCOMPARE(listing(larger), u"long text one 2 3 4 long text two 5 6 7 8 9 10 11 12"_s);
    }
    JsonTree smaller(R"({"w": ["c"]})");
    QCOMPARE(listing(smaller), u"c"_s);
    QCOMPARE(listing(first), u"a 1.5 b"_s);
    first = JsonTree(R"({"w": [true, "d"]})");
    QCOMPARE(listing(first), u"0 d"_s);
    QCOMPARE(listing(smaller), u"c"_s);
    // A refused document leaves no tree behind it spoilt.
    QVERIFY(errorMessage([] { JsonTree(R"({"w": [)"); }).contains(u"JSON that does not parse"_s));
    QCOMPARE(listing(JsonTree(R"({"w": ["e", 7]})")), u"e 7"_s);
}

QTEST_GUILESS_MAIN(TestJsonWordFiles)
#include "tst_jsonwordfiles.moc"
