// The options of the glue settings, made from the table of settings: every
// option reaches its setting at both ends of its range and with every
// choice, and a value outside is refused with the option's message.
#include "app/cli/settingoptions.h"
#include "job/settingstable.h"
#include "support/files.h"
#include "support/settingvalues.h"

#include <QCommandLineParser>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Parses the options of the settings out of arguments (without the program
// and command) into settings started from the start-up values.
QString readOptions(const QStringList &arguments, GlueSettings &settings)
{
    QCommandLineParser parser;
    addSettingOptions(parser);
    if (!parser.parse(QStringList{"naadwerk-cli"} + arguments))
        return parser.errorText();
    return readSettingOptions(parser, settings);
}

// The words typed after an option: at both ends of a range, every choice.
QStringList valuesInRange(const Setting &setting)
{
    QStringList texts;
    switch (setting.kind) {
    case Setting::Kind::Bool:
        break;
    case Setting::Kind::Int:
    case Setting::Kind::Double:
        texts << QString::number(setting.low) << QString::number(setting.high);
        break;
    case Setting::Kind::Choice:
        for (const Setting::Choice &choice : setting.choices)
            texts << QString::fromLatin1(choice.word);
        break;
    case Setting::Kind::Words:
        texts << QStringLiteral("<x>  [y]") << QString();
        break;
    case Setting::Kind::Set: {
        // One, all in the order of the choices, and two out of order with blanks.
        QStringList all;
        for (const Setting::Choice &choice : setting.choices)
            all << QString::fromLatin1(choice.word);
        texts << all.front() << all.join(u',') << all.back() + QStringLiteral(" , ") + all.front();
        break;
    }
    }
    return texts;
}

QVariant valueOf(const Setting &setting, const QString &text)
{
    switch (setting.kind) {
    case Setting::Kind::Int:
        return text.toInt();
    case Setting::Kind::Double:
        return text.toDouble();
    case Setting::Kind::Choice:
        return setting.choiceOf(text);
    case Setting::Kind::Words:
        return text.split(u' ', Qt::SkipEmptyParts);
    case Setting::Kind::Set: {
        // The choices named, in their own order.
        const QStringList named = text.simplified().remove(u' ').split(u',');
        QStringList words;
        for (const Setting::Choice &choice : setting.choices)
            if (named.contains(QString::fromLatin1(choice.word)))
                words << QString::fromLatin1(choice.word);
        return words;
    }
    case Setting::Kind::Bool:
        break;
    }
    return !setting.startValue().toBool();
}

// What naadwerk-cli has always answered to a value it refuses.
QString refusalOf(const QString &option)
{
    static const QMap<QString, QString> refusals{
        {"separator", "--separator must be tab or space."},
        {"layout", "--layout must be aligner or nist."},
        {"pause-ends-phrase", "--pause-ends-phrase must be a whole number from 100 to 10000."},
        {"before", "--before must be a whole number from 0 to 2000."},
        {"after", "--after must be a whole number from 0 to 2000."},
        {"page", "--page must be classic or standalone."},
        {"low-confidence", "--low-confidence must be a number from 0 to 1."},
        {"channels", "--channels must be mix, left or right."},
        {"encoding", "--encoding must be auto, utf-8, windows-1252, windows-1250, windows-1251, windows-1253, "
                     "windows-1254, iso-8859-2, gb18030, big5, shift_jis, euc-jp, euc-kr or koi8-r."},
        {"long-word", "--long-word must be a whole number from 100 to 60000."},
        {"long-gap", "--long-gap must be a whole number from 100 to 600000."},
        // Not a profile's name, and no file of that name either.
        {"profile", "'%1' is neither a subtitle profile (classic, streaming, streaming-en, teletext, captions32) "
                    "nor a profile file"},
        {"fps", "--fps must be a number from 1 to 120."},
        {"language", "--language must be nl, en, de, fr or fy."},
        {"also", "--also must be words of eaf, textgrid, vtt-words and json, apart by commas."},
        {"word-format", "--word-format must be auto, ctm, nist, whisperx, whisper, whispercpp, gentle, textgrid, eaf, "
                        "vtt, deepgram, aws, assemblyai, google or vosk."},
    };
    return refusals.value(option, QStringLiteral("(no refusal known for --%1)").arg(option));
}

} // namespace

class TestSettingOptions : public QObject
{
    Q_OBJECT
private slots:
    void everyOptionReachesItsSetting_data();
    void everyOptionReachesItsSetting();
    void valuesOutsideAreRefused_data();
    void valuesOutsideAreRefused();
    void withoutOptionsTheStartUpValuesStay();
    void pauseTurnsEndingAtPausesOn();
    void profileFileIsAPersonsOwnProfile();
};

void TestSettingOptions::everyOptionReachesItsSetting_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QVariant>("value");
    for (const Setting &setting : settingsTable()) {
        if (!*setting.option)
            continue;
        const QString option = QStringLiteral("--") + QString::fromLatin1(setting.option);
        if (setting.kind == Setting::Kind::Bool) {
            // A value an option of the same name needs comes with it.
            QStringList arguments{option};
            for (const Setting &other : settingsTable())
                if (QByteArray(other.option) == setting.option && *other.valueName)
                    arguments << QString::number(otherValue(other).toDouble());
            QTest::addRow("%s", setting.key) << setting.key << arguments << valueOf(setting, {});
            continue;
        }
        for (const QString &text : valuesInRange(setting))
            QTest::addRow("%s %s", setting.key, qPrintable(text))
                << setting.key << QStringList{option, text} << valueOf(setting, text);
    }
}

void TestSettingOptions::everyOptionReachesItsSetting()
{
    QFETCH(QString, key);
    QFETCH(QStringList, arguments);
    QFETCH(QVariant, value);
    const Setting &setting = *findSetting(key);
    GlueSettings settings;
    QCOMPARE(readOptions(arguments, settings), QString());
    QCOMPARE(setting.read(settings), value);
    // No other setting moved, but one its option sets too.
    for (const Setting &other : settingsTable())
        if (QByteArray(other.option) != setting.option)
            QVERIFY2(other.read(settings) == other.startValue(), other.key);
}

void TestSettingOptions::valuesOutsideAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("refusal");
    for (const Setting &setting : settingsTable()) {
        if (!*setting.option || setting.kind == Setting::Kind::Bool)
            continue;
        const QString option = QString::fromLatin1(setting.option);
        QStringList outside;
        switch (setting.kind) {
        case Setting::Kind::Int:
            outside << QString::number(setting.low - 1) << QString::number(setting.high + 1)
                    << "+" + QString::number(setting.low) << QString::number(setting.low) + ".5" << "1s" << "";
            break;
        case Setting::Kind::Double:
            outside << QString::number(setting.low - 0.01) << QString::number(setting.high + 0.01)
                    << "5e-1" << "0,5" << "half" << "nan";
            break;
        case Setting::Kind::Choice:
            outside << "unknown" << "1" << QString::fromLatin1(setting.choices.front().word).toUpper();
            break;
        case Setting::Kind::Set:
            outside << "pdf" << QString::fromLatin1(setting.choices.front().word) + ",pdf"
                    << QString::fromLatin1(setting.choices.front().word).toUpper();
            break;
        case Setting::Kind::Bool:
        case Setting::Kind::Words: // any words are tokens
            break;
        }
        for (const QString &text : outside)
            QTest::addRow("--%s '%s'", setting.option, qPrintable(text))
                << QStringList{"--" + option, text}
                << (option == u"profile" ? refusalOf(option).arg(text) : refusalOf(option));
    }
}

void TestSettingOptions::valuesOutsideAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, refusal);
    GlueSettings settings;
    QCOMPARE(readOptions(arguments, settings), refusal);
}

void TestSettingOptions::withoutOptionsTheStartUpValuesStay()
{
    GlueSettings settings;
    QCOMPARE(readOptions({}, settings), QString());
    for (const Setting &setting : settingsTable())
        QVERIFY2(setting.read(settings) == setting.startValue(), setting.key);
}

void TestSettingOptions::pauseTurnsEndingAtPausesOn()
{
    GlueSettings settings;
    QCOMPARE(readOptions({"--pause-ends-phrase", "250"}, settings), QString());
    QVERIFY(settings.endPhrasesAtPauses);
    QCOMPARE(settings.phrasePauseMs, 250);
}

void TestSettingOptions::profileFileIsAPersonsOwnProfile()
{
    QTemporaryDir folder;
    const QString good = folder.filePath(QStringLiteral("archive.profile"));
    writeBytes(good, "name = archive\nchars-per-line = 38\nchars-per-second = 14\n");
    GlueSettings settings;
    QCOMPARE(readOptions({"--profile", good}, settings), QString());
    QCOMPARE(settings.profile().name, QStringLiteral("archive"));
    QCOMPARE(settings.profile().charsPerLine, 38);
    QCOMPARE(settings.profile().charsPerSecond, 14.0);
    QVERIFY(!settings.profile().classic);

    const QString bad = folder.filePath(QStringLiteral("bad.profile"));
    writeBytes(bad, "name = archive\nlines = two\n");
    GlueSettings refused;
    QCOMPARE(readOptions({"--profile", bad}, refused),
             QStringLiteral("\"%1\", line 2: lines must be a whole number of 1 or more, not 'two'").arg(bad));
    QVERIFY(!refused.ownProfile);
}

QTEST_GUILESS_MAIN(TestSettingOptions)
#include "tst_settingoptions.moc"
