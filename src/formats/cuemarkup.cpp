#include "formats/cuemarkup.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool isOneOf(QStringView name, std::initializer_list<QStringView> names)
{
    return std::any_of(names.begin(), names.end(),
                       [&](QStringView n) { return name.compare(n, Qt::CaseInsensitive) == 0; });
}

// The inside of "<...>": a closer's "/", the name, and what follows it
// (attributes, WebVTT's classes and annotation).
struct TagInside
{
    bool closer;
    QStringView name;
    QStringView rest;

    explicit TagInside(QStringView inner)
        : closer(inner.startsWith(u'/'))
    {
        const QStringView body = closer ? inner.sliced(1) : inner;
        qsizetype n = 0;
        while (n < body.size() && body[n].isLetterOrNumber())
            ++n;
        name = body.first(n);
        rest = body.sliced(n);
    }

    CuePiece piece(qsizetype length) const { return {closer ? CuePiece::Closer : CuePiece::Opener, length, name}; }
};

// The tag "<inner>" in SRT: only the formatting tags are tags.
CuePiece srtTag(QStringView inner, qsizetype length)
{
    const TagInside tag(inner);
    const bool plain = tag.rest.trimmed().isEmpty(); // "<i>", "<i >", "</font>"
    if (isOneOf(tag.name, {u"i", u"b", u"u", u"s"}) && plain)
        return tag.piece(length);
    if (isOneOf(tag.name, {u"font"}) && (plain || (!tag.closer && tag.rest.front().isSpace())))
        return tag.piece(length);
    return {};
}

// The tag "<inner>" in WebVTT: every tag is one; the spans WebVTT knows
// open and close, timestamps and unknown tags mark nothing.
CuePiece webVttTag(QStringView inner, qsizetype length)
{
    const TagInside tag(inner);
    if (isOneOf(tag.name, {u"c", u"i", u"b", u"u", u"v", u"lang", u"ruby", u"rt"}))
        return tag.piece(length);
    return {CuePiece::Mark, length, {}};
}

// An entity such as "&amp;", "&nbsp;" or "&#39;": its length, 0 when none.
qsizetype entityLengthAt(QStringView s, qsizetype i)
{
    constexpr qsizetype longest = 32;
    for (qsizetype k = i + 1; k < s.size() && k - i <= longest; ++k) {
        if (s[k] == u';')
            return k - i > 1 ? k - i + 1 : 0;
        if (!s[k].isLetterOrNumber() && s[k] != u'#')
            return 0;
    }
    return 0;
}

} // namespace

CuePiece cuePieceAt(QStringView s, qsizetype i, CueMarkup markup)
{
    const QChar c = s[i];
    if (c == u'<') {
        const qsizetype e = s.indexOf(u'>', i + 1);
        if (e < 0)
            return {};
        const QStringView inner = s.sliced(i + 1, e - i - 1);
        return markup == CueMarkup::Srt ? srtTag(inner, e - i + 1) : webVttTag(inner, e - i + 1);
    }
    if (markup == CueMarkup::Srt) {
        if (c == u'{' && i + 1 < s.size() && s[i + 1] == u'\\') {
            const qsizetype e = s.indexOf(u'}', i + 2);
            return e < 0 ? CuePiece{} : CuePiece{CuePiece::Mark, e - i + 1, {}};
        }
        if (c == u'\\' && i + 1 < s.size() && (s[i + 1] == u'h' || s[i + 1] == u'N' || s[i + 1] == u'n'))
            return {CuePiece::Character, 2, {}};
        return {};
    }
    if (c == u'&') {
        if (const qsizetype n = entityLengthAt(s, i))
            return {CuePiece::Character, n, {}};
    }
    return {};
}

bool mayHoldMarkup(QStringView text, CueMarkup markup)
{
    if (markup == CueMarkup::Srt)
        return text.contains(u'<') || text.contains(u'{') || text.contains(u'\\');
    return text.contains(u'<') || text.contains(u'&');
}

qsizetype shownLength(QStringView text, CueMarkup markup)
{
    if (!mayHoldMarkup(text, markup))
        return text.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size();) {
        const CuePiece piece = cuePieceAt(text, i, markup);
        n += piece.kind == CuePiece::Character ? 1 : 0;
        i += piece.length;
    }
    return n;
}

ShownText::ShownText(QStringView s, CueMarkup markup)
{
    text.reserve(s.size());
    at.reserve(static_cast<size_t>(s.size()));
    end.reserve(static_cast<size_t>(s.size()));
    for (qsizetype i = 0; i < s.size();) {
        const CuePiece piece = cuePieceAt(s, i, markup);
        if (piece.kind == CuePiece::Character) {
            text.append(s[i]);
            at.push_back(i);
            end.push_back(i + piece.length);
        }
        i += piece.length;
    }
}

qsizetype ShownText::indexOf(qsizetype k, qsizetype textSize) const
{
    return k < text.size() ? at[static_cast<size_t>(k)] : textSize;
}

QString srtTextAsWebVtt(const QString &text)
{
    const auto special = [](QChar c) { return c == u'&' || c == u'<' || c == u'>' || c == u'\\'; };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    QString out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size();) {
        const CuePiece piece = cuePieceAt(text, i, CueMarkup::Srt);
        const QStringView part = QStringView(text).mid(i, piece.length);
        i += piece.length;
        if (piece.kind != CuePiece::Character) {
            out += part;
        } else if (part == u"\\h") {
            out += u"&nbsp;";
        } else if (part == u"&") {
            out += u"&amp;";
        } else if (part == u"<") {
            out += u"&lt;";
        } else if (part == u">") {
            out += u"&gt;";
        } else {
            out += part;
        }
    }
    return out;
}
