#include "formats/eafwriter.h"

#include "base/paths.h"
#include "base/utf8writer.h"
#include "formats/annotatedinterview.h"
#include "formats/karaokepage.h"
#include "formats/tieritems.h"
#include "formats/xmltext.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// One speaker's phrases and words, as the two tiers of that speaker hold
// them: a phrase is the run of the speaker's words inside one phrase of the
// interview, and its words lie within it.
void walkSpeaker(const AnnotatedInterview &interview, const QString &speaker, const TierItemSink &phrase,
                 const TierItemSink &word)
{
    TierLayout layout;
    QString text;
    std::int64_t pieceStart = 0;
    std::int64_t pieceEnd = 0;
    bool open = false;
    bool wholePhrase = false;
    const AnnotatedPhrase *current = nullptr;
    const auto close = [&] {
        if (open && phrase)
            phrase(pieceStart, pieceEnd, wholePhrase ? QStringView(current->text) : QStringView(text));
        open = false;
    };
    for (const AnnotatedPhrase &p : interview.phrases) {
        current = &p;
        // A phrase of this speaker alone keeps its text as the phrase
        // table shows it; a shared one gives each speaker their words.
        wholePhrase = true;
        for (std::size_t r = p.firstWord; r <= p.lastWord && wholePhrase; ++r)
            wholePhrase = !holdsWord(interview.words[r]) || interview.words[r].speaker == speaker;
        for (std::size_t r = p.firstWord; r <= p.lastWord; ++r) {
            const WordRow &row = interview.words[r];
            if (!holdsWord(row))
                continue;
            if (row.speaker != speaker) {
                close();
                continue;
            }
            const auto [from, to] = layout.place(interview.startMs(r), interview.endMs(r));
            const QStringView shown = QStringView(row.text).trimmed();
            if (!open) {
                open = true;
                pieceStart = from;
                text.resize(0);
            } else {
                text += u' ';
            }
            text += shown;
            pieceEnd = to;
            if (word)
                word(from, to, shown);
        }
        close();
    }
}

struct SpeakerTiers
{
    QString speaker;
    QString phraseTier, wordTier;
    bool named = true;
};

std::vector<SpeakerTiers> speakerTiers(const AnnotatedInterview &interview)
{
    std::vector<SpeakerTiers> tiers;
    const std::vector<QString> speakers = interview.speakers();
    if (speakers.size() == 1 && !namesSpeaker(speakers.front()))
        return {{speakers.front(), u"phrases"_s, u"words"_s, false}};
    for (const QString &speaker : speakers)
        tiers.push_back({speaker, speaker, speaker + u" - words"_s});
    return tiers;
}

} // namespace

void writeEaf(AtomicFile &out, const AnnotatedInterview &interview, const QDateTime &written)
{
    const std::vector<SpeakerTiers> tiers = speakerTiers(interview);

    // Every annotation's times, for the time slots that come before the tiers.
    std::vector<std::int64_t> times;
    std::int64_t annotations = 0;
    const TierItemSink collect = [&](std::int64_t from, std::int64_t to, QStringView) {
        times.push_back(from);
        times.push_back(to);
        ++annotations;
    };
    for (const SpeakerTiers &tier : tiers)
        walkSpeaker(interview, tier.speaker, collect, collect);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    const auto slot = [&](std::int64_t time) {
        return u"ts"_s + QString::number(std::lower_bound(times.begin(), times.end(), time) - times.begin() + 1);
    };

    Utf8Writer w(out);
    const QString recordingUrl =
        QUrl::fromLocalFile(QFileInfo(interview.recordingPath).absoluteFilePath()).toString(QUrl::FullyEncoded);
    w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<ANNOTATION_DOCUMENT AUTHOR=\"\" DATE=\""
      << written.toString(Qt::ISODate)
      << "\" FORMAT=\"3.0\" VERSION=\"3.0\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
         "xsi:noNamespaceSchemaLocation=\"http://www.mpi.nl/tools/elan/EAFv3.0.xsd\">\n"
         "    <HEADER MEDIA_FILE=\"\" TIME_UNITS=\"milliseconds\">\n"
         "        <MEDIA_DESCRIPTOR MEDIA_URL=\""
      << xmlEscaped(recordingUrl) << "\" MIME_TYPE=\"audio/x-wav\" RELATIVE_MEDIA_URL=\"./"
      << xmlEscaped(urlEscaped(fileNamePart(interview.recordingPath))) << "\"/>\n"
      << "        <PROPERTY NAME=\"lastUsedAnnotationId\">" << QString::number(annotations)
      << "</PROPERTY>\n    </HEADER>\n    <TIME_ORDER>\n";
    for (std::size_t i = 0; i < times.size(); ++i)
        w << "        <TIME_SLOT TIME_SLOT_ID=\"ts" << QString::number(i + 1) << "\" TIME_VALUE=\""
          << QString::number(times[i]) << "\"/>\n";
    w << "    </TIME_ORDER>\n";

    std::int64_t id = 0;
    const TierItemSink annotation = [&](std::int64_t from, std::int64_t to, QStringView text) {
        w << "        <ANNOTATION>\n            <ALIGNABLE_ANNOTATION ANNOTATION_ID=\"a" << QString::number(++id)
          << "\" TIME_SLOT_REF1=\"" << slot(from) << "\" TIME_SLOT_REF2=\"" << slot(to)
          << "\">\n                <ANNOTATION_VALUE>" << xmlEscaped(text)
          << "</ANNOTATION_VALUE>\n            </ALIGNABLE_ANNOTATION>\n        </ANNOTATION>\n";
    };
    for (const SpeakerTiers &tier : tiers) {
        const QString participant =
            tier.named ? u" PARTICIPANT=\""_s + xmlEscaped(tier.speaker) + u'"' : QString();
        w << "    <TIER LINGUISTIC_TYPE_REF=\"phrases\"" << participant << " TIER_ID=\""
          << xmlEscaped(tier.phraseTier) << "\">\n";
        walkSpeaker(interview, tier.speaker, annotation, {});
        w << "    </TIER>\n    <TIER LINGUISTIC_TYPE_REF=\"words\" PARENT_REF=\"" << xmlEscaped(tier.phraseTier)
          << '"' << participant << " TIER_ID=\"" << xmlEscaped(tier.wordTier) << "\">\n";
        walkSpeaker(interview, tier.speaker, {}, annotation);
        w << "    </TIER>\n";
    }
    w << "    <LINGUISTIC_TYPE GRAPHIC_REFERENCES=\"false\" LINGUISTIC_TYPE_ID=\"phrases\" "
         "TIME_ALIGNABLE=\"true\"/>\n"
         "    <LINGUISTIC_TYPE CONSTRAINTS=\"Included_In\" GRAPHIC_REFERENCES=\"false\" "
         "LINGUISTIC_TYPE_ID=\"words\" TIME_ALIGNABLE=\"true\"/>\n"
         "    <CONSTRAINT DESCRIPTION=\"Time subdivision of parent annotation's time interval, no time gaps "
         "allowed within this interval\" STEREOTYPE=\"Time_Subdivision\"/>\n"
         "    <CONSTRAINT DESCRIPTION=\"Symbolic subdivision of a parent annotation. Annotations refering to "
         "the same parent are ordered\" STEREOTYPE=\"Symbolic_Subdivision\"/>\n"
         "    <CONSTRAINT DESCRIPTION=\"1-1 association with a parent annotation\" "
         "STEREOTYPE=\"Symbolic_Association\"/>\n"
         "    <CONSTRAINT DESCRIPTION=\"Time alignable annotations within the parent annotation's time "
         "interval, gaps are allowed\" STEREOTYPE=\"Included_In\"/>\n"
         "</ANNOTATION_DOCUMENT>\n";
    w.flush();
}
