#include "formats/audiodecoder.h"

#include "base/error.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/samplefmt.h>
}

#include <vector>

namespace {

QString averror(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// One sample of the given packed format at p, in [-1, 1).
double sampleAt(const uint8_t *p, AVSampleFormat format)
{
    switch (format) {
    case AV_SAMPLE_FMT_U8:  return (double(*p) - 128.0) / 128.0;
    case AV_SAMPLE_FMT_S16: return *reinterpret_cast<const int16_t *>(p) / 32768.0;
    case AV_SAMPLE_FMT_S32: return *reinterpret_cast<const int32_t *>(p) / 2147483648.0;
    case AV_SAMPLE_FMT_S64: return double(*reinterpret_cast<const int64_t *>(p)) / 9223372036854775808.0;
    case AV_SAMPLE_FMT_FLT: return double(*reinterpret_cast<const float *>(p));
    case AV_SAMPLE_FMT_DBL: return *reinterpret_cast<const double *>(p);
    default: return 0.0;
    }
}

} // namespace

struct AudioDecoder::Impl
{
    QString path;
    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;
    int stream = -1;
    bool flushed = false;
    bool ended = false;
    bool damaged = false;
    std::vector<float> samples;
    qint64 frames = 0;

    ~Impl()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    [[noreturn]] void fail(const QString &reason) const
    {
        throw Error(QStringLiteral("Cannot decode file \"%1\". %2").arg(path, reason));
    }

    void take(const AVFrame *f)
    {
        const int channels = codec->ch_layout.nb_channels;
        const auto fmt = AVSampleFormat(f->format);
        const AVSampleFormat packed = av_get_packed_sample_fmt(fmt);
        const bool planar = av_sample_fmt_is_planar(fmt);
        const int bytes = av_get_bytes_per_sample(packed);
        frames = f->nb_samples;
        samples.resize(size_t(frames) * size_t(channels));
        float *out = samples.data();
        for (qint64 i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) {
                const uint8_t *p = planar ? f->extended_data[c] + i * bytes
                                          : f->extended_data[0] + (i * channels + c) * bytes;
                *out++ = float(sampleAt(p, packed));
            }
    }
};

AudioDecoder::AudioDecoder(const QString &path) : d(std::make_unique<Impl>())
{
    av_log_set_level(AV_LOG_QUIET); // the person sees our messages, not FFmpeg's
    d->path = path;
    const QByteArray name = path.toUtf8();
    int r = avformat_open_input(&d->format, name.constData(), nullptr, nullptr);
    if (r < 0)
        d->fail(averror(r));
    r = avformat_find_stream_info(d->format, nullptr);
    if (r < 0)
        d->fail(averror(r));
    const AVCodec *decoder = nullptr;
    d->stream = av_find_best_stream(d->format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (d->stream < 0 || !decoder)
        d->fail(QStringLiteral("It holds no audio that can be decoded."));
    d->codec = avcodec_alloc_context3(decoder);
    d->packet = av_packet_alloc();
    d->frame = av_frame_alloc();
    if (!d->codec || !d->packet || !d->frame)
        throw std::bad_alloc();
    r = avcodec_parameters_to_context(d->codec, d->format->streams[d->stream]->codecpar);
    if (r >= 0)
        r = avcodec_open2(d->codec, decoder, nullptr);
    if (r < 0)
        d->fail(averror(r));
    if (d->codec->ch_layout.nb_channels <= 0 || d->codec->sample_rate <= 0)
        d->fail(QStringLiteral("It holds no audio that can be decoded."));
}

AudioDecoder::~AudioDecoder() = default;

QString AudioDecoder::formatName() const
{
    const AVCodecDescriptor *descriptor = avcodec_descriptor_get(d->codec->codec_id);
    const QString name = QString::fromLatin1(descriptor ? descriptor->name : d->codec->codec->name);
    if (name == u"opus")
        return QStringLiteral("Opus");
    if (name == u"vorbis")
        return QStringLiteral("Vorbis");
    return name.toUpper();
}

int AudioDecoder::channels() const { return d->codec->ch_layout.nb_channels; }

quint32 AudioDecoder::rate() const { return quint32(d->codec->sample_rate); }

bool AudioDecoder::next()
{
    while (!d->ended) {
        const int r = avcodec_receive_frame(d->codec, d->frame);
        if (r == 0) {
            d->take(d->frame);
            av_frame_unref(d->frame);
            if (d->frames > 0)
                return true;
            continue;
        }
        if (r == AVERROR_EOF) {
            d->ended = true;
            break;
        }
        if (r != AVERROR(EAGAIN))
            d->damaged = true; // a broken frame: go on with the next packet
        if (d->flushed) {
            if (r != AVERROR(EAGAIN))
                continue;
            d->ended = true;
            break;
        }
        // The decoder wants input.
        for (;;) {
            const int read = av_read_frame(d->format, d->packet);
            if (read < 0) {
                if (read != AVERROR_EOF)
                    d->damaged = true;
                avcodec_send_packet(d->codec, nullptr); // drain what the decoder holds
                d->flushed = true;
                break;
            }
            if (d->packet->stream_index != d->stream) {
                av_packet_unref(d->packet);
                continue;
            }
            if (d->packet->flags & AV_PKT_FLAG_CORRUPT)
                d->damaged = true;
            const int sent = avcodec_send_packet(d->codec, d->packet);
            av_packet_unref(d->packet);
            if (sent < 0 && sent != AVERROR(EAGAIN))
                d->damaged = true;
            break;
        }
    }
    d->frames = 0;
    d->samples.clear();
    return false;
}

std::span<const float> AudioDecoder::block() const { return d->samples; }

qint64 AudioDecoder::frames() const { return d->frames; }

bool AudioDecoder::damaged() const { return d->damaged; }

qint64 AudioDecoder::countFrames(const QString &path, bool *damaged)
{
    AudioDecoder decoder(path);
    qint64 count = 0;
    while (decoder.next())
        count += decoder.frames();
    if (damaged)
        *damaged = decoder.damaged();
    return count;
}
