#include "support/reshapefailures.h"

#include "support/files.h"

#include <QTest>

namespace {

const QString in = QStringLiteral("%d/in.srt");
const QString out = QStringLiteral("%d/out.srt");

QString notATime(const char *line, const char *time)
{
    return QStringLiteral("\"%f\", line %1: '%2' is not a valid time; write it as HH:MM:SS,mmm")
        .arg(QLatin1StringView(line), QLatin1StringView(time));
}

} // namespace

const std::vector<ReshapeFailure> &reshapeFailures()
{
    static const std::vector<ReshapeFailure> failures{
        {"missing input", QStringLiteral("%d/none.srt"), QByteArray(), out,
         QStringLiteral("Cannot open file \"%f\". No such file or directory"), false},
        {"input is a folder", QStringLiteral("%d"), QByteArray(), out,
         QStringLiteral("Cannot open file \"%f\". Is a directory"), false},
        {"a device", QStringLiteral("/dev/zero"), QByteArray(), out,
         QStringLiteral("Cannot open file \"%f\". Not a regular file"), false},
        {"bad start time", in,
         "1\n00:00:01,000 --> 00:00:02,000\nfine\n\n2\n00:0x:03,000 --> 00:00:04,000\nbroken\n", out,
         notATime("6", "00:0x:03,000"), true},
        {"bad end time", in, "1\n00:00:01,000 --> 00:00:02,000\na\n\n2\n00:00:03,000 --> 00:0x:04,000\nb\n", out,
         notATime("6", "00:0x:04,000"), true},
        {"negative time", in, "1\n-00:00:01,000 --> 00:00:02,000\na\n", out,
         QStringLiteral("\"%f\", line 2: '-00:00:01,000' is a negative time; a subtitle time is 00:00:00,000 or later"),
         true},
        {"four fields", in, "1\n00:00:00:01,000 --> 00:00:02,000\na\n", out, notATime("2", "00:00:00:01,000"), true},
        {"fraction without digits", in, "1\n00:00:01, --> 00:00:02,000\na\n", out, notATime("2", "00:00:01,"), true},
        {"fraction of letters", in, "1\n00:00:01,5e3 --> 00:00:02,000\na\n", out, notATime("2", "00:00:01,5e3"), true},
        {"no end time", in, "1\n00:00:01,000 -->\na\n", out, notATime("2", ""), true},
        {"a number not followed by a timing line", in,
         "1\n00:00:01,000 --> 00:00:02,000\na\n\n2\n00:00:03,000 -> 00:00:04,000\nb\n", out,
         QStringLiteral("\"%f\", line 6: '00:00:03,000 -> 00:00:04,000' is not a timing line, yet it follows the "
                        "cue number 2; write the cue's times there as 00:00:01,000 --> 00:00:02,000"),
         true},
        {"number without a timing line", in, "1\nhello\n", out,
         QStringLiteral("\"%f\", line 2: 'hello' is not a timing line, yet it follows the cue number 1; "
                        "write the cue's times there as 00:00:01,000 --> 00:00:02,000"),
         true},
        {"no cue at all", in, "just text\n", out, QStringLiteral("\"%f\": no subtitles found"), false},
        {"empty file", in, "", out, QStringLiteral("\"%f\": no subtitles found"), false},
        {"only a UTF-16 byte-order mark", in, QByteArray("\xFF\xFE", 2), out,
         QStringLiteral("\"%f\": no subtitles found"), false},
        {"only empty cues", in, "1\n00:00:01,000 --> 00:00:02,000\n[music]\n", out,
         QStringLiteral("\"%f\": no subtitles found"), false},
        {"output folder missing", in, "1\n00:00:01,000 --> 00:00:02,000\nfine\n", QStringLiteral("%d/no/out.srt"),
         QStringLiteral("Cannot create file \"%d/no/out.srt\". No such file or directory"), false},
    };
    return failures;
}

void addReshapeFailureRows(const std::function<bool(const ReshapeFailure &)> &keep)
{
    QTest::addColumn<int>("failure");
    const std::vector<ReshapeFailure> &failures = reshapeFailures();
    for (size_t i = 0; i < failures.size(); ++i)
        if (!keep || keep(failures[i]))
            QTest::newRow(failures[i].name) << int(i);
}

ReshapeFailure placeReshapeFailure(const QString &folder)
{
    QFETCH(int, failure);
    ReshapeFailure f = reshapeFailures().at(size_t(failure));
    f.in.replace(QStringLiteral("%d"), folder);
    f.out.replace(QStringLiteral("%d"), folder);
    f.message.replace(QStringLiteral("%f"), f.in).replace(QStringLiteral("%d"), folder);
    if (!f.bytes.isNull())
        writeBytes(f.in, f.bytes);
    return f;
}
