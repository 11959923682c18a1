#include "base/textfile.h"

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/linedecoder.h"
#include "base/linewriter.h"
#include "base/twothreads.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void cannotOpen(const QString &path, int error)
{
    throw Error(QStringLiteral("Cannot open file \"%1\". %2")
                    .arg(path, QString::fromLocal8Bit(std::strerror(error))));
}

} // namespace

bool isValidUtf8(const char *data, qsizetype length)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *end = p + length;
    while (p < end) {
        // Skip ASCII eight bytes at a time: most text is ASCII.
        while (end - p >= 8) {
            std::uint64_t block;
            std::memcpy(&block, p, 8);
            if (block & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        char32_t cp;
        const int n = utf8SequenceAt(p, end, cp);
        if (n == 0)
            return false;
        p += n;
    }
    return true;
}

namespace {

// Appends the lines of data to lines.
void splitLines(const char *data, qsizetype n, LineDecoder::Encoding encoding, QStringList &lines)
{
    LineDecoder decoder(encoding);
    forEachLine(data, n, [&](const char *begin, const char *end) { lines.append(decoder.decode(begin, end)); });
}

} // namespace

TextLines textLinesFromBytes(const QByteArray &fileBytes, QByteArrayView chosenEncoding)
{
    const TextBytes text(fileBytes, chosenEncoding);
    const char *data = text.data();
    const qsizetype n = text.size();

    TextLines read{{}, text.encodingName()};
    QStringList &lines = read.lines;
    // A long file is split in two halves at once.
    const qsizetype firstPart = n >= (qsizetype(8) << 20) ? text.middleCut() : n;
    if (firstPart == n) {
        splitLines(data, n, text.encoding(), lines);
        return read;
    }
    QStringList second;
    runOnTwoThreads([&] { splitLines(data, firstPart, text.encoding(), lines); },
                    [&] { splitLines(data + firstPart, n - firstPart, text.encoding(), second); });
    lines.append(std::move(second));
    return read;
}

QStringList linesFromBytes(const QByteArray &fileBytes)
{
    return textLinesFromBytes(fileBytes, {}).lines;
}

TextLines readTextLines(const QString &path, QByteArrayView chosenEncoding, FileKind kind)
{
    return textLinesFromBytes(readFileBytes(path, kind), chosenEncoding);
}

QByteArray readFileBytes(const QString &path, FileKind kind)
{
    const QByteArray name = QFile::encodeName(path);
    // Without O_NONBLOCK, opening a FIFO waits for a writer: right for a pipe
    // to be read, not for a file that is refused.
    const int fd = ::open(name.constData(),
                          O_RDONLY | O_CLOEXEC | (kind == FileKind::RegularOnly ? O_NONBLOCK : 0));
    if (fd < 0)
        cannotOpen(path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        cannotOpen(path, error);
    }
    // A device (/dev/zero) never ends: refused even where pipes may come in.
    if (!S_ISREG(st.st_mode)) {
        if (kind == FileKind::RegularOnly || !(S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode))) {
            ::close(fd);
            throw Error(QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(path));
        }
    }
    QByteArray bytes;
    bytes.reserve(st.st_size > 0 ? static_cast<qsizetype>(st.st_size) : 0);
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            cannotOpen(path, error);
        }
        if (n == 0)
            break;
        bytes.append(block, n);
    }
    ::close(fd);
    return bytes;
}

void refuseSpecialFile(const QString &path)
{
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (!path.isEmpty() && ::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        throw Error(QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(path));
}

QStringList readTextFile(const QString &path, FileKind kind)
{
    return readTextLines(path, {}, kind).lines;
}

QByteArray bytesFromLines(const QStringList &lines)
{
    QByteArray out("\xEF\xBB\xBF");
    qsizetype estimate = 3;
    for (const QString &line : lines)
        estimate += line.size() + 2;
    out.reserve(estimate);
    for (const QString &line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}

void writeTextFile(const QString &path, const QStringList &lines)
{
    AtomicFile file(path);
    writeTextLines(file, lines);
    file.commit();
}

void writeTextLines(AtomicFile &file, const QStringList &lines)
{
    // Line by line: a long text is never held a second time as bytes.
    LineWriter writer(file);
    for (const QString &line : lines)
        writer.writeLine(line);
    writer.flush();
}
