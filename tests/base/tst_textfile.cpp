#include "base/linedecoder.h"
#include "base/paths.h"
#include "base/text.h"
#include "base/textfile.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestTextFile : public QObject
{
    Q_OBJECT
private slots:
    void linesEndAtCrLfLfOrCr_data();
    void linesEndAtCrLfLfOrCr();
    void longFilesGiveTheSameLines();
    void textBytesAreWhatLinesAreCutFrom_data();
    void textBytesAreWhatLinesAreCutFrom();
    void savingWritesBomAndCrLf();
    void bytesFromLinesAreWhatSavingWrites_data();
    void bytesFromLinesAreWhatSavingWrites();
    void failedSaveLeavesTheOldFileWhole_data();
    void failedSaveLeavesTheOldFileWhole();
    void savingKeepsPermissionsAndFollowsLinks();
    void openErrorNamesPathAndReason();
    void readingKeepsBlanksForTheCallerToTrim();
    void readFileBytesGivesTheBytes();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void pipesAreReadWhenLetIn();
};

void TestTextFile::linesEndAtCrLfLfOrCr_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("only a BOM") << QByteArray("\xEF\xBB\xBF") << QStringList();
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF, no final end") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed with empty lines") << QByteArray("a\r\n\n\rb") << QStringList{"a", "", "", "b"};
    QTest::newRow("lone line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("BOM skipped") << QByteArray("\xEF\xBB\xBFhello\r\n") << QStringList{"hello"};
    QTest::newRow("BOM only at the start") << QByteArray("x\n\xEF\xBB\xBFy") << QStringList{"x", QStringLiteral("\uFEFFy")};
    QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC") << QStringList{QStringLiteral("caf\u00E9 \u20AC")};
    // A transcript saved by an old word processor: not UTF-8, so Windows-1252.
    QTest::newRow("Windows-1252") << QByteArray("caf\xE9 \x80 \x96 \x81")
                                  << QStringList{QStringLiteral("caf\u00E9 \u20AC \u2013 \u0081")};
    QTest::newRow("overlong UTF-8 is not UTF-8") << QByteArray("\xC0\xAF") << QStringList{QStringLiteral("\u00C0\u00AF")};
    QTest::newRow("BOM then Windows-1252") << QByteArray("\xEF\xBB\xBF\xE9") << QStringList{QStringLiteral("\u00E9")};
    // One Latin-1 byte pasted into a UTF-8 transcript spoils only itself.
    QTest::newRow("UTF-8 with a stray Latin-1 byte")
        << QByteArray("caf\xC3\xA9 na\xEFve \xE2\x82\xAC\r\nd\xC3\xA9j\xE0 vu")
        << QStringList{QStringLiteral("caf\u00E9 na\u00EFve \u20AC"), QStringLiteral("d\u00E9j\u00E0 vu")};
    QTest::newRow("cut sequence at the end of a line") << QByteArray("\xE2\x82\nx\xF0\x9F\x98\x80")
                                                       << QStringList{QStringLiteral("\u00E2\u201A"), QStringLiteral("x\U0001F600")};
    QTest::newRow("surrogate in UTF-8 is two stray bytes and a third") << QByteArray("\xED\xA0\x80")
                                                                       << QStringList{QStringLiteral("\u00ED\u00A0\u20AC")};
    // What Windows subtitle editors and Notepad write as "Unicode".
    QTest::newRow("UTF-16 LE with BOM") << QByteArray("\xFF\xFE" "1\0\r\0\n\0\xE9\0 \0\xAC\x20\r\0\n\0", 18)
                                        << QStringList{"1", QStringLiteral("\u00E9 \u20AC")};
    QTest::newRow("UTF-16 BE with BOM") << QByteArray("\xFE\xFF\0a\0\n\xD8\x3D\xDE\x00", 10)
                                        << QStringList{"a", QStringLiteral("\U0001F600")};
    QTest::newRow("UTF-16 LE, lone surrogate and cut last unit")
        << QByteArray("\xFF\xFE" "\x00\xD8" "a\0" "b", 7) << QStringList{QStringLiteral("\uFFFDa\uFFFD")};
    // UTF-32 LE starts with the mark of UTF-16 LE: it is tested first.
    QTest::newRow("UTF-32 LE with BOM") << QByteArray("\xFF\xFE\0\0" "h\0\0\0" "\n\0\0\0" "\x00\xF6\x01\x00", 16)
                                        << QStringList{"h", QStringLiteral("\U0001F600")};
    QTest::newRow("UTF-32 BE with BOM, value beyond U+10FFFF")
        << QByteArray("\0\0\xFE\xFF" "\0\0\0x" "\0\x11\0\0", 12) << QStringList{QStringLiteral("x\uFFFD")};
    QTest::newRow("UTF-16 LE with only its BOM") << QByteArray("\xFF\xFE") << QStringList();
}

void TestTextFile::linesEndAtCrLfLfOrCr()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(linesFromBytes(bytes), lines);
}

void TestTextFile::longFilesGiveTheSameLines()
{
    // Long files are split in parts; every line end kind must survive the
    // cut, wherever it falls, and the lines keep their order.
    QByteArray bytes("\xEF\xBB\xBF");
    QStringList expected;
    const char *lineEnds[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
    for (int i = 0; bytes.size() < (9 << 20); ++i) {
        const QByteArray line = "regel " + QByteArray::number(i) + (i % 7 == 0 ? " caf\xC3\xA9" : "");
        bytes += line;
        bytes += lineEnds[i % 4];
        expected << QString::fromUtf8(line);
        if (i % 4 == 3)
            expected << QString();
    }
    QCOMPARE(linesFromBytes(bytes), expected);
    bytes.replace("\r", "");
    expected.clear();
    for (const QByteArray &line : bytes.mid(3).split('\n'))
        expected << QString::fromUtf8(line);
    expected.removeLast(); // the final line end adds no line
    QCOMPARE(linesFromBytes(bytes), expected);
}

void TestTextFile::textBytesAreWhatLinesAreCutFrom_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("encoding"); // a LineDecoder::Encoding
    QTest::addColumn<int>("middleCut");
    const int ascii = int(LineDecoder::Encoding::Ascii);
    const int utf8 = int(LineDecoder::Encoding::Utf8);
    const int mixed = int(LineDecoder::Encoding::Mixed);
    QTest::newRow("empty") << QByteArray() << QByteArray() << ascii << 0;
    QTest::newRow("cut after the LF past the middle") << QByteArray("ab\ncd\nef") << QByteArray("ab\ncd\nef") << ascii << 6;
    QTest::newRow("a CR LF stays whole") << QByteArray("abc\r\ndef") << QByteArray("abc\r\ndef") << ascii << 5;
    QTest::newRow("no LF after the middle") << QByteArray("a\nbcdef") << QByteArray("a\nbcdef") << ascii << 7;
    QTest::newRow("last LF ends the text") << QByteArray("a\nb\n") << QByteArray("a\nb\n") << ascii << 4;
    QTest::newRow("BOM skipped before the middle is found")
        << QByteArray("\xEF\xBB\xBF" "ab\ncd") << QByteArray("ab\ncd") << ascii << 3;
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9\n") << QByteArray("\xC3\xA9\n") << utf8 << 3;
    QTest::newRow("BOM then Windows-1252") << QByteArray("\xEF\xBB\xBF\xE9") << QByteArray("\xE9") << mixed << 1;
    QTest::newRow("UTF-16 LE becomes UTF-8") << QByteArray("\xFF\xFE" "a\0b\0\n\0\xE9\0", 10)
                                             << QByteArray("ab\n\xC3\xA9") << utf8 << 3;
}

void TestTextFile::textBytesAreWhatLinesAreCutFrom()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, text);
    QFETCH(int, encoding);
    QFETCH(int, middleCut);
    const TextBytes t(bytes);
    QCOMPARE(QByteArray(t.data(), t.size()), text);
    QCOMPARE(int(t.encoding()), encoding);
    QCOMPARE(t.middleCut(), qsizetype(middleCut));
}

void TestTextFile::savingWritesBomAndCrLf()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    writeTextFile(path, {});
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF"));
    writeTextFile(path, {QStringLiteral("caf\u00E9"), QString(), "x"});
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9\r\n\r\nx\r\n"));
    // Nothing but the target is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

void TestTextFile::bytesFromLinesAreWhatSavingWrites_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("none") << QStringList();
    QTest::newRow("empty lines") << QStringList{QString(), QString()};
    QTest::newRow("text beyond ASCII") << QStringList{QStringLiteral("caf\u00E9 \u20AC \U0001F600")};
    // A person can type half of a surrogate pair; toUtf8 writes it as "?".
    QTest::newRow("unpaired surrogates")
        << QStringList{QString(QChar(0xD800)) + "b", "a" + QString(QChar(0xDC00)), "x" + QString(QChar(0xD800))};
    QStringList many;
    for (int i = 0; i < 20000; ++i)
        many << QStringLiteral("line %1 \u00E9").arg(i);
    QTest::newRow("more than one block") << many;
}

void TestTextFile::bytesFromLinesAreWhatSavingWrites()
{
    QFETCH(QStringList, lines);
    QByteArray expected("\xEF\xBB\xBF");
    for (const QString &line : lines)
        expected += line.toUtf8() + "\r\n";
    QCOMPARE(bytesFromLines(lines), expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    writeTextFile(path, lines);
    QCOMPARE(readBytes(path), expected);
}

void TestTextFile::failedSaveLeavesTheOldFileWhole_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder does not exist") << "no folder";
    QTest::newRow("folder is read-only") << "read-only";
}

void TestTextFile::failedSaveLeavesTheOldFileWhole()
{
    QFETCH(QString, situation);
    QTemporaryDir dir;
    QString path;
    QString reason;
    const auto save = [&] { return errorMessage([&] { writeTextFile(path, {"nieuw"}); }); };
    if (situation == "folder") {
        path = dir.filePath("a folder");
        QVERIFY(QDir(dir.path()).mkdir("a folder"));
        reason = "Is a directory";
    } else if (situation == "no folder") {
        path = dir.filePath("nowhere/out.txt");
        reason = "No such file or directory";
    } else {
        const QString folder = dir.filePath("read-only");
        QVERIFY(QDir(dir.path()).mkdir("read-only"));
        path = folder + "/out.txt";
        writeBytes(path, "oud");
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0555) == 0);
        QCOMPARE(withoutRoot(save),
                 QStringLiteral("Cannot create file \"%1\". Permission denied").arg(path));
        QCOMPARE(readBytes(path), QByteArray("oud"));
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"out.txt"});
        return;
    }
    QCOMPARE(save(), QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
    // No temporary file stays behind.
    QStringList rest = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(rest, QStringList());
}

void TestTextFile::savingKeepsPermissionsAndFollowsLinks()
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.txt");
    writeBytes(real, "oud");
    QVERIFY(::chmod(QFile::encodeName(real).constData(), 0640) == 0);
    const QString link = dir.filePath("link.txt");
    QVERIFY(QFile::link(real, link));
    writeTextFile(link, {"nieuw"});
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readBytes(real), QByteArray("\xEF\xBB\xBFnieuw\r\n"));
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(real).constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 0777), 0640);
}

void TestTextFile::openErrorNamesPathAndReason()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gone.txt");
    QCOMPARE(errorMessage([&] { readTextFile(path); }),
             QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(path));
    QCOMPARE(errorMessage([&] { readFileBytes(dir.path()); }),
             QStringLiteral("Cannot open file \"%1\". Is a directory").arg(dir.path()));
}

void TestTextFile::readingKeepsBlanksForTheCallerToTrim()
{
    // Readers trim the lines they are given; the file's lines are as they
    // stand, empty ones included. A file's name without folder and extension
    // names what was read.
    QTemporaryDir dir;
    const QString path = dir.filePath("talk.part1.ctm");
    writeBytes(path, "\xEF\xBB\xBF  a b\t\r\n   \r\n\tc\x01\r\n");
    QStringList lines = readTextFile(path);
    QCOMPARE(lines, (QStringList{"  a b\t", "   ", "\tc\x01"}));
    for (QString &line : lines)
        line = trimmed(line);
    QCOMPARE(lines, (QStringList{"a b", "", "c"}));
    QCOMPARE(replaceExtension(fileNamePart(path), QString()), QStringLiteral("talk.part1"));

    const QString empty = dir.filePath("no-dot");
    writeBytes(empty, "");
    QCOMPARE(readTextFile(empty), QStringList());
    QCOMPARE(replaceExtension(fileNamePart(empty), QString()), QStringLiteral("no-dot"));
}

void TestTextFile::readFileBytesGivesTheBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("b.bin");
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += char(i * 7);
    writeBytes(path, bytes);
    QCOMPARE(readFileBytes(path), bytes);
}


void TestTextFile::specialFilesAreRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("device") << "/dev/zero";
    QTest::newRow("fifo") << "fifo";
}

void TestTextFile::specialFilesAreRefused()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    if (!path.startsWith('/')) {
        path = dir.filePath(path);
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    const QString expected = QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(path);
    for (const auto &read : {std::function<void()>([&] { readFileBytes(path); }),
                             std::function<void()>([&] { readTextFile(path); }),
                             std::function<void()>([&] { refuseSpecialFile(path); })})
        QCOMPARE(errorMessage(read), expected);
}

void TestTextFile::pipesAreReadWhenLetIn()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("fifo");
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
        ::usleep(100000); // the reader must wait for bytes that come late
        const QByteArray bytes("1\n00:00:01,000 --> 00:00:02,000\n");
        (void)!::write(fd, bytes.constData(), size_t(bytes.size()));
        ::close(fd);
        ::_exit(0);
    }
    const QStringList lines = readTextFile(path, FileKind::PipesToo);
    ::waitpid(child, nullptr, 0);
    QCOMPARE(lines, (QStringList{"1", "00:00:01,000 --> 00:00:02,000"}));
    // A device is no pipe: /dev/zero would never end.
    QCOMPARE(errorMessage([] { readFileBytes("/dev/zero", FileKind::PipesToo); }),
             QStringLiteral("Cannot open file \"/dev/zero\". Not a regular file"));
    refuseSpecialFile(dir.path()); // a folder passes: opening it says what it is
    refuseSpecialFile(dir.filePath("missing"));
}
QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
