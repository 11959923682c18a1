#include "formats/tierchoice.h"

#include "base/error.h"

namespace {

bool isWords(QStringView name)
{
    return name.compare(u"words", Qt::CaseInsensitive) == 0 || name.compare(u"word", Qt::CaseInsensitive) == 0;
}

// NAME of "NAME - words"; empty when the tier is named otherwise.
QString speakerOfWordTier(QStringView name)
{
    const qsizetype dash = name.lastIndexOf(u" - ");
    if (dash <= 0 || !isWords(name.sliced(dash + 3).trimmed()))
        return QString();
    return name.first(dash).trimmed().toString();
}

} // namespace

std::vector<ChosenTier> chooseWordTiers(const QStringList &tiers, const std::vector<bool> &timed, const QString &chosen)
{
    std::vector<ChosenTier> out;
    if (!chosen.isEmpty()) {
        const qsizetype index = tiers.indexOf(chosen);
        if (index < 0)
            throw Error(QStringLiteral("no tier \"%1\" (the file's tiers: %2)")
                            .arg(chosen, tiers.isEmpty() ? QStringLiteral("none") : u'"' + tiers.join(QStringLiteral("\", \"")) + u'"'));
        out.push_back({index, speakerOfWordTier(tiers[index])});
        return out;
    }
    for (qsizetype i = 0; i < tiers.size(); ++i) {
        if (!timed[static_cast<std::size_t>(i)])
            continue;
        if (isWords(tiers[i]))
            out.push_back({i, QString()});
        else if (QString speaker = speakerOfWordTier(tiers[i]); !speaker.isEmpty())
            out.push_back({i, speaker});
    }
    if (!out.empty())
        return out;
    for (qsizetype i = 0; i < tiers.size(); ++i)
        if (timed[static_cast<std::size_t>(i)])
            return {{i, QString()}};
    throw Error(QStringLiteral("no tier with times"));
}
