#include "job/dropplan.h"

#include "formats/wordfile.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <set>

namespace {

enum Kind { WordFile, Text, Recording, kindCount };

// The extensions the open dialog lists for each kind.
const std::array<QStringList, kindCount> extensions{
    wordFileExtensions(),
    QStringList{QStringLiteral("txt")},
    QStringList{QStringLiteral("wav"), QStringLiteral("mp3"), QStringLiteral("m4a"), QStringLiteral("aac"),
                QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("oga"), QStringLiteral("opus"),
                QStringLiteral("rf64")},
};

int kindOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (int kind = 0; kind < kindCount; ++kind)
        if (extensions[static_cast<size_t>(kind)].contains(suffix))
            return kind;
    return -1;
}

QString &slot(PartFiles &part, int kind)
{
    return kind == WordFile ? part.wordFile : kind == Text ? part.text : part.recording;
}

} // namespace

int DropPlan::lastNumber(const QString &path)
{
    const QString base = QFileInfo(path).completeBaseName();
    qsizetype end = base.size();
    while (end > 0 && !base[end - 1].isDigit())
        --end;
    qsizetype start = end;
    while (start > 0 && base[start - 1].isDigit())
        --start;
    if (start == end)
        return -1;
    bool ok = false;
    const int number = QStringView(base).mid(start, end - start).toInt(&ok);
    // A number too long for an int is no part number.
    return ok ? number : -1;
}

DropPlan::DropPlan(const QStringList &paths)
{
    std::array<QStringList, kindCount> byKind;
    for (const QString &path : paths) {
        const int kind = kindOf(path);
        if (kind < 0) {
            unplaced << QStringLiteral("%1: not a word file (.%2), a text (.txt) or a recording (.%3)")
                            .arg(QFileInfo(path).fileName(), extensions[WordFile].join(QStringLiteral(", .")),
                                 extensions[Recording].join(QStringLiteral(", .")));
            continue;
        }
        byKind[static_cast<size_t>(kind)] << path;
    }

    // A number names a part only among as many parts as the drop holds (two
    // at least, so a lone "interview_2.txt" goes to part 2): "a_9.wav" and
    // "a_10.wav" are parts 1 and 2.
    qsizetype highestPart = 2;
    for (const QStringList &files : byKind)
        highestPart = std::max(highestPart, files.size());

    for (int kind = 0; kind < kindCount; ++kind) {
        const QStringList &files = byKind[static_cast<size_t>(kind)];
        std::vector<int> numbers;
        std::set<int> distinct;
        for (const QString &file : files) {
            numbers.push_back(lastNumber(file));
            distinct.insert(numbers.back());
        }
        const bool numbered = distinct.size() == numbers.size()
                              && std::all_of(numbers.cbegin(), numbers.cend(),
                                             [&](int n) { return n >= 1 && n <= highestPart; });
        // The part index of each file: its own number, or its rank.
        std::vector<size_t> order(files.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        if (!numbered)
            std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
                // Files without a number go after those with one.
                const unsigned na = static_cast<unsigned>(numbers[a]);
                const unsigned nb = static_cast<unsigned>(numbers[b]);
                return na < nb;
            });
        for (size_t rank = 0; rank < order.size(); ++rank) {
            const size_t file = order[rank];
            const size_t index = numbered ? static_cast<size_t>(numbers[file] - 1) : rank;
            if (placed.size() <= index)
                placed.resize(index + 1);
            slot(placed[index], kind) = files[static_cast<qsizetype>(file)];
        }
    }
}
