// Memory running out: a command ends with an error the person sees, never
// the program. Long word files are parsed in two threads; what goes wrong in
// the second one must reach the command like what goes wrong in the first.
#include "lines/efout.h"
#include "lines/tleesctm.h"

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
std::atomic<bool> geenGeheugenBuitenHoofddraad{false};
const std::thread::id hoofddraad = std::this_thread::get_id();

} // namespace

void *operator new(std::size_t n)
{
    if (geenGeheugenBuitenHoofddraad && std::this_thread::get_id() != hoofddraad)
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

class TestGeheugen : public QObject
{
    Q_OBJECT
private slots:
    void geheugenTekortInDeTweedeDraadBereiktDeOpdracht();
    void deOpdrachtregelMeldtEenGeheugenTekort();
};

void TestGeheugen::geheugenTekortInDeTweedeDraadBereiktDeOpdracht()
{
    // 200,000 lines make two threads; a start of 70 digits in the second
    // half needs a buffer from operator new there.
    TleesCTM ctm;
    ctm.sep = u'\t';
    for (int i = 0; i < 200000; ++i)
        ctm.deRegels.append(i == 150000 ? u"u\t1\t"_s + QString(69, u'0') + u"1\t2\tword\t1"_s
                                        : u"u\t1\t1\t2\tword\t1"_s);
    bool tekort = false;
    geenGeheugenBuitenHoofddraad = true;
    try {
        ctm.leesBestand();
    } catch (const std::bad_alloc &) {
        tekort = true;
    }
    geenGeheugenBuitenHoofddraad = false;
    QVERIFY(tekort);

    // The same file with enough memory reads whole.
    ctm.leesBestand();
    QCOMPARE(ctm.aantalWoorden, 200000);
    QCOMPARE(ctm.Woorden[150000].st, 1000);
}

void TestGeheugen::deOpdrachtregelMeldtEenGeheugenTekort()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves more address space than any limit this test could set.");
#else
    // Two halves of 300,000 words in 200 MB of address space: the words do
    // not fit.
    QTemporaryDir map;
    QByteArray regels;
    for (int i = 0; i < 300000; ++i)
        regels += "half\t1\t" + QByteArray::number(i) + ".000\t" + QByteArray::number(i) + ".250\tword.\t1.00\tAnna\n";
    for (const char *naam : {"a.spk", "b.spk"}) {
        QFile f(map.filePath(QString::fromLatin1(naam)));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(regels), regels.size());
    }

    QProcess cli;
    cli.setChildProcessModifier([] {
        const rlimit grens{200 << 20, 200 << 20};
        ::setrlimit(RLIMIT_AS, &grens);
    });
    cli.start(QStringLiteral(NAADWERK_BINARY_DIR "/src/app/naadwerk-cli"),
              {u"glue"_s, u"--ctm1"_s, map.filePath(u"a.spk"_s), u"--ctm2"_s, map.filePath(u"b.spk"_s),
               u"--no-save"_s});
    QVERIFY(cli.waitForFinished(120000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardError()), u"Not enough memory to finish this step.\n"_s);
#endif
}

QTEST_GUILESS_MAIN(TestGeheugen)
#include "tst_geheugen.moc"
