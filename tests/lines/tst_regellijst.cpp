#include "lines/bestandsnaam.h"
#include "lines/efout.h"
#include "lines/regellijst.h"
#include "lines/tleesfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void schrijfBytes(const QString &pad, const QByteArray &bytes)
{
    QFile f(pad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs the save in a child process that has given up root, so a folder
// without write permission really stops it. Returns the error message.
QString bewaarZonderRoot(const QString &pad)
{
    int pijp[2];
    if (::pipe(pijp) != 0)
        return "pipe failed";
    const pid_t kind = ::fork();
    if (kind == 0) {
        ::close(pijp[0]);
        QByteArray bericht = "no error";
        if (::getuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) {
            try {
                bewaarRegellijst(pad, {"nieuw"});
            } catch (const EFout &e) {
                bericht = e.bericht().toUtf8();
            }
        } else {
            bericht = "could not drop root";
        }
        (void)!::write(pijp[1], bericht.constData(), bericht.size());
        ::_exit(0);
    }
    ::close(pijp[1]);
    QByteArray uit;
    char buf[512];
    ssize_t n;
    while ((n = ::read(pijp[0], buf, sizeof buf)) > 0)
        uit.append(buf, n);
    ::close(pijp[0]);
    ::waitpid(kind, nullptr, 0);
    return QString::fromUtf8(uit);
}

QByteArray leesBytes(const QString &pad)
{
    QFile f(pad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRegellijst : public QObject
{
    Q_OBJECT
private slots:
    void regelsEindigenOpCrLfLfOfCr_data();
    void regelsEindigenOpCrLfLfOfCr();
    void langeBestandenGevenDezelfdeRegels();
    void bewarenSchrijftBomEnCrLf();
    void mislukteBewaringLaatHetOudeBestandHeel_data();
    void mislukteBewaringLaatHetOudeBestandHeel();
    void bewarenBehoudtRechtenEnVolgtLinks();
    void openFoutNoemtPadEnReden();
    void leesBestandTrimtEnHoudtLegeRegels();
    void ontbrekendBestandHoudtDeVorigeInhoud();
    void mapTeltAlsOntbrekend();
    void bestandsnamen_data();
    void bestandsnamen();
};

void TestRegellijst::regelsEindigenOpCrLfLfOfCr_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("regels");
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
}

void TestRegellijst::regelsEindigenOpCrLfLfOfCr()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, regels);
    QCOMPARE(regelsUitBytes(bytes), regels);
}

void TestRegellijst::langeBestandenGevenDezelfdeRegels()
{
    // Long files are split in parts; every line end kind must survive the
    // cut, wherever it falls, and the lines keep their order.
    QByteArray bytes("\xEF\xBB\xBF");
    QStringList verwacht;
    const char *einden[] = {"\r\n", "\n", "\r", "\r\n\r\n"};
    for (int i = 0; bytes.size() < (9 << 20); ++i) {
        const QByteArray regel = "regel " + QByteArray::number(i) + (i % 7 == 0 ? " caf\xC3\xA9" : "");
        bytes += regel;
        bytes += einden[i % 4];
        verwacht << QString::fromUtf8(regel);
        if (i % 4 == 3)
            verwacht << QString();
    }
    QCOMPARE(regelsUitBytes(bytes), verwacht);
    bytes.replace("\r", "");
    verwacht.clear();
    for (const QByteArray &r : bytes.mid(3).split('\n'))
        verwacht << QString::fromUtf8(r);
    verwacht.removeLast(); // the final line end adds no line
    QCOMPARE(regelsUitBytes(bytes), verwacht);
}

void TestRegellijst::bewarenSchrijftBomEnCrLf()
{
    QTemporaryDir dir;
    const QString pad = dir.filePath("uit.txt");
    bewaarRegellijst(pad, {});
    QCOMPARE(leesBytes(pad), QByteArray("\xEF\xBB\xBF"));
    bewaarRegellijst(pad, {QStringLiteral("caf\u00E9"), QString(), "x"});
    QCOMPARE(leesBytes(pad), QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9\r\n\r\nx\r\n"));
    // Nothing but the target is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"uit.txt"});
}

void TestRegellijst::mislukteBewaringLaatHetOudeBestandHeel_data()
{
    QTest::addColumn<QString>("geval");
    QTest::newRow("target is a folder") << "folder";
    QTest::newRow("folder does not exist") << "no folder";
    QTest::newRow("folder is read-only") << "read-only";
}

void TestRegellijst::mislukteBewaringLaatHetOudeBestandHeel()
{
    QFETCH(QString, geval);
    QTemporaryDir dir;
    QString pad;
    QString reden;
    if (geval == "folder") {
        pad = dir.filePath("een map");
        QVERIFY(QDir(dir.path()).mkdir("een map"));
        reden = "Is a directory";
    } else if (geval == "no folder") {
        pad = dir.filePath("nergens/uit.txt");
        reden = "No such file or directory";
    } else {
        const QString map = dir.filePath("alleen-lezen");
        QVERIFY(QDir(dir.path()).mkdir("alleen-lezen"));
        pad = map + "/uit.txt";
        schrijfBytes(pad, "oud");
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(map).constData(), 0555) == 0);
        QCOMPARE(bewaarZonderRoot(pad),
                 QStringLiteral("Cannot create file \"%1\". Permission denied").arg(pad));
        QCOMPARE(leesBytes(pad), QByteArray("oud"));
        QCOMPARE(QDir(map).entryList(QDir::Files), QStringList{"uit.txt"});
        return;
    }
    try {
        bewaarRegellijst(pad, {"nieuw"});
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(), QStringLiteral("Cannot create file \"%1\". %2").arg(pad, reden));
    }
    // No temporary file stays behind.
    QStringList rest = QDir(dir.path()).entryList(QDir::Files);
    QCOMPARE(rest, QStringList());
}

void TestRegellijst::bewarenBehoudtRechtenEnVolgtLinks()
{
    QTemporaryDir dir;
    const QString echt = dir.filePath("echt.txt");
    schrijfBytes(echt, "oud");
    QVERIFY(::chmod(QFile::encodeName(echt).constData(), 0640) == 0);
    const QString link = dir.filePath("link.txt");
    QVERIFY(QFile::link(echt, link));
    bewaarRegellijst(link, {"nieuw"});
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(leesBytes(echt), QByteArray("\xEF\xBB\xBFnieuw\r\n"));
    struct stat st {};
    QVERIFY(::stat(QFile::encodeName(echt).constData(), &st) == 0);
    QCOMPARE(int(st.st_mode & 0777), 0640);
}

void TestRegellijst::openFoutNoemtPadEnReden()
{
    QTemporaryDir dir;
    const QString pad = dir.filePath("weg.txt");
    try {
        leesRegellijst(pad);
        QFAIL("no error");
    } catch (const EFout &e) {
        QCOMPARE(e.bericht(),
                 QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(pad));
    }
}

void TestRegellijst::leesBestandTrimtEnHoudtLegeRegels()
{
    QTemporaryDir dir;
    const QString pad = dir.filePath("talk.part1.ctm");
    schrijfBytes(pad, "\xEF\xBB\xBF  a b\t\r\n   \r\n\tc\x01\r\n");
    TLeesFile f;
    f.fileNaam = pad;
    f.leesBestand();
    QCOMPARE(f.deRegels, (QStringList{"a b", "", "c"}));
    QCOMPARE(f.aantalRegels, 3);
    QCOMPARE(f.deNaam, QStringLiteral("talk.part1"));

    const QString leeg = dir.filePath("zonder-punt");
    schrijfBytes(leeg, "");
    f.fileNaam = leeg;
    f.leesBestand();
    QCOMPARE(f.deRegels, QStringList());
    QCOMPARE(f.aantalRegels, 0);
    QCOMPARE(f.deNaam, QStringLiteral("zonder-punt"));
}

void TestRegellijst::ontbrekendBestandHoudtDeVorigeInhoud()
{
    QTemporaryDir dir;
    TLeesFile f;
    f.fileNaam = dir.filePath("weg.ctm");
    f.leesBestand();
    QCOMPARE(f.aantalRegels, 0);
    QCOMPARE(f.deNaam, QString());

    const QString pad = dir.filePath("a.ctm");
    schrijfBytes(pad, "x\ny\n");
    f.fileNaam = pad;
    f.leesBestand();
    f.fileNaam = dir.filePath("weg.ctm");
    f.leesBestand();
    QCOMPARE(f.deRegels, (QStringList{"x", "y"}));
    QCOMPARE(f.aantalRegels, 2);
    QCOMPARE(f.deNaam, QStringLiteral("a"));
}

void TestRegellijst::mapTeltAlsOntbrekend()
{
    QTemporaryDir dir;
    QVERIFY(!bestandBestaat(dir.path()));
    QVERIFY(!bestandBestaat(QString()));
    const QString pad = dir.filePath("f.txt");
    schrijfBytes(pad, "x");
    QVERIFY(bestandBestaat(pad));
    const QString link = dir.filePath("link");
    QVERIFY(QFile::link(pad, link));
    QVERIFY(bestandBestaat(link));
    const QString kapot = dir.filePath("kapot");
    QVERIFY(QFile::link(dir.filePath("nergens"), kapot));
    QVERIFY(!bestandBestaat(kapot));
}

void TestRegellijst::bestandsnamen_data()
{
    QTest::addColumn<QString>("pad");
    QTest::addColumn<QString>("naam");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("metTxt");
    QTest::newRow("plain") << "/a/b/joined.wav" << "joined.wav" << "/a/b" << "/a/b/joined.txt";
    QTest::newRow("no extension") << "/a/joined" << "joined" << "/a" << "/a/joined.txt";
    QTest::newRow("two dots") << "a.b.wav" << "a.b.wav" << "" << "a.b.txt";
    QTest::newRow("dot in folder only") << "/x.y/joined" << "joined" << "/x.y" << "/x.y/joined.txt";
    QTest::newRow("empty") << "" << "" << "" << ".txt";
    QTest::newRow("root") << "/f.wav" << "f.wav" << "/" << "/f.txt";
}

void TestRegellijst::bestandsnamen()
{
    QFETCH(QString, pad);
    QFETCH(QString, naam);
    QFETCH(QString, map);
    QFETCH(QString, metTxt);
    QCOMPARE(naamDeel(pad), naam);
    QCOMPARE(mapDeel(pad), map);
    QCOMPARE(vervangExtensie(pad, ".txt"), metTxt);
}

QTEST_APPLESS_MAIN(TestRegellijst)
#include "tst_regellijst.moc"
