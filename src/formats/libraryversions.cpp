#include "formats/libraryversions.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
}
#include <soxr.h>

namespace {

// FFmpeg packs a version as major << 16 | minor << 8 | micro.
QString ffmpegVersion(const char *library, unsigned version)
{
    return QStringLiteral("FFmpeg %1 %2.%3.%4")
        .arg(QString::fromLatin1(library))
        .arg(version >> 16)
        .arg((version >> 8) & 0xff)
        .arg(version & 0xff);
}

} // namespace

QStringList libraryVersions()
{
    return {
        QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
        ffmpegVersion("libavformat", avformat_version()),
        ffmpegVersion("libavcodec", avcodec_version()),
        ffmpegVersion("libavutil", avutil_version()),
        QString::fromLatin1(soxr_version()), // "libsoxr-0.1.3"
    };
}
