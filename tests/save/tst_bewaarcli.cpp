// naadwerk-cli glue runs Save after Glue: its dialog is answered with --srt or
// the proposed name, and a failure of Save is a failure of the command.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Uitkomst
{
    int code = -1;
    QStringList uit;
    QString fout;
};

Uitkomst draai(const QString &map, const QStringList &argumenten)
{
    QProcess p;
    p.setWorkingDirectory(map);
    p.start(QStringLiteral(NAADWERK_BINARY_DIR) + u"/src/app/naadwerk-cli"_s,
            QStringList{u"glue"_s} + argumenten);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}

QStringList halves()
{
    const QString v = QStringLiteral(NAADWERK_SOURCE_DIR) + u"/examples/"_s;
    return {u"--ctm1"_s, v + u"interview_1.spk"_s, u"--ctm2"_s, v + u"interview_2.spk"_s,
            u"--text1"_s, v + u"interview_1.txt"_s, u"--text2"_s, v + u"interview_2.txt"_s,
            u"--wav1"_s, v + u"interview_1.wav"_s, u"--wav2"_s, v + u"interview_2.wav"_s};
}

QStringList bestanden(const QString &map)
{
    return QDir(map).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TestBewaarCli : public QObject
{
    Q_OBJECT
private slots:
    void saveVolgtOpGlue_data();
    void saveVolgtOpGlue();
};

void TestBewaarCli::saveVolgtOpGlue_data()
{
    QTest::addColumn<QStringList>("argumenten");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("fout");
    QTest::addColumn<QStringList>("laatsteRegels");
    QTest::addColumn<QStringList>("geschreven");

    QTest::newRow("the proposed SRT name, everything next to the recording")
        << halves() + QStringList{u"--joined"_s, u"out/talk.wav"_s} << 0 << QString()
        << QStringList{u"Saving CTM: out/talk.spk"_s, u"Start making Karaoke"_s,
                       u"Ready making Karaoke"_s}
        << QStringList{u"out/talk.html"_s, u"out/talk.spk"_s, u"out/talk.srt"_s, u"out/talk.txt"_s,
                       u"out/talk.wav"_s, u"out/talk_word.txt"_s};
    QTest::newRow("--srt names the SRT only")
        << halves() + QStringList{u"--joined"_s, u"out/talk.wav"_s, u"--srt"_s, u"subs.srt"_s} << 0
        << QString()
        << QStringList{u"Saving CTM: out/talk.spk"_s, u"Start making Karaoke"_s,
                       u"Ready making Karaoke"_s}
        << QStringList{u"out/talk.html"_s, u"out/talk.spk"_s, u"out/talk.txt"_s, u"out/talk.wav"_s,
                       u"out/talk_word.txt"_s, u"subs.srt"_s};
    QTest::newRow("no joined recording: nothing to save")
        << halves() << 1 << u"Nothing to save yet: run Glue first.\n"_s
        << QStringList{u"Make Word-like transcription"_s, u"Start making Word-file"_s,
                       u"Ready making Word-file"_s}
        << QStringList{};
    QTest::newRow("an SRT that cannot be created stops Save")
        << halves() + QStringList{u"--joined"_s, u"out/talk.wav"_s, u"--srt"_s, u"nodir/x.srt"_s} << 1
        << u"Cannot create file \"nodir/x.srt\". No such file or directory\n"_s
        << QStringList{u"Make Word-like transcription"_s, u"Start making Word-file"_s,
                       u"Ready making Word-file"_s}
        << QStringList{u"out/talk.wav"_s};
}

void TestBewaarCli::saveVolgtOpGlue()
{
    QFETCH(QStringList, argumenten);
    QFETCH(int, code);
    QFETCH(QString, fout);
    QFETCH(QStringList, laatsteRegels);
    QFETCH(QStringList, geschreven);

    QTemporaryDir map;
    QVERIFY(QDir(map.path()).mkdir(u"out"_s));
    const Uitkomst u = draai(map.path(), argumenten);
    QCOMPARE(u.fout, fout);
    QCOMPARE(u.code, code);
    QVERIFY(u.uit.size() >= laatsteRegels.size());
    QCOMPARE(u.uit.mid(u.uit.size() - laatsteRegels.size()), laatsteRegels);

    QStringList echt;
    for (const QString &f : bestanden(map.path()))
        echt << f;
    for (const QString &f : bestanden(map.filePath(u"out"_s)))
        echt << u"out/"_s + f;
    echt.sort();
    QCOMPARE(echt, geschreven);
}

QTEST_GUILESS_MAIN(TestBewaarCli)
#include "tst_bewaarcli.moc"
