#include "job/settingstable.h"

#include <algorithm>
#include <type_traits>

namespace {

// Reads and writes one member of GlueSettings as a setting's value: an enum
// as the index of its choice.
template<auto member> QVariant readMember(const GlueSettings &settings)
{
    const auto &held = settings.*member;
    if constexpr (std::is_enum_v<std::remove_cvref_t<decltype(held)>>)
        return QVariant(static_cast<int>(held));
    else
        return QVariant(held);
}

template<auto member> void writeMember(GlueSettings &settings, const QVariant &value)
{
    auto &held = settings.*member;
    using Member = std::remove_cvref_t<decltype(held)>;
    if constexpr (std::is_enum_v<Member>)
        held = static_cast<Member>(value.toInt());
    else
        held = value.value<Member>();
}

template<auto member> constexpr Setting::Field fieldOf{readMember<member>, writeMember<member>};

// The separator is a bool in GlueSettings but a choice for the person:
// tab first.
QVariant readSeparator(const GlueSettings &settings)
{
    return QVariant(settings.tabSeparated ? 0 : 1);
}

void writeSeparator(GlueSettings &settings, const QVariant &value)
{
    settings.tabSeparated = value.toInt() == 0;
}

// The tier is a name in GlueSettings; for the person, its words.
QVariant readTier(const GlueSettings &settings)
{
    return QVariant(settings.tier.split(u' ', Qt::SkipEmptyParts));
}

void writeTier(GlueSettings &settings, const QVariant &value)
{
    settings.tier = value.toStringList().join(u' ');
}

using Kind = Setting::Kind;

std::vector<Setting> makeTable()
{
    return {
        {.key = "tabSeparated",
         .label = QT_TRANSLATE_NOOP("Setting", "Fields in word files are separated by"),
         .kind = Kind::Choice,
         .choices = {{"tab", QT_TRANSLATE_NOOP("Setting", "&Tab")}, {"space", QT_TRANSLATE_NOOP("Setting", "Sp&ace")}},
         .storedTrueFor = 0,
         .option = "separator",
         .help = "Field separator of the CTM files: tab (default) or space.",
         .field = {readSeparator, writeSeparator}},
        {.key = "nistLayout",
         .label = "Word file layout",
         .kind = Kind::Choice,
         .choices = {{"aligner", "A&ligner: start and end"}, {"nist", "&NIST CTM: start and duration"}},
         .storedTrueFor = 1,
         .option = "layout",
         .help = "Layout of the CTM files: aligner (field 4 is the end, default) or nist (NIST CTM: field 4 "
                 "is the duration).",
         .field = fieldOf<&GlueSettings::layout>},
        // Each start finds the format from the file, as it does the encoding.
        {.key = "wordFormat",
         .label = "&Word file format",
         .kind = Kind::Choice,
         .choices = {{"auto", "auto (found from the file)"},
                     {"ctm", "CTM/SPK lines"},
                     {"nist", "NIST CTM lines"},
                     {"whisperx", "WhisperX JSON"},
                     {"whisper", "Whisper JSON (openai, faster, timestamped)"},
                     {"whispercpp", "whisper.cpp JSON"},
                     {"gentle", "Gentle JSON"},
                     {"textgrid", "Praat TextGrid"},
                     {"eaf", "ELAN EAF"},
                     {"vtt", "WebVTT"},
                     {"deepgram", "Deepgram JSON"},
                     {"aws", "AWS Transcribe JSON"},
                     {"assemblyai", "AssemblyAI JSON"},
                     {"google", "Google Speech-to-Text JSON"},
                     {"vosk", "Vosk JSON"}},
         .option = "word-format",
         .valueName = "format",
         .help = "What the word files to read are; auto (default) finds it from the file. <format>:",
         .remembered = false,
         .field = fieldOf<&GlueSettings::wordFormat>},
        {.key = "tier",
         .label = "T&ier of TextGrid and EAF files",
         .kind = Kind::Words,
         .option = "tier",
         .valueName = "name",
         .help = "The tier of TextGrid and EAF files to read as words (default: the tiers named \"words\" or "
                 "\"NAME - words\", else the first with times).",
         .remembered = false,
         .field = {readTier, writeTier}},
        // Giving a pause turns ending at pauses on.
        {.key = "endPhrasesAtPauses",
         .label = "En&d phrases at pauses of at least N ms",
         .option = "pause-ends-phrase",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::endPhrasesAtPauses>},
        {.key = "phrasePauseMs",
         .kind = Kind::Int,
         .low = 100,
         .high = 10000,
         .option = "pause-ends-phrase",
         .valueName = "ms",
         .help = "End phrases at pauses (a SIL word or a gap between words) of at least <ms>, 100 to 10000.",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::phrasePauseMs>},
        {.key = "widenCues",
         .label = QT_TRANSLATE_NOOP("Setting", "Enla&rge the display time of the subtitles"),
         .option = "no-enlarge",
         .help = "Do not enlarge the display time of the cues.",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::widenCues>},
        {.key = "msBefore",
         .label = QT_TRANSLATE_NOOP("Setting", "Show each subtitle earlier &by (ms)"),
         .kind = Kind::Int,
         .high = 2000,
         .option = "before",
         .valueName = "ms",
         .help = "Start cues <ms> earlier, 0 to 2000 (default 100).",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::msBefore>},
        {.key = "msAfter",
         .label = QT_TRANSLATE_NOOP("Setting", "Keep each subtitle on longer b&y (ms)"),
         .kind = Kind::Int,
         .high = 2000,
         .option = "after",
         .valueName = "ms",
         .help = "End cues <ms> later, 0 to 2000 (default 200).",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::msAfter>},
        // The words are the names of builtInProfiles(), in its order.
        {.key = "subtitleProfile",
         .label = "Subtitle &profile",
         .kind = Kind::Choice,
         .choices = {{"classic", "classic (45 per line, as always)"},
                     {"streaming", "streaming (42 per line, 17 per second)"},
                     {"streaming-en", "streaming, English (42 per line, 20 per second)"},
                     {"teletext", "teletext (37 per line, 15 per second)"},
                     {"captions32", "captions, 32 columns (15 per second)"}},
         .option = "profile",
         .valueName = "name",
         .help = "Cut the subtitles to a broadcaster's rules; <name> is a profile or a profile file:",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::subtitleProfile>},
        {.key = "framesPerSecond",
         .label = "&Frame rate (frames per second)",
         .kind = Kind::Double,
         .low = 1,
         .high = 120,
         .decimals = 3,
         .step = 1,
         .option = "fps",
         .valueName = "fps",
         .help = "The frame rate of the video the subtitles go with, for gaps counted in frames, 1 to 120 "
                 "(default 25).",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::framesPerSecond>},
        {.key = "skipStarWords",
         .label = "Skip *-&words",
         .option = "keep-star-words",
         .help = "Keep words holding \"*\" in the phrases.",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::skipStarWords>},
        {.key = "blankSilence",
         .label = "Skip <S&IL>",
         .option = "keep-sil",
         .help = "Keep \"SIL\" in the phrase texts.",
         .shapesViews = true,
         .field = fieldOf<&GlueSettings::blankSilence>},
        {.key = "standalonePage",
         .label = "&Karaoke page:",
         .kind = Kind::Choice,
         .choices = {{"classic", "classic"}, {"standalone", "standalone"}},
         .storedTrueFor = 1,
         .option = "page",
         .help = "Karaoke page: classic (default) or standalone (one file, no network, fast on long "
                 "interviews).",
         .field = fieldOf<&GlueSettings::pageStyle>},
        {.key = "lowConfidence",
         .label = "&Mark words below confidence",
         .kind = Kind::Double,
         .high = 1,
         .decimals = 2,
         .step = 0.05,
         .option = "low-confidence",
         .valueName = "x",
         .help = "The standalone page marks words below confidence <x>, and the review lists runs of them, 0 "
                 "to 1 (default 0.5; 0 marks none).",
         .shapesViews = true, // the review list
         .field = fieldOf<&GlueSettings::lowConfidence>},
        {.key = "interviewLanguage",
         .label = QT_TRANSLATE_NOOP("Setting", "Inter&view language"),
         .kind = Kind::Choice,
         .choices = {{"nl", "Dutch"}, {"en", "English"}, {"de", "German"}, {"fr", "French"}, {"fy", "Frisian"}},
         .option = "language",
         .valueName = "tag",
         .help = "The language spoken in the interview, the karaoke page's lang (default nl):",
         .field = fieldOf<&GlueSettings::interviewLanguage>},
        {.key = "channels",
         .label = "&Channels",
         .kind = Kind::Choice,
         .choices = {{"mix", "mix"}, {"left", "left"}, {"right", "right"}},
         .option = "channels",
         .help = "What of a stereo recording is joined: mix (default: the channels averaged), left (the first "
                 "channel) or right (the second).",
         .field = fieldOf<&GlueSettings::channels>},
        // Each start finds the encoding from the file: a choice kept from an
        // earlier run would misread the next file in another encoding.
        {.key = "textEncoding",
         .label = "Te&xt encoding",
         .kind = Kind::Choice,
         .choices = {{"auto", "auto (found from the file)"},
                     {"utf-8", "UTF-8"},
                     {"windows-1252", "Windows-1252 (western Europe)"},
                     {"windows-1250", "Windows-1250 (central Europe)"},
                     {"windows-1251", "Windows-1251 (Cyrillic)"},
                     {"windows-1253", "Windows-1253 (Greek)"},
                     {"windows-1254", "Windows-1254 (Turkish)"},
                     {"iso-8859-2", "ISO-8859-2 (central Europe)"},
                     {"gb18030", "GB18030 (Chinese, GB2312, GBK)"},
                     {"big5", "Big5 (traditional Chinese)"},
                     {"shift_jis", "Shift_JIS (Japanese)"},
                     {"euc-jp", "EUC-JP (Japanese)"},
                     {"euc-kr", "EUC-KR (Korean)"},
                     {"koi8-r", "KOI8-R (Russian)"}},
         .option = "encoding",
         .valueName = "name",
         .help = "Encoding of the texts and word files to read; auto (default) finds it from the file. <name>:",
         .remembered = false,
         .field = fieldOf<&GlueSettings::textEncoding>},
        {.key = "unknownWords",
         .label = "&Unknown-word tokens",
         .kind = Kind::Words,
         .option = "unknown-words",
         .valueName = "words",
         .help = "The tokens the aligner writes for a word it does not know, separated by blanks (default "
                 "\"<unk> <UNK> [unk] <noise>\").",
         .shapesViews = true, // the review list
         .field = fieldOf<&GlueSettings::unknownWords>},
        {.key = "longWordMs",
         .label = "Words l&onger than N ms",
         .kind = Kind::Int,
         .low = 100,
         .high = 60000,
         .option = "long-word",
         .valueName = "ms",
         .help = "The review lists words longer than <ms>, 100 to 60000 (default 2500).",
         .shapesViews = true, // the review list
         .field = fieldOf<&GlueSettings::longWordMs>},
        {.key = "longGapMs",
         .label = "&Gaps in a turn longer than N ms",
         .kind = Kind::Int,
         .low = 100,
         .high = 600000,
         .option = "long-gap",
         .valueName = "ms",
         .help = "The review lists gaps inside a speaker's turn longer than <ms>, 100 to 600000 (default 5000).",
         .shapesViews = true, // the review list
         .field = fieldOf<&GlueSettings::longGapMs>},
        {.key = "alsoWrite",
         .label = QT_TRANSLATE_NOOP("SettingsPanel", "Also write"),
         .kind = Kind::Set,
         .choices = {{"eaf", QT_TRANSLATE_NOOP("SettingsPanel", "EA&F")},
                     {"textgrid", QT_TRANSLATE_NOOP("SettingsPanel", "TextG&rid")},
                     {"vtt-words", QT_TRANSLATE_NOOP("SettingsPanel", "&VTT")},
                     {"json", QT_TRANSLATE_NOOP("SettingsPanel", "&JSON")}},
         .option = "also",
         .valueName = "files",
         .help = "Save also writes these files beside the joined recording, named after it, <files> apart by "
                 "commas: eaf (ELAN), textgrid (Praat), vtt-words (WebVTT with word times), json (Naadwerk "
                 "JSON).",
         .field = fieldOf<&GlueSettings::alsoWrite>},
    };
}

} // namespace

QVariant Setting::startValue() const
{
    return read(GlueSettings{});
}

bool Setting::accepts(const QVariant &value) const
{
    switch (kind) {
    case Kind::Bool:
        return value.typeId() == QMetaType::Bool;
    case Kind::Int:
        return value.typeId() == QMetaType::Int && value.toInt() >= low && value.toInt() <= high;
    case Kind::Double:
        // A NaN fails both comparisons.
        return value.typeId() == QMetaType::Double && value.toDouble() >= low && value.toDouble() <= high;
    case Kind::Choice:
        return value.typeId() == QMetaType::Int && value.toInt() >= 0
            && value.toInt() < static_cast<int>(choices.size());
    case Kind::Words: {
        if (value.typeId() != QMetaType::QStringList)
            return false;
        const QStringList words = value.toStringList();
        return std::none_of(words.cbegin(), words.cend(), [](const QString &word) {
            return word.isEmpty() || std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.isSpace(); });
        });
    }
    case Kind::Set: {
        if (value.typeId() != QMetaType::QStringList)
            return false;
        // Each a choice, in the order of the choices: one value for one set.
        int last = -1;
        for (const QString &word : value.toStringList()) {
            const int choice = choiceOf(word);
            if (choice <= last)
                return false;
            last = choice;
        }
        return true;
    }
    }
    return false;
}

int Setting::choiceOf(QStringView word) const
{
    const auto found = std::find_if(choices.cbegin(), choices.cend(),
                                    [word](const Choice &choice) { return word == QLatin1StringView(choice.word); });
    return found == choices.cend() ? -1 : static_cast<int>(found - choices.cbegin());
}

QStringList Setting::setOf(const QStringList &words) const
{
    QStringList set;
    for (const Choice &choice : choices)
        if (words.contains(QLatin1StringView(choice.word)))
            set << QString::fromLatin1(choice.word);
    return set;
}

QByteArray chosenTextEncoding(const GlueSettings &settings)
{
    if (settings.textEncoding == GlueSettings::TextEncoding::Auto)
        return {};
    return QByteArray(findSetting(u"textEncoding")->choices[static_cast<std::size_t>(settings.textEncoding)].word);
}

std::span<const Setting> settingsTable()
{
    static const std::vector<Setting> table = makeTable();
    return table;
}

const Setting *findSetting(QStringView key)
{
    const std::span<const Setting> table = settingsTable();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [key](const Setting &setting) { return key == QLatin1StringView(setting.key); });
    return found == table.end() ? nullptr : &*found;
}
