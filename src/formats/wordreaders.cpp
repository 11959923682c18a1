#include "formats/wordreaders.h"

#include "base/error.h"
#include "formats/assemblyaireader.h"
#include "formats/awsreader.h"
#include "formats/deepgramreader.h"
#include "formats/eafreader.h"
#include "formats/gentlereader.h"
#include "formats/googlereader.h"
#include "formats/textgridreader.h"
#include "formats/voskreader.h"
#include "formats/vttwordreader.h"
#include "formats/whispercppreader.h"
#include "formats/whisperreader.h"
#include "formats/whisperxreader.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

using Syntax = WordReader::Syntax;

// The order matters where one format's keys are a part of another's:
// WhisperX before Whisper (both hold segments).
const WordReader readers[] = {
    {WordFileKind::WhisperCpp, Syntax::Json, "whisper.cpp", "transcription[]", isWhisperCpp, readWhisperCpp},
    {WordFileKind::WhisperX, Syntax::Json, "WhisperX", "word_segments, or segments[].words[] with score",
     isWhisperX, readWhisperX},
    {WordFileKind::Whisper, Syntax::Json, "Whisper", "segments[]", isWhisper, readWhisper},
    {WordFileKind::Gentle, Syntax::Json, "Gentle", "words[] or tokens[] with case", isGentle, readGentle},
    {WordFileKind::AssemblyAi, Syntax::Json, "AssemblyAI", "words[] with text", isAssemblyAi, readAssemblyAi},
    {WordFileKind::Deepgram, Syntax::Json, "Deepgram", "results.channels[]", isDeepgram, readDeepgram},
    {WordFileKind::Aws, Syntax::Json, "AWS Transcribe", "results.items[]", isAws, readAws},
    {WordFileKind::Google, Syntax::Json, "Google", "results[].alternatives[]", isGoogle, readGoogle},
    {WordFileKind::Vosk, Syntax::Json, "Vosk", "result[], or a list of utterances", isVosk, readVosk},
    {WordFileKind::Eaf, Syntax::Xml, "ELAN EAF", "<ANNOTATION_DOCUMENT>", isEaf, readEaf},
    {WordFileKind::TextGrid, Syntax::Text, "Praat TextGrid", "File type = \"ooTextFile\"", isTextGrid,
     readTextGrid},
    {WordFileKind::Vtt, Syntax::Text, "WebVTT", "WEBVTT", isWordVtt, readWordVtt},
};

QString notKnown(const QString &fileName, const QString &why)
{
    return QStringLiteral("\"%1\": not a word file Naadwerk knows (%2)").arg(fileName, why);
}

// What the readers of a syntax look for: "WhisperX: segments[] ...; Gentle: ...".
QString lookedFor(Syntax syntax)
{
    QStringList what;
    for (const WordReader &reader : readers)
        if (reader.syntax == syntax)
            what << QStringLiteral("%1: %2").arg(QLatin1StringView(reader.name), QLatin1StringView(reader.lookedFor));
    return what.join(QStringLiteral("; "));
}

void parseJson(QByteArrayView utf8, const QString &fileName, WordSource &source)
{
    try {
        source.json = JsonTree(utf8);
    } catch (const Error &e) {
        throw Error(notKnown(fileName, e.message()));
    }
}

// The first character that is not blank: '{' or '[' starts JSON, '<' XML.
char firstMark(QByteArrayView utf8)
{
    const auto found = std::find_if(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
    return found == utf8.end() ? '\0' : *found;
}

QString xmlRoot(QByteArrayView utf8)
{
    QXmlStreamReader xml(QByteArray::fromRawData(utf8.data(), utf8.size()));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement)
            return xml.name().toString();
    return QString();
}

} // namespace

std::span<const WordReader> wordReaders()
{
    return readers;
}

const WordReader *findWordReader(QByteArrayView utf8, WordFileKind kind, const QString &fileName, WordSource &source)
{
    source.utf8 = utf8;
    const char mark = firstMark(utf8);
    if (kind == WordFileKind::Ctm || kind == WordFileKind::Nist)
        return nullptr;
    if (kind != WordFileKind::Auto) {
        const WordReader &chosen = *std::find_if(std::begin(readers), std::end(readers),
                                                 [kind](const WordReader &reader) { return reader.kind == kind; });
        if (chosen.syntax == Syntax::Json)
            parseJson(utf8, fileName, source);
        return &chosen;
    }
    Syntax syntax = Syntax::Text;
    if (mark == '{' || mark == '[') {
        syntax = Syntax::Json;
        parseJson(utf8, fileName, source);
    } else if (mark == '<') {
        syntax = Syntax::Xml;
    }
    for (const WordReader &reader : readers)
        if (reader.syntax == syntax && reader.detects(source))
            return &reader;
    if (syntax == Syntax::Json)
        throw Error(notKnown(fileName, QStringLiteral("a JSON file, but none of %1").arg(lookedFor(syntax))));
    if (syntax == Syntax::Xml) {
        const QString root = xmlRoot(utf8);
        throw Error(notKnown(fileName, QStringLiteral("an XML file whose root is %1, not %2")
                                           .arg(root.isEmpty() ? QStringLiteral("missing") : u'<' + root + u'>',
                                                lookedFor(syntax))));
    }
    return nullptr;
}
