#pragma once

#include "formats/channelchoice.h"
#include "formats/subtitleprofile.h"
#include "formats/word.h"
#include "formats/wordfilekind.h"

#include <QChar>
#include <QStringList>

#include <optional>

// The settings of a glue, as the Settings tab shows them. A command reads
// them when it runs; these are the start-up values. The table of settings
// (job/settingstable.h) tells how a person sets each one.
struct GlueSettings
{
    bool tabSeparated = true;    // fields of word files to open: tab, else blank
    QChar separator() const { return tabSeparated ? u'\t' : u' '; }
    WordFileLayout layout = WordFileLayout::Aligner; // field 4 of word files to open: end, or NIST duration
    WordFileKind wordFormat = WordFileKind::Auto;     // what word files to open are; Auto: found from their content
    QString tier; // the tier of TextGrid and EAF files to read; empty: the word tiers, else the first
    bool widenCues = true;       // show every cue a little longer
    int msBefore = 100;          // ... starting it this much earlier, 0 to 2000
    int msAfter = 200;           // ... and ending it this much later, 0 to 2000
    // The rules the subtitles are cut to: a built-in profile (the index of
    // builtInProfiles(), classic first), or a person's own from a file,
    // which the command line reads when --profile names one.
    int subtitleProfile = 0;
    std::optional<SubtitleProfile> ownProfile;
    const SubtitleProfile &profile() const
    {
        return ownProfile ? *ownProfile : builtInProfiles()[static_cast<std::size_t>(subtitleProfile)];
    }
    double framesPerSecond = 25; // for gaps given in frames, 1 to 120
    bool skipStarWords = true;   // leave words holding "*" out of the phrases
    bool blankSilence = true;    // blank the token "SIL" in the shown phrase text
    // The karaoke page Save writes as NAME.html: the classic page, or the
    // standalone one (no network, fast on long interviews, keyboard and
    // screen-reader friendly).
    enum class PageStyle { Classic, Standalone };
    PageStyle pageStyle = PageStyle::Classic;
    double lowConfidence = 0.5;  // the standalone page marks words below this, and the review runs of them, 0 to 1; 0 marks none
    bool endPhrasesAtPauses = false; // end phrases at a SIL row or gap of ...
    int phrasePauseMs = 1000;        // ... at least this long, 100 to 10000
    ChannelChoice channels = ChannelChoice::Mix; // what of a multi-channel recording Glue joins
    // The encoding texts and word files to open are read in: found from
    // their bytes, or one chosen (the table's choices name them).
    enum class TextEncoding {
        Auto, Utf8, Windows1252, Windows1250, Windows1251, Windows1253, Windows1254, Iso88592,
        Gb18030, Big5, ShiftJis, EucJp, EucKr, Koi8R
    };
    TextEncoding textEncoding = TextEncoding::Auto;
    // The review list: the tokens an aligner writes for a word it does not
    // know, and the longest word and gap inside a speaker's turn it lets by.
    QStringList unknownWords{QStringLiteral("<unk>"), QStringLiteral("<UNK>"), QStringLiteral("[unk]"),
                             QStringLiteral("<noise>")};
    int longWordMs = 2500; // 100 to 60000
    // The files Save also writes beside the joined recording: the words of
    // the table's choices, "eaf", "textgrid", "vtt-words", "json".
    QStringList alsoWrite;
    int longGapMs = 5000;  // 100 to 600000
    // The language spoken in the interview: the karaoke pages' "lang", so a
    // screen reader reads the words in it.
    enum class Language { Dutch, English, German, French, Frisian };
    Language interviewLanguage = Language::Dutch;
};
