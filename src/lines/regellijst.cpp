#include "lines/regellijst.h"

#include "lines/efout.h"
#include "lines/tatomischbestand.h"
#include "lines/tweetegelijk.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five bytes it
// leaves undefined keep their Latin-1 meaning, so nothing is lost.
constexpr char16_t cp1252Hoog[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString vanCp1252(const char *data, qsizetype lengte)
{
    QString s(lengte, Qt::Uninitialized);
    char16_t *uit = reinterpret_cast<char16_t *>(s.data());
    for (qsizetype i = 0; i < lengte; ++i) {
        const unsigned char b = static_cast<unsigned char>(data[i]);
        uit[i] = (b >= 0x80 && b < 0xA0) ? cp1252Hoog[b - 0x80] : char16_t(b);
    }
    return s;
}

[[noreturn]] void kanNietOpenen(const QString &pad, int fout)
{
    throw EFout(QStringLiteral("Cannot open file \"%1\". %2")
                    .arg(pad, QString::fromLocal8Bit(std::strerror(fout))));
}

bool isAscii(const char *data, qsizetype lengte)
{
    unsigned char of = 0;
    for (qsizetype i = 0; i < lengte; ++i)
        of |= static_cast<unsigned char>(data[i]);
    return of < 0x80;
}

} // namespace

bool isGeldigUtf8(const char *data, qsizetype lengte)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const auto *eind = p + lengte;
    while (p < eind) {
        // Skip ASCII eight bytes at a time: most text is ASCII.
        while (eind - p >= 8) {
            std::uint64_t blok;
            std::memcpy(&blok, p, 8);
            if (blok & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p >= eind)
            break;
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int volg;
        std::uint32_t cp;
        if (b >= 0xC2 && b <= 0xDF) {
            volg = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            volg = 2;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            volg = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (eind - p <= volg)
            return false;
        for (int k = 1; k <= volg; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if ((volg == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (volg == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += volg + 1;
    }
    return true;
}

namespace {

enum class TCodering { Ascii, Utf8, Cp1252 };

// Splits data into lines (ending at CR LF, LF or CR) and appends them to
// regels. A last line without a line end still counts; a final line end adds
// none.
void splitsRegels(const char *data, qsizetype n, TCodering codering, QStringList &regels)
{
    // Only the file's first byte-order mark is dropped; one at the start of a
    // later line is text and stays.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    auto voegToe = [&](const char *begin, const char *eind) {
        const qsizetype lengte = eind - begin;
        if (codering == TCodering::Ascii)
            regels.append(QString::fromLatin1(begin, lengte));
        else if (codering == TCodering::Utf8)
            regels.append(decoder.decode(QByteArrayView(begin, lengte)));
        else
            regels.append(vanCp1252(begin, lengte));
    };

    const char *p = data;
    const char *const eind = data + n;
    if (!std::memchr(data, '\r', static_cast<size_t>(n))) {
        // The usual case on Linux: LF only, found with memchr.
        while (p < eind) {
            const char *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(eind - p)));
            if (!lf) {
                voegToe(p, eind);
                break;
            }
            voegToe(p, lf);
            p = lf + 1;
        }
        return;
    }
    const char *begin = p;
    for (; p < eind; ++p) {
        if (static_cast<unsigned char>(*p) > '\r' || (*p != '\n' && *p != '\r'))
            continue;
        voegToe(begin, p);
        if (*p == '\r' && p + 1 < eind && p[1] == '\n')
            ++p;
        begin = p + 1;
    }
    if (begin < eind)
        voegToe(begin, eind);
}

} // namespace

QStringList regelsUitBytes(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype n = bytes.size();
    if (n >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0) {
        data += 3;
        n -= 3;
    }
    const bool utf8 = isGeldigUtf8(data, n);
    const TCodering codering =
        !utf8 ? TCodering::Cp1252 : isAscii(data, n) ? TCodering::Ascii : TCodering::Utf8;

    QStringList regels;
    // A long file is split in two halves at once, cut just after a LF so that
    // no line and no CR LF pair is divided.
    const char *lf = n >= (qsizetype(8) << 20)
                         ? static_cast<const char *>(std::memchr(data + n / 2, '\n', static_cast<size_t>(n - n / 2)))
                         : nullptr;
    if (!lf || lf + 1 == data + n) {
        splitsRegels(data, n, codering, regels);
        return regels;
    }
    const qsizetype eerste = lf + 1 - data;
    QStringList tweede;
    tweeTegelijk([&] { splitsRegels(data, eerste, codering, regels); },
                 [&] { splitsRegels(data + eerste, n - eerste, codering, tweede); });
    regels.append(std::move(tweede));
    return regels;
}

QStringList leesRegellijst(const QString &pad)
{
    const QByteArray naam = QFile::encodeName(pad);
    const int fd = ::open(naam.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        kanNietOpenen(pad, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const int fout = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        kanNietOpenen(pad, fout);
    }
    QByteArray bytes;
    bytes.reserve(st.st_size > 0 ? static_cast<qsizetype>(st.st_size) : 0);
    char blok[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, blok, sizeof blok);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int fout = errno;
            ::close(fd);
            kanNietOpenen(pad, fout);
        }
        if (n == 0)
            break;
        bytes.append(blok, n);
    }
    ::close(fd);
    return regelsUitBytes(bytes);
}

QByteArray regellijstNaarBytes(const QStringList &regels)
{
    QByteArray uit("\xEF\xBB\xBF");
    qsizetype schatting = 3;
    for (const QString &r : regels)
        schatting += r.size() + 2;
    uit.reserve(schatting);
    for (const QString &r : regels) {
        uit += r.toUtf8();
        uit += "\r\n";
    }
    return uit;
}

void bewaarRegellijst(const QString &pad, const QStringList &regels)
{
    TAtomischBestand bestand(pad);
    bestand.schrijf(regellijstNaarBytes(regels));
    bestand.commit();
}
