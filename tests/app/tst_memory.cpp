// Memory running out: a command ends with an error the person sees, never
// the program. Long word files are parsed in two threads; what goes wrong in
// the second one must reach the command like what goes wrong in the first.
#include "support/cli.h"
#include "support/files.h"
#include "formats/wordfile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

#include <sys/resource.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// While set, every allocation through operator new outside the main thread
// fails, as when memory runs out in the middle of a parse.
std::atomic<bool> noMemoryOutsideMainThread{false};
const std::thread::id mainThread = std::this_thread::get_id();

} // namespace

void *operator new(std::size_t n)
{
    if (noMemoryOutsideMainThread && std::this_thread::get_id() != mainThread)
        throw std::bad_alloc();
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

class TestMemory : public QObject
{
    Q_OBJECT
private slots:
    void runningOutInTheSecondThreadReachesTheCommand();
    void theCommandLineReportsRunningOutOfMemory();
};

void TestMemory::runningOutInTheSecondThreadReachesTheCommand()
{
    // 200,000 lines make two threads; a start of 70 digits in the second
    // half needs a buffer from operator new there.
    QStringList lines;
    for (int i = 0; i < 200000; ++i)
        lines.append(i == 150000 ? u"u\t1\t"_s + QString(69, u'0') + u"1\t2\tword\t1"_s : u"u\t1\t1\t2\tword\t1"_s);
    bool ranOut = false;
    noMemoryOutsideMainThread = true;
    try {
        parseWordLines(lines, u'\t');
    } catch (const std::bad_alloc &) {
        ranOut = true;
    }
    noMemoryOutsideMainThread = false;
    QVERIFY(ranOut);

    // The same file with enough memory reads whole.
    const std::vector<Word> words = parseWordLines(lines, u'\t');
    QCOMPARE(words.size(), size_t(200000));
    QCOMPARE(words[150000].start, 1000);
}

void TestMemory::theCommandLineReportsRunningOutOfMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than any limit this test could set.");
#else
    // Two halves of 300,000 words in 200 MB of address space: the words do
    // not fit.
    QTemporaryDir folder;
    QByteArray lines;
    for (int i = 0; i < 300000; ++i)
        lines += "half\t1\t" + QByteArray::number(i) + ".000\t" + QByteArray::number(i) + ".250\tword.\t1.00\tAnna\n";
    for (const char *name : {"a.spk", "b.spk"})
        writeBytes(folder.filePath(QString::fromLatin1(name)), lines);

    QProcess cli;
    cli.setChildProcessModifier([] {
        const rlimit limit{200 << 20, 200 << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    cli.start(cliProgram(), {u"glue"_s, u"--ctm1"_s, folder.filePath(u"a.spk"_s), u"--ctm2"_s,
                             folder.filePath(u"b.spk"_s), u"--no-save"_s});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), u"Not enough memory to finish this step.\n"_s);
#endif
}

QTEST_GUILESS_MAIN(TestMemory)
#include "tst_memory.moc"
