// Bad inputs through the job's commands, as the window and naadwerk-cli run
// them: open the six inputs, Glue, Save, stopping at the first error. Every
// row names the message the person sees and which outputs are written; every
// other file in the folder, the outputs of an earlier run included, must be
// byte for byte what it was, and no temporary file may be left behind.
#include "base/error.h"
#include "base/paths.h"
#include "base/textfile.h"
#include "support/fakeperson.h"
#include "support/jobsteps.h"
#include "support/files.h"
#include "formats/karaokebody.h"
#include "formats/filebytesource.h"
#include "formats/wavheader.h"
#include "formats/wordfilewriter.h"
#include "job/gluejob.h"
#include "support/wavbuilder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <sys/mount.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qint64 framesPerHalf = 16000; // one second of each half

// "RIFF" riffSize "WAVE", then a "fmt " chunk of mono 16-bit 16 kHz that
// claims fmtSize bytes.
QByteArray riffAndFmt(quint32 riffSize, quint32 fmtSize = 16)
{
    return "RIFF" + le32(riffSize) + "WAVEfmt " + le32(fmtSize) + fmtBody(1, 1, 16000, 16);
}

// A whole mono 16-bit 16 kHz WAV file; the samples a quiet saw tooth, or
// silence.
QByteArray wav(qint64 frames, bool silent = false)
{
    std::vector<qint16> samples(size_t(frames), 0);
    if (!silent)
        for (qint64 i = 0; i < frames; ++i)
            samples[size_t(i)] = qint16((i % 200) * 20 - 2000);
    return wav16k(samples);
}

QByteArray lines(const QStringList &list)
{
    return (list.join(u'\n') + u'\n').toUtf8();
}

const QStringList spk1 = {u"half1\t1\t0.000\t0.400\tSIL\t1.00\tAnna"_s,
                          u"half1\t1\t0.400\t0.700\tGood\t0.97\tAnna"_s,
                          u"half1\t1\t0.700\t0.950\tmorning.\t0.94\tAnna"_s};
const QStringList spk2 = {u"half2\t1\t0.000\t0.300\tYes,\t0.90\tBob"_s,
                          u"half2\t1\t0.300\t0.800\tindeed.\t0.90\tBob"_s};
const QStringList text1 = {u"[StartTime: 400 ms]"_s, u"[Speaker: SP_01 Anna]"_s,
                           u"Good morning."_s, u"[EndTime: 950 ms]"_s};
const QStringList text2 = {u"[StartTime: 1000 ms]"_s, u"[Speaker: SP_02 Bob]"_s,
                           u"Yes, indeed."_s, u"[EndTime: 1800 ms]"_s};

// What the folder holds: the bytes of each file under it (its size and a
// hash for the sparse giants), by path relative to it.
using FolderContents = QMap<QString, QByteArray>;

FolderContents readFolder(const QString &folder)
{
    FolderContents contents;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        QByteArray bytes = "<unreadable>";
        if (f.open(QIODevice::ReadOnly)) {
            if (f.size() <= (64 << 20))
                bytes = f.readAll();
            else
                bytes = "<" + QByteArray::number(f.size()) + " bytes, starting "
                        + QCryptographicHash::hash(f.read(1 << 20), QCryptographicHash::Sha1).toHex() + ">";
        }
        contents.insert(QDir(folder).relativeFilePath(path), bytes);
    }
    return contents;
}

// A sparse WAV whose header is followed by nothing but a hole: large on the
// disk's books, no room taken.
void writeGiant(const QString &path, const QByteArray &header, qint64 size)
{
    writeBytes(path, header);
    QFile f(path);
    if (!f.resize(size))
        qFatal("cannot resize %s", qPrintable(path));
}

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A small tmpfs mounted on a folder for as long as it lives.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, const char *size) : thePath(folder)
    {
        QDir().mkpath(folder);
        const QByteArray options = QByteArray("size=") + size;
        mounted = ::geteuid() == 0
                  && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(thePath).constData(), MNT_DETACH);
    }
    bool mounted = false;

private:
    QString thePath;
};

// Fills the file system of folder to the last byte.
void fillToTheBrim(const QString &folder)
{
    QFile f(folder + u"/filler"_s);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot fill %s", qPrintable(folder));
    const QByteArray block(4096, 'v');
    while (f.write(block) == block.size() && f.flush()) {
    }
    f.close();
    QFile g(folder + u"/filler2"_s); // the last partial block
    if (g.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        while (g.write("v", 1) == 1) {
        }
}

// The bytes of the joined word file the job's rows make, written apart.
QByteArray expectedWordFile(const GlueJob &job)
{
    QTemporaryDir apart;
    const QString path = apart.filePath(u"words"_s);
    writeWordFile(path, job.wordRows(WordTable::Main),
                  replaceExtension(fileNamePart(job.outputs().wordFile), QString()), job.joinedSeparator(),
                  job.outputs().wordFile.endsWith(u".spk"_s), job.joinedLayout());
    return readBytes(path);
}

// The bytes of the karaoke page the job's rows make.
QByteArray expectedPage(const GlueJob &job)
{
    return bytesFromLines(karaokePage(job.wordRows(WordTable::Main),
                                      replaceExtension(fileNamePart(job.outputs().text), QString()),
                                      job.outputs().recording));
}

} // namespace

class TestBadInputs : public QObject
{
    Q_OBJECT
private slots:
    void badInputGivesAMessageAndLeavesTheFilesWhole_data();
    void badInputGivesAMessageAndLeavesTheFilesWhole();
};

void TestBadInputs::badInputGivesAMessageAndLeavesTheFilesWhole_data()
{
    // input: the input that holds contents ("ctm1", "text1", "wav1", "wav2"
    // or none); when: "open" when it holds it from the start, "glue" when it
    // was good when opened and changed before Glue; setUp: a set-up that
    // bytes cannot describe; message: the message ("%m" the folder, empty
    // when all goes well); written: the outputs written whole.
    QTest::addColumn<QString>("input");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("when");
    QTest::addColumn<bool>("tab");
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("written");

    const QStringList all = {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s,
                             u"joined.txt"_s, u"joined.html"_s, u"joined_word.txt"_s};
    const QStringList wavOnly = {u"joined.wav"_s};
    // A word file's message names the file and line; a line without the
    // separator that splits at blanks says which separator to choose.
    const QString notAFloat = u"\"%m/half1.spk\", line 1: '%1' is not a valid floating point value"_s;
    const QString chooseSpace =
        u"; the fields are apart by blanks: choose \"Space\" on the Settings tab (--separator space)"_s;
    const QString notAWordFile = u"\"%m/half1.spk\" is not a word file: line 1 is not text"_s;
    // A recording neither reader takes names the file and both reasons.
    const QString truncated = refusedRecording(u"%m/half1.wav"_s, u"Truncated WAV header"_s);

    const auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };

    row("an empty CTM file") << u"ctm1"_s << QByteArray() << u"open"_s << true << QString()
                             << u"\"%m/half1.spk\": no words found"_s << QStringList();
    // A recording is no text, whatever the separator.
    row("a recording given as CTM, Tab") << u"ctm1"_s << wav(framesPerHalf, true) << u"open"_s << true
                                         << QString() << notAWordFile << QStringList();
    row("a recording given as CTM, blank") << u"ctm1"_s << wav(framesPerHalf, true) << u"open"_s << false
                                           << QString() << notAWordFile << QStringList();
    row("a CTM of blanks read with Tab")
        << u"ctm1"_s << lines(spk1).replace('\t', ' ') << u"open"_s << true << QString()
        << notAFloat.arg(QString()) + chooseSpace << QStringList();
    row("a CTM of tabs read with blanks, a blank in a word")
        << u"ctm1"_s << lines(QStringList{u"half1\t1\t0.400\t0.700\tnew york\t0.97\tAnna"_s} + spk1)
        << u"open"_s << false << QString() << notAFloat.arg(u"half1\t1\t0.400\t0.700\tnew"_s)
        << QStringList();
    row("a CTM word of 100,000 characters")
        << u"ctm1"_s << lines({spk1[0], u"half1\t1\t0.400\t0.700\t"_s + QString(100000, u'w') + u".\t0.97\tAnna"_s})
        << u"open"_s << true << QString() << QString() << all;
    row("a CTM time of 100,000 digits")
        << u"ctm1"_s << lines({u"half1\t1\t"_s + QString(100000, u'1') + u"\t0.700\tGood.\t0.97\tAnna"_s})
        << u"open"_s << true << QString() << notAFloat.arg(QString(60, u'1') + u"..."_s) << QStringList();

    row("an empty text") << u"text1"_s << QByteArray() << u"open"_s << true << QString() << QString() << all;
    row("a recording given as text") << u"text1"_s << wav(framesPerHalf) << u"open"_s << true << QString()
                                     << QString() << all;
    row("a text with NUL bytes") << u"text1"_s << QByteArray("[StartTime: 400 ms]\nGood\0morning.\n\0\n", 36)
                                 << u"open"_s << true << QString() << QString() << all;
    row("a text line of 100,000 characters")
        << u"text1"_s << lines({QString(100000, u'x')}) << u"open"_s << true << QString() << QString() << all;
    // The transcript is built after the joined recording was written.
    row("a start time of 100,000 digits")
        << u"text1"_s << lines({u"[StartTime: "_s + QString(100000, u'9') + u" ms]"_s, u"Hello."_s})
        << u"open"_s << true << QString()
        << u"'%1...' is not a valid integer value"_s.arg(QString(60, u'9')) << wavOnly;

    // A WAV cut short inside its 44-byte header, opened or changed before Glue.
    const QByteArray whole = wav(framesPerHalf);
    for (int k = 0; k <= 44; ++k) {
        QString m = u"Truncated WAV header"_s;
        if (k == 12)
            m = u"Wrong idFmt"_s;
        else if (k == 36)
            m = u"Wrong idData"_s;
        else if (k == 44)
            m.clear();
        for (const char *inputName : {"wav1", "wav2"})
            for (const char *step : {"open", "glue"})
                QTest::addRow("%s cut after %d bytes, %s", inputName, k, step)
                    << QString::fromLatin1(inputName) << whole.first(k) << QString::fromLatin1(step) << true
                    << QString()
                    << (m.isEmpty() ? m : refusedRecording(u"%m/half"_s + QChar(inputName[3]) + u".wav"_s, m))
                    << (k == 44 ? all : QStringList());
    }
    QTest::addRow("WAV 1 not a RIFF file") << u"wav1"_s << QByteArray("RIFX") << u"open"_s << true << QString()
                                           << refusedRecording(u"%m/half1.wav"_s, u"Wrong idRIFF"_s) << QStringList();

    // A recorder that stopped without closing its file.
    const QByteArray claims2GB = riffAndFmt(0x80000024u) + "data" + le32(0x80000000u) + wav(framesPerHalf).sliced(44);
    row("a WAV whose sizes claim 2 GB") << u"wav1"_s << claims2GB << u"open"_s << true << QString() << QString()
                                        << all;
    const QByteArray list2GB = riffAndFmt(0x80000024u) + "LIST" + le32(0x7FFFFFFFu) + "INFO" + wav(framesPerHalf);
    row("a chunk before the data claiming 2 GB") << u"wav1"_s << list2GB << u"open"_s << true << QString()
                                                 << truncated << QStringList();
    const QByteArray fmt2GB = riffAndFmt(0x80000024u, 0x80000000u) + QByteArray(24, '\0') + "data"
                              + wav(framesPerHalf).sliced(40);
    row("a fmt chunk claiming 2 GB") << u"wav1"_s << fmt2GB << u"open"_s << true << QString() << truncated
                                     << QStringList();
    row("a WAV of more than 4 GB")
        << u"wav1"_s << QByteArray() << u"open"_s << true << u"wav1-over-4-gb"_s
        // the own reader refuses it; FFmpeg's decoders read it whole, and
        // Glue refuses the joined file before writing it
        << u"The joined recording would be larger than 4 GB, more than a WAV file can hold"_s
        << QStringList();
    row("two halves of 2.2 GB")
        << QString() << QByteArray() << u"open"_s << true << u"both-over-4-gb"_s
        << u"The joined recording would be larger than 4 GB, more than a WAV file can hold"_s << QStringList();

    row("names with blanks, non-ASCII characters and no extension")
        << QString() << QByteArray() << u"open"_s << true << u"odd-names"_s << QString()
        << QStringList{u"Joined café ü"_s, u"Joined café ü.srt"_s, u"Joined café ü.spk"_s,
                       u"Joined café ü.txt"_s, u"Joined café ü.html"_s, u"Joined café ü_word.txt"_s};

    const QString cannotCreate = u"Cannot create file \"%m/%1\". %2"_s;
    row("the joined recording's folder does not exist")
        << QString() << QByteArray() << u"open"_s << true << u"joined-folder-missing"_s
        << cannotCreate.arg(u"gone/joined.wav"_s, reason(ENOENT)) << QStringList();
    row("the joined recording is a folder")
        << QString() << QByteArray() << u"open"_s << true << u"joined-is-folder"_s
        << cannotCreate.arg(u"folder.wav"_s, reason(EISDIR)) << QStringList();
    row("the SRT is a folder")
        << QString() << QByteArray() << u"open"_s << true << u"srt-is-folder"_s
        << cannotCreate.arg(u"folder.srt"_s, reason(EISDIR)) << wavOnly;
    row("the joined recording's folder is read-only")
        << QString() << QByteArray() << u"open"_s << true << u"joined-read-only"_s
        << cannotCreate.arg(u"closed/joined.wav"_s, reason(EACCES)) << QStringList();
    row("the SRT's folder is read-only")
        << QString() << QByteArray() << u"open"_s << true << u"srt-read-only"_s
        << cannotCreate.arg(u"closed/joined.srt"_s, reason(EACCES)) << wavOnly;
    row("the disk fills up during the joined recording")
        << QString() << QByteArray() << u"open"_s << true << u"joined-full"_s
        << cannotCreate.arg(u"full/joined.wav"_s, reason(ENOSPC)) << QStringList();
    row("the disk is full when the SRT is saved")
        << QString() << QByteArray() << u"open"_s << true << u"srt-full"_s
        << cannotCreate.arg(u"full/joined.srt"_s, reason(ENOSPC)) << wavOnly;
}

void TestBadInputs::badInputGivesAMessageAndLeavesTheFilesWhole()
{
    QFETCH(QString, input);
    QFETCH(QByteArray, contents);
    QFETCH(QString, when);
    QFETCH(bool, tab);
    QFETCH(QString, setUp);
    QFETCH(QString, message);
    QFETCH(QStringList, written);

    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString folder = tmp.path();
    // Open to all: a child that gave up root writes here too.
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));

    // The six inputs; "odd-names" names them and the outputs differently.
    const bool odd = setUp == u"odd-names";
    const QMap<QString, QString> names = {
        {u"ctm1"_s, odd ? u"Words café 1"_s : u"half1.spk"_s},
        {u"ctm2"_s, odd ? u"Words café 2"_s : u"half2.spk"_s},
        {u"text1"_s, odd ? u"Text café 1"_s : u"half1.txt"_s},
        {u"text2"_s, odd ? u"Text café 2"_s : u"half2.txt"_s},
        {u"wav1"_s, odd ? u"Recording café 1"_s : u"half1.wav"_s},
        {u"wav2"_s, odd ? u"Recording café 2"_s : u"half2.wav"_s}};
    const auto path = [&](const QString &inputName) { return folder + u'/' + names[inputName]; };
    writeBytes(path(u"ctm1"_s), lines(spk1));
    writeBytes(path(u"ctm2"_s), lines(spk2));
    writeBytes(path(u"text1"_s), lines(text1));
    writeBytes(path(u"text2"_s), lines(text2));
    writeBytes(path(u"wav1"_s), wav(framesPerHalf));
    writeBytes(path(u"wav2"_s), wav(framesPerHalf));
    if (!input.isEmpty() && when == u"open")
        writeBytes(path(input), contents);

    // The outputs of an earlier run, which only a whole new file may replace.
    QString outFolder = folder;
    QString joined = folder + u"/joined.wav"_s;
    QString srt = folder + u"/joined.srt"_s;
    std::unique_ptr<SmallDisk> disk;
    if (setUp == u"joined-full" || setUp == u"srt-full") {
        disk = std::make_unique<SmallDisk>(folder + u"/full"_s, "48k");
        if (!disk->mounted)
            QSKIP("Mounting a small tmpfs needs root and a system that allows it: no full disk here.");
        outFolder = folder + u"/full"_s;
    }
    if (setUp == u"joined-full")
        joined = outFolder + u"/joined.wav"_s;
    if (setUp == u"srt-full")
        srt = outFolder + u"/joined.srt"_s;
    for (const QString &name : {u"joined.wav"_s, u"joined.srt"_s, u"joined.spk"_s, u"joined.txt"_s,
                                u"joined.html"_s, u"joined_word.txt"_s})
        writeBytes(outFolder + u'/' + name, "earlier " + name.toUtf8() + "\r\n");
    if (setUp == u"srt-full")
        fillToTheBrim(outFolder);

    if (odd) {
        joined = folder + u"/Joined café ü"_s;
        srt = folder + u"/Joined café ü.srt"_s;
    } else if (setUp == u"joined-folder-missing") {
        joined = folder + u"/gone/joined.wav"_s;
    } else if (setUp == u"joined-is-folder") {
        joined = folder + u"/folder.wav"_s;
        QVERIFY(QDir(folder).mkdir(u"folder.wav"_s));
    } else if (setUp == u"srt-is-folder") {
        srt = folder + u"/folder.srt"_s;
        QVERIFY(QDir(folder).mkdir(u"folder.srt"_s));
    } else if (setUp == u"joined-read-only" || setUp == u"srt-read-only") {
        QVERIFY(QDir(folder).mkdir(u"closed"_s));
        QVERIFY(QFile::setPermissions(folder + u"/closed"_s, QFile::ReadOwner | QFile::ExeOwner
                                                                 | QFile::ReadOther | QFile::ExeOther));
        if (setUp == u"joined-read-only")
            joined = folder + u"/closed/joined.wav"_s;
        else
            srt = folder + u"/closed/joined.srt"_s;
    } else if (setUp == u"wav1-over-4-gb") {
        writeGiant(path(u"wav1"_s), riffAndFmt(0xFFFFFFFFu) + "data" + QByteArray(4, '\xFF'),
                   (qint64(1) << 32) + 4096);
    } else if (setUp == u"both-over-4-gb") {
        const qint64 data = 2200000000;
        const QByteArray header = riffAndFmt(quint32(data + 36)) + "data" + le32(quint32(data));
        writeGiant(path(u"wav1"_s), header, 44 + data);
        writeGiant(path(u"wav2"_s), header, 44 + data);
    }

    FolderContents before = readFolder(folder);
    const auto runCommands = [&]() -> QString {
        FakePerson person;
        GlueJob job(person);
        job.settings.tabSeparated = tab;
        try {
            openBothParts(job, {path(u"ctm1"_s), path(u"text1"_s), path(u"wav1"_s)},
                          {path(u"ctm2"_s), path(u"text2"_s), path(u"wav2"_s)});
            if (when == u"glue") {
                writeBytes(path(input), contents);
                before[QDir(folder).relativeFilePath(path(input))] = contents;
            }
            job.glue(joined);
            job.save(srt);
        } catch (const Error &e) {
            return e.message();
        }
        // The outputs hold what the job built, whole.
        const GlueOutputs &out = job.outputs();
        if (parseWavHeader(FileByteSource(out.recording)).frameCount != job.joinedFrames())
            return u"not whole: "_s + out.recording;
        const QList<std::pair<QString, QByteArray>> files = {
            {out.srt, bytesFromLines(job.srtLines())},
            {out.wordFile, expectedWordFile(job)},
            {out.text, bytesFromLines(job.text(TextView::Text1))},
            {out.page, expectedPage(job)},
            {out.transcript, bytesFromLines(job.transcriptLines())}};
        for (const auto &[file, bytes] : files)
            if (readBytes(file) != bytes)
                return u"not whole: "_s + file;
        return QString();
    };
    const bool withoutRights = setUp.endsWith(u"read-only"_s);
    const QString seen = withoutRights ? withoutRoot(runCommands) : runCommands();
    QCOMPARE(withoutFfmpegReason(seen), QString(message).replace(u"%m"_s, folder));

    // Every file is as it was, except the outputs written, and no other
    // file has come: no temporary file was left behind.
    const FolderContents after = readFolder(folder);
    QStringList files = before.keys() + written;
    files.removeDuplicates();
    files.sort();
    QCOMPARE(after.keys().join(u", "_s), files.join(u", "_s));
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!written.contains(it.key()))
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(u"changed: "_s + it.key()));
    for (const QString &name : written)
        QVERIFY2(after.value(name) != before.value(name), qPrintable(u"not replaced: "_s + name));
    if (written.contains(QDir(folder).relativeFilePath(joined))) {
        // The joined recording is whole: its header counts the samples it holds.
        const WavLayout header = parseWavHeader(FileByteSource(joined));
        QCOMPARE(QFileInfo(joined).size(), 44 + 2 * header.frameCount);
        QCOMPARE(qint64(header.chunk.dataSize), 2 * header.frameCount);
    }
}

QTEST_GUILESS_MAIN(TestBadInputs)
#include "tst_badinputs.moc"
