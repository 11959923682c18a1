#include "formats/audiodecoder.h"

#include "base/error.h"
#include "formats/filebytesource.h"
#include "formats/oggend.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/intreadwrite.h>
#include <libavutil/log.h>
#include <libavutil/samplefmt.h>
}

#include <algorithm>
#include <cstring>
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

// The demuxer whose extensions hold the file's, if one does.
const AVInputFormat *demuxerNamedBy(const QByteArray &path)
{
    void *at = nullptr;
    while (const AVInputFormat *demuxer = av_demuxer_iterate(&at))
        if (demuxer->extensions && av_match_ext(path.constData(), demuxer->extensions))
            return demuxer;
    return nullptr;
}

} // namespace

struct AudioDecoder::Impl
{
    QString path;
    QByteArray name; // the path as FFmpeg takes it
    AVFormatContext *format = nullptr;
    AVCodecContext *codec = nullptr;
    AVPacket *packet = nullptr;
    AVFrame *frame = nullptr;
    int stream = -1;
    bool flushed = false;
    bool ended = false;
    // The frame handed out, and the one decoded after it: a frame is handed
    // out only once the next one came, so the last one can be cut short.
    AVFrame *current = nullptr;
    qint64 frames = 0;             // of current, perhaps cut short
    AVFrame *waiting = nullptr;
    bool isWaiting = false;
    qint64 firstStart = -1;        // where the first frame starts, -1 while unknown
    bool started = false;          // a frame came
    std::vector<double> sums;      // mix's sums of the channels

    // What tells a recording cut short, gathered while reading (in frames
    // at the recording's rate; -1 while unknown).
    bool readFailed = false;     // a read error other than the end of the file
    bool packetCut = false;      // a packet the demuxer found cut off
    qint64 packetEnd = -1;       // where the packets read so far end
    bool lastUntimed = false;    // the last packet read has no duration: its end is not known
    qint64 longestPacket = 0;
    qint64 trimmed = 0;          // delay and padding the packets tell the decoder to drop
    qint64 lastDiscard = 0;      // padding the last packet read tells the decoder to drop
    qint64 decoded = 0;          // frames handed out

    qint64 toFrames(int64_t t) const
    {
        return av_rescale_q(t, format->streams[stream]->time_base, AVRational{1, codec->sample_rate});
    }

    void notePacket(const AVPacket *p)
    {
        if (p->flags & AV_PKT_FLAG_CORRUPT)
            packetCut = true;
        if (p->duration > 0) {
            longestPacket = std::max(longestPacket, toFrames(p->duration));
            if (p->pts != AV_NOPTS_VALUE)
                packetEnd = std::max(packetEnd, toFrames(p->pts + p->duration));
        }
        lastUntimed = p->duration <= 0;
        size_t size = 0;
        lastDiscard = 0;
        if (const uint8_t *skip = av_packet_get_side_data(p, AV_PKT_DATA_SKIP_SAMPLES, &size); skip && size >= 8) {
            lastDiscard = qint64(AV_RL32(skip + 4));
            trimmed += qint64(AV_RL32(skip)) + lastDiscard;
        }
    }

    // The length the container states in its header; -1 where it has none
    // or only guesses it from the bit rate.
    qint64 statedFrames() const
    {
        const AVStream *s = format->streams[stream];
        if (format->duration_estimation_method != AVFMT_DURATION_FROM_STREAM || s->duration <= 0)
            return -1;
        // All ones is "unknown" to writers of fragmented MP4 files.
        if (s->duration == 0xFFFFFFFFLL || s->duration == INT64_MAX)
            return -1;
        return toFrames(s->duration);
    }

    ~Impl()
    {
        av_frame_free(&frame);
        av_frame_free(&current);
        av_frame_free(&waiting);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    explicit Impl(const QString &p) : path(p), name(p.toUtf8()) {}
    Impl(const Impl &) = delete;
    Impl &operator=(const Impl &) = delete;

    // Opens the file with the given demuxer (null: the one its content
    // names) and its best audio stream's decoder. Returns why it cannot, or
    // an empty string.
    QString open(const AVInputFormat *demuxer)
    {
        int r = avformat_open_input(&format, name.constData(), demuxer, nullptr);
        if (r < 0)
            return averror(r);
        r = avformat_find_stream_info(format, nullptr);
        if (r < 0)
            return averror(r);
        const AVCodec *decoder = nullptr;
        stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder)
            return noAudio();
        codec = avcodec_alloc_context3(decoder);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        current = av_frame_alloc();
        waiting = av_frame_alloc();
        if (!codec || !packet || !frame || !current || !waiting)
            throw std::bad_alloc();
        r = avcodec_parameters_to_context(codec, format->streams[stream]->codecpar);
        codec->pkt_timebase = format->streams[stream]->time_base;
        if (r >= 0)
            r = avcodec_open2(codec, decoder, nullptr);
        if (r < 0)
            return averror(r);
        if (codec->ch_layout.nb_channels <= 0 || codec->sample_rate <= 0)
            return noAudio();
        return {};
    }

    static QString noAudio() { return QStringLiteral("no audio stream it can decode"); }

    void throwIf(const QString &reason) const
    {
        if (!reason.isEmpty())
            throw Error(reason);
    }

    // Whether the first packets decode to frames with hardly an error: a
    // demuxer forced on a file of another format makes mostly errors.
    bool decodesCleanly()
    {
        int good = 0;
        int bad = 0;
        for (int packets = 0; packets < 64 && av_read_frame(format, packet) >= 0;) {
            if (packet->stream_index == stream) {
                ++packets;
                if (avcodec_send_packet(codec, packet) < 0)
                    ++bad;
            }
            av_packet_unref(packet);
            int r = 0;
            while ((r = avcodec_receive_frame(codec, frame)) == 0) {
                ++good;
                av_frame_unref(frame);
            }
            if (r != AVERROR(EAGAIN) && r != AVERROR_EOF)
                ++bad;
        }
        return good > 0 && bad * 4 <= good;
    }

    // A lossless codec's frames hold exactly the samples encoded: no padding
    // to cut, and its last frame is handed out whole. (An MP4 edit list that
    // starts with an empty edit makes FFmpeg shorten the last packet by that
    // edit's length, which is no padding at all.)
    bool lossless() const
    {
        const AVCodecDescriptor *descriptor = avcodec_descriptor_get(codec->codec_id);
        return descriptor && (descriptor->props & AV_CODEC_PROP_LOSSLESS);
    }

    // Hands out the frame waiting; at the end of the recording cut short
    // where the packets end: the encoder's padding that the container cuts
    // off (an M4A file's edit list) but the decoder still hands out.
    void handOn(bool last)
    {
        av_frame_unref(current);
        av_frame_move_ref(current, waiting);
        isWaiting = false;
        frames = current->nb_samples;
        if (last && firstStart >= 0 && packetEnd >= 0 && !lastUntimed && !lossless())
            frames = std::clamp<qint64>(packetEnd - firstStart - decoded, 0, frames);
        decoded += frames;
    }

    // Takes the frame the decoder made; it waits for the next one.
    void take()
    {
        if (!started && frame->best_effort_timestamp != AV_NOPTS_VALUE)
            firstStart = toFrames(frame->best_effort_timestamp);
        started = true;
        av_frame_move_ref(waiting, frame);
        isWaiting = true;
    }
};

AudioDecoder::AudioDecoder(const QString &path) : d(std::make_unique<Impl>(path))
{
    av_log_set_level(AV_LOG_QUIET); // the person sees our messages, not FFmpeg's
    // The content decides, unless the demuxer the file's extension names
    // reads it cleanly: junk before an MP3's first frame can look like
    // another format to the probe.
    const QString probed = d->open(nullptr);
    const AVInputFormat *named = demuxerNamedBy(d->name);
    if (named && !(probed.isEmpty() && d->format->iformat == named)) {
        Impl trial(path);
        if (trial.open(named).isEmpty() && trial.decodesCleanly()) {
            d = std::make_unique<Impl>(path);
            d->throwIf(d->open(named));
            return;
        }
    }
    d->throwIf(probed);
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
            const bool waiting = d->isWaiting;
            if (waiting)
                d->handOn(false);
            d->take();
            if (waiting && d->frames > 0)
                return true;
            continue;
        }
        if (r == AVERROR_EOF) {
            d->ended = true;
            break;
        }
        // A frame the decoder could not make is skipped: the next packet follows.
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
                    d->readFailed = true;
                avcodec_send_packet(d->codec, nullptr); // drain what the decoder holds
                d->flushed = true;
                break;
            }
            if (d->packet->stream_index != d->stream) {
                av_packet_unref(d->packet);
                continue;
            }
            d->notePacket(d->packet);
            // A packet the decoder refuses is skipped as a broken frame is.
            avcodec_send_packet(d->codec, d->packet);
            av_packet_unref(d->packet);
            break;
        }
    }
    if (d->isWaiting) {
        d->handOn(true);
        if (d->frames > 0)
            return true;
    }
    d->frames = 0;
    av_frame_unref(d->current);
    return false;
}

void AudioDecoder::mix(float *out, int picked) const
{
    const AVFrame *f = d->current;
    const int channels = d->codec->ch_layout.nb_channels;
    const auto format = AVSampleFormat(f->format);
    const AVSampleFormat packed = av_get_packed_sample_fmt(format);
    const bool planar = av_sample_fmt_is_planar(format);
    const qint64 bytes = av_get_bytes_per_sample(packed);
    const qint64 n = d->frames;
    // Sample i of channel c.
    const auto at = [&](int c, qint64 i) {
        return planar ? f->extended_data[c] + i * bytes : f->extended_data[0] + (i * channels + c) * bytes;
    };
    if (channels == 1 || picked >= 0) {
        const int c = std::max(picked, 0);
        if (packed == AV_SAMPLE_FMT_FLT && planar) { // what most decoders make
            std::copy_n(reinterpret_cast<const float *>(f->extended_data[c]), n, out);
            return;
        }
        for (qint64 i = 0; i < n; ++i)
            out[i] = float(sampleAt(at(c, i), packed));
        return;
    }
    if (packed == AV_SAMPLE_FMT_FLT && planar && channels == 2) {
        // The float sum halved is rounded once, as the sum in double is.
        const float *left = reinterpret_cast<const float *>(f->extended_data[0]);
        const float *right = reinterpret_cast<const float *>(f->extended_data[1]);
        for (qint64 i = 0; i < n; ++i)
            out[i] = (left[i] + right[i]) * 0.5f;
        return;
    }
    if (packed == AV_SAMPLE_FMT_FLT && planar) {
        std::vector<double> &sum = d->sums;
        sum.assign(size_t(n), 0.0);
        for (int c = 0; c < channels; ++c) {
            const float *in = reinterpret_cast<const float *>(f->extended_data[c]);
            for (qint64 i = 0; i < n; ++i)
                sum[size_t(i)] += in[i];
        }
        for (qint64 i = 0; i < n; ++i)
            out[i] = float(sum[size_t(i)] / channels);
        return;
    }
    for (qint64 i = 0; i < n; ++i) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += sampleAt(at(c, i), packed);
        out[i] = float(sum / channels);
    }
}

qint64 AudioDecoder::frames() const { return d->frames; }

qint64 AudioDecoder::countFrames()
{
    // The containers and codecs whose packets tell their length exactly once
    // the first frame shows where the audio starts (the delay dropped): the
    // last packet's end, less the padding the decoder drops from an MP3's
    // last frame (an Ogg granule or an MP4 edit list already ends the packet
    // there).
    const QLatin1StringView container(d->format->iformat->name);
    const AVCodecID codec = d->codec->codec_id;
    const bool mp3 = container == "mp3" && codec == AV_CODEC_ID_MP3;
    const bool told = mp3 || (container == "flac" && codec == AV_CODEC_ID_FLAC)
                      || (container.startsWith(QLatin1StringView("mov,")) && codec == AV_CODEC_ID_AAC)
                      || (container == "ogg" && (codec == AV_CODEC_ID_OPUS || codec == AV_CODEC_ID_VORBIS));
    if (!told || !next() || d->firstStart < 0) {
        while (next()) {
        }
        return d->decoded;
    }
    while (!d->flushed) {
        const int read = av_read_frame(d->format, d->packet);
        if (read < 0) {
            d->readFailed = read != AVERROR_EOF;
            break;
        }
        if (d->packet->stream_index == d->stream)
            d->notePacket(d->packet);
        av_packet_unref(d->packet);
    }
    d->ended = true;
    d->decoded = std::max<qint64>(0, d->packetEnd - (mp3 ? d->lastDiscard : 0) - d->firstStart);
    return d->decoded;
}

bool AudioDecoder::cutShort() const
{
    if (d->readFailed || d->packetCut)
        return true;
    // The header's length counts the delay and padding the decoder drops,
    // and a last packet the file may end inside.
    const qint64 stated = d->statedFrames();
    if (stated >= 0 && d->decoded + d->trimmed + d->longestPacket < stated)
        return true;
    if (std::strcmp(d->format->iformat->name, "ogg") == 0)
        return !oggEndsCleanly(FileByteSource(d->path));
    return false;
}
