// Memory running out: a command ends with an error the person sees, never
// the program. Long word files are parsed in two threads; what goes wrong in
// the second one must reach the command like what goes wrong in the first.
#include "lines/efout.h"
#include "lines/tleesctm.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>
#include <thread>

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

QTEST_GUILESS_MAIN(TestGeheugen)
#include "tst_geheugen.moc"
