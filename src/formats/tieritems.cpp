#include "formats/tieritems.h"

#include "formats/annotatedinterview.h"

TierItems phraseItems(const AnnotatedInterview &interview)
{
    return [&interview](const TierItemSink &put) {
        for (const AnnotatedPhrase &phrase : interview.phrases)
            put(interview.startMs(phrase.firstWord), interview.endMs(phrase.lastWord), phrase.text);
    };
}

TierItems wordItems(const AnnotatedInterview &interview)
{
    return [&interview](const TierItemSink &put) {
        for (std::size_t r = 0; r < interview.words.size(); ++r)
            if (holdsWord(interview.words[r]))
                put(interview.startMs(r), interview.endMs(r), QStringView(interview.words[r].text).trimmed());
    };
}

TierItems speakerWordItems(const AnnotatedInterview &interview, const QString &speaker)
{
    return [&interview, speaker](const TierItemSink &put) {
        for (std::size_t r = 0; r < interview.words.size(); ++r)
            if (interview.words[r].speaker == speaker && holdsWord(interview.words[r]))
                put(interview.startMs(r), interview.endMs(r), QStringView(interview.words[r].text).trimmed());
    };
}
