#include "formats/subtitleprofile.h"

#include "base/error.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The figures of the built-in profiles, one row each, so that a guideline
// that changes is corrected here alone. Their sources are named in the README
// ("Subtitles for broadcast"): the published timed-text style guides of
// streaming services (42 characters, 17 or 20 per second for English,
// 5/6 s to 7 s, 2 frames), the EBU teletext subtitling guidance (37
// characters) and the 32-column line of CEA-608 captions.
std::vector<SubtitleProfile> makeProfiles()
{
    const auto profile = [](const char *name, int line, int lines, int cue, double cps, int minMs, int maxMs,
                            int gapFrames, bool classic) {
        SubtitleProfile p;
        p.name = QString::fromLatin1(name);
        p.charsPerLine = line;
        p.lines = lines;
        p.charsPerCue = cue;
        p.charsPerSecond = cps;
        p.minDurationMs = minMs;
        p.maxDurationMs = maxMs;
        p.gapFrames = gapFrames;
        p.classic = classic;
        return p;
    };
    //              name            line lines cue  cps  min   max   gap  classic
    return {profile("classic",      45,  2,    95,  0,   0,    0,    0,   true),
            profile("streaming",    42,  2,    0,   17,  833,  7000, 2,   false),
            profile("streaming-en", 42,  2,    0,   20,  833,  7000, 2,   false),
            profile("teletext",     37,  2,    0,   15,  1000, 7000, 2,   false),
            profile("captions32",   32,  2,    0,   15,  1000, 6000, 2,   false)};
}

[[noreturn]] void refuse(const QString &fileName, qsizetype index, const QString &message)
{
    throw Error(QStringLiteral("\"%1\", line %2: %3").arg(fileName).arg(index + 1).arg(message));
}

} // namespace

std::int64_t SubtitleProfile::minGapMs(double framesPerSecond) const
{
    const double frames = framesPerSecond > 0 ? std::ceil(gapFrames * 1000.0 / framesPerSecond - 1e-9) : 0;
    return std::max<std::int64_t>(gapMs, static_cast<std::int64_t>(frames));
}

std::span<const SubtitleProfile> builtInProfiles()
{
    static const std::vector<SubtitleProfile> profiles = makeProfiles();
    return profiles;
}

const SubtitleProfile *findBuiltInProfile(QStringView name)
{
    const std::span<const SubtitleProfile> all = builtInProfiles();
    const auto found = std::find_if(all.begin(), all.end(), [&](const SubtitleProfile &p) { return p.name == name; });
    return found == all.end() ? nullptr : &*found;
}

SubtitleProfile parseSubtitleProfile(const QStringList &lines, const QString &fileName)
{
    SubtitleProfile p;
    p.name = QStringLiteral("own");
    p.charsPerLine = 42;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QStringView line = lines.at(i);
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line = line.first(hash);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            refuse(fileName, i, QStringLiteral("'%1' is no setting; write it as key = value").arg(line.toString()));
        const QString key = line.first(eq).trimmed().toString();
        const QString value = line.sliced(eq + 1).trimmed().toString();
        if (key == u"name") {
            if (value.isEmpty())
                refuse(fileName, i, QStringLiteral("the name is empty"));
            p.name = value;
            continue;
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        const bool whole = ok && number == std::floor(number);
        const auto wholeNumber = [&](int low) {
            if (!whole || number < low || number > 1e7)
                refuse(fileName, i, QStringLiteral("%1 must be a whole number of %2 or more, not '%3'").arg(key).arg(low).arg(value));
            return static_cast<int>(number);
        };
        if (key == u"chars-per-line")
            p.charsPerLine = wholeNumber(1);
        else if (key == u"lines")
            p.lines = wholeNumber(1);
        else if (key == u"chars-per-cue")
            p.charsPerCue = wholeNumber(0);
        else if (key == u"min-duration-ms")
            p.minDurationMs = wholeNumber(0);
        else if (key == u"max-duration-ms")
            p.maxDurationMs = wholeNumber(0);
        else if (key == u"gap-frames")
            p.gapFrames = wholeNumber(0);
        else if (key == u"gap-ms")
            p.gapMs = wholeNumber(0);
        else if (key == u"chars-per-second") {
            if (!ok || !(number >= 0) || number > 1000)
                refuse(fileName, i, QStringLiteral("chars-per-second must be a number from 0 to 1000, not '%1'").arg(value));
            p.charsPerSecond = number;
        } else {
            refuse(fileName, i, QStringLiteral("'%1' is no key of a subtitle profile; the keys are name, chars-per-line, "
                                               "lines, chars-per-cue, chars-per-second, min-duration-ms, "
                                               "max-duration-ms, gap-frames and gap-ms").arg(key));
        }
    }
    if (p.maxDurationMs > 0 && p.maxDurationMs < p.minDurationMs)
        throw Error(QStringLiteral("\"%1\": max-duration-ms is shorter than min-duration-ms").arg(fileName));
    return p;
}
