// Any word table through the karaoke body: it never fails, every paragraph
// it opens is closed (a table without rows only closes one), and every word
// and speaker is escaped, so each line holds exactly the tags the page puts
// there.
#include "wordtable.h"

#include "formats/karaokebody.h"

#include <cstddef>
#include <cstdint>

namespace {

qsizetype count(const QString &line, char16_t c)
{
    return line.count(QChar(c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<WordRow> rows = wordRowsFromBytes(data, size);
    const QString title = rows.empty() ? QString() : rows[0].cell(WordRow::Text);
    const QStringList l = karaokeBody(rows, title);

    if (l.size() < 5 || l[0] != QStringLiteral("<body>") || l.constLast() != QStringLiteral("   </div>"))
        __builtin_trap();
    // Without rows no paragraph opens; the closing tag is written all the same.
    if (rows.empty()) {
        if (l.size() != 5)
            __builtin_trap();
        return 0;
    }
    qsizetype open = 0;
    qsizetype wordLines = 0;
    for (qsizetype i = 2; i + 1 < l.size(); ++i) {
        const QString &line = l[i];
        if (line == QStringLiteral("    <p class=\"transcript\">")) {
            if (open++ != 0)
                __builtin_trap();
        } else if (line == QStringLiteral("    </p>")) {
            if (--open != 0)
                __builtin_trap();
        } else if (line.startsWith(QStringLiteral("     <span "))) {
            // The timestamp (the start cell in seconds) and the speaker are
            // quoted attributes; nothing in them or in the word can end an
            // attribute or the element early.
            if (open != 1 || count(line, u'<') != 2 || count(line, u'>') != 2 || count(line, u'"') != 8
                || !line.endsWith(QStringLiteral("</span>")))
                __builtin_trap();
            ++wordLines;
        } else if (line.startsWith(QStringLiteral("   <h2>")) || line.startsWith(QStringLiteral("    <h1>"))) {
            if (count(line, u'<') != 2 || count(line, u'>') != 2)
                __builtin_trap();
        } else {
            __builtin_trap();
        }
    }
    if (open != 0 || wordLines > static_cast<qsizetype>(rows.size()))
        __builtin_trap();

    // The seconds of any start cell: the digits with a point before the last three.
    const QString seconds = msTextToSeconds(rows[0].cell(WordRow::Start));
    if (seconds.size() < 5 || seconds[seconds.size() - 4] != u'.')
        __builtin_trap();
    return 0;
}
