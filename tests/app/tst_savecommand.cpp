// naadwerk-cli glue runs Save after Glue: its dialog is answered with --srt or
// the proposed name, and a failure of Save is a failure of the command.
#include "support/cli.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList parts()
{
    const QString v = QStringLiteral(NAADWERK_SOURCE_DIR) + u"/examples/"_s;
    return {u"--ctm1"_s, v + u"interview_1.spk"_s, u"--ctm2"_s, v + u"interview_2.spk"_s,
            u"--text1"_s, v + u"interview_1.txt"_s, u"--text2"_s, v + u"interview_2.txt"_s,
            u"--wav1"_s, v + u"interview_1.wav"_s, u"--wav2"_s, v + u"interview_2.wav"_s};
}

QStringList files(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TstSaveCommand : public QObject
{
    Q_OBJECT
private slots:
    void saveFollowsGlue_data();
    void saveFollowsGlue();
};

void TstSaveCommand::saveFollowsGlue_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QStringList>("lastLines");
    QTest::addColumn<QStringList>("written");

    QTest::newRow("the proposed SRT name, everything next to the recording")
        << parts() + QStringList{u"--joined"_s, u"out/talk.wav"_s} << 0 << QString()
        << QStringList{u"Saving CTM: out/talk.spk"_s, u"Start making Karaoke"_s, u"Ready making Karaoke"_s}
        << QStringList{u"out/talk.html"_s, u"out/talk.spk"_s, u"out/talk.srt"_s, u"out/talk.txt"_s,
                       u"out/talk.wav"_s, u"out/talk_word.txt"_s};
    QTest::newRow("--srt names the SRT only")
        << parts() + QStringList{u"--joined"_s, u"out/talk.wav"_s, u"--srt"_s, u"subs.srt"_s} << 0 << QString()
        << QStringList{u"Saving CTM: out/talk.spk"_s, u"Start making Karaoke"_s, u"Ready making Karaoke"_s}
        << QStringList{u"out/talk.html"_s, u"out/talk.spk"_s, u"out/talk.txt"_s, u"out/talk.wav"_s,
                       u"out/talk_word.txt"_s, u"subs.srt"_s};
    QTest::newRow("no joined recording: nothing to save")
        << parts() << 1 << u"Nothing to save yet: run Glue first.\n"_s
        << QStringList{} // Glue was cancelled: it logged nothing
        << QStringList{};
    QTest::newRow("an SRT that cannot be created stops Save")
        << parts() + QStringList{u"--joined"_s, u"out/talk.wav"_s, u"--srt"_s, u"nodir/x.srt"_s} << 1
        << u"Cannot create file \"nodir/x.srt\". No such file or directory\n"_s
        << QStringList{u"Make Word-like transcription"_s, u"Start making Word-file"_s, u"Ready making Word-file"_s}
        << QStringList{u"out/talk.wav"_s};
}

void TstSaveCommand::saveFollowsGlue()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, err);
    QFETCH(QStringList, lastLines);
    QFETCH(QStringList, written);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(u"out"_s));
    const CliOutcome o = runGlue(dir.path(), arguments);
    QCOMPARE(o.err, err);
    QCOMPARE(o.code, code);
    const QStringList out = o.out.split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(out.size() >= lastLines.size());
    QCOMPARE(out.mid(out.size() - lastLines.size()), lastLines);

    QStringList found;
    for (const QString &f : files(dir.path()))
        found << f;
    for (const QString &f : files(dir.filePath(u"out"_s)))
        found << u"out/"_s + f;
    found.sort();
    QCOMPARE(found, written);
}

QTEST_GUILESS_MAIN(TstSaveCommand)
#include "tst_savecommand.moc"
