#include "model/av_media_reader.h"

#include "model/little_endian.h"
#include "model/media_info.h"
#include "model/thumbnail_maker.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

namespace {

// Containers of the material files registered as video (".mpg", ".m2p",
// ".mp4", ".m4e", ".wmv") and as audio (".wav", ".mp3", ".wma"). Playlist and
// session formats are left out on purpose: they would open further files or
// network streams named inside the file.
constexpr const char *kVideoFormats = "mov,mpeg,mpegts,mpegvideo,m4v,asf";
constexpr const char *kAudioFormats = "wav,mp3,asf";

// Decoders run while the streams are analysed refuse pictures larger than this,
// so a forged frame size cannot make them allocate without bound; sizes up to
// it are still reported so that the probe can name them as unsupported.
constexpr const char *kAnalysisMaxPixels = "16777216";
constexpr int kDataFormatLength = 20;

struct PacketDeleter {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct FrameDeleter {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};

// The probe reports its own refusals; the libraries' notes on damaged input
// would only fill the console.
void QuietLibraryLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

QString DataFormatOf(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_MPEG1VIDEO: return QStringLiteral("MPEG-1");
    case AV_CODEC_ID_MPEG2VIDEO: return QStringLiteral("MPEG-2");
    case AV_CODEC_ID_MPEG4: return QStringLiteral("MPEG-4");
    case AV_CODEC_ID_H264: return QStringLiteral("H.264");
    case AV_CODEC_ID_HEVC: return QStringLiteral("H.265");
    case AV_CODEC_ID_WMV1: return QStringLiteral("WMV7");
    case AV_CODEC_ID_WMV2: return QStringLiteral("WMV8");
    case AV_CODEC_ID_WMV3: return QStringLiteral("WMV9");
    case AV_CODEC_ID_VC1: return QStringLiteral("VC-1");
    case AV_CODEC_ID_MP2: return QStringLiteral("MP2");
    case AV_CODEC_ID_MP3: return QStringLiteral("MP3");
    case AV_CODEC_ID_WMAV1:
    case AV_CODEC_ID_WMAV2: return QStringLiteral("WMA");
    case AV_CODEC_ID_WMAPRO: return QStringLiteral("WMA Pro");
    case AV_CODEC_ID_WMALOSSLESS: return QStringLiteral("WMA Lossless");
    case AV_CODEC_ID_AAC: return QStringLiteral("AAC");
    default: break;
    }
    const QString name = QString::fromLatin1(avcodec_get_name(id));
    if (name.startsWith(QLatin1String("pcm_")))
        return QStringLiteral("PCM");
    return name.toUpper().left(kDataFormatLength);
}

// How far from the end the last packets are looked for: past a trailing index
// of an hour's worth of seconds.
constexpr int64_t kTailBytes = 256 * 1024;
// How much shorter than its stated length a file may end: the streams of a
// file end a little apart, and the stated length is rounded.
constexpr qint64 kLengthToleranceUs = 300000;
constexpr qint64 kLengthToleranceShare = 50; // and 2 % of the length

quint64 ReadLittle64(const QByteArray &bytes, qsizetype at)
{
    quint64 value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The file size an ASF header states in its file properties object, or -1
// when it states none (a broadcast file, or no such object where expected).
qint64 AsfStatedFileSize(const QString &path)
{
    static const QByteArray headerObject = QByteArray::fromHex("3026b2758e66cf11a6d900aa0062ce6c");
    static const QByteArray propertiesObject = QByteArray::fromHex("a1dcab8c47a9cf118ee400c00c205365");
    constexpr qsizetype kHeaderObjectSize = 30;
    constexpr qsizetype kFileSizeAt = 40;
    constexpr qsizetype kFlagsAt = 88;
    constexpr qsizetype kPropertiesSize = 104;
    constexpr quint8 kBroadcastFlag = 0x01;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = file.read(64 * 1024);
    if (!head.startsWith(headerObject))
        return -1;
    qsizetype at = kHeaderObjectSize;
    while (at + 24 <= head.size()) {
        const quint64 objectSize = ReadLittle64(head, at + 16);
        if (head.mid(at, 16) == propertiesObject) {
            if (objectSize < quint64(kPropertiesSize) || at + kPropertiesSize > head.size()
                || (quint8(head.at(at + kFlagsAt)) & kBroadcastFlag))
                return -1;
            const quint64 stated = ReadLittle64(head, at + kFileSizeAt);
            return stated > quint64(std::numeric_limits<qint64>::max()) ? -1 : qint64(stated);
        }
        if (objectSize < 24 || objectSize > quint64(head.size()))
            return -1;
        at += qsizetype(objectSize);
    }
    return -1;
}

// Whether the data chunk of a WAV file holds the bytes its header states. The
// chunks are walked to "data"; a size of 0 or 0xFFFFFFFF is what a writer that
// could not go back leaves, and states nothing.
bool WavDataComplete(QFile &file)
{
    const qint64 size = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return true; // another kind of header: it cannot be told
    qint64 at = 12;
    while (at + 8 <= size) {
        if (!file.seek(at))
            return false;
        const QByteArray chunk = file.read(8);
        if (chunk.size() < 8)
            return false;
        const quint32 chunkSize = ReadLittle32(chunk, 4);
        if (chunk.startsWith("data"))
            return chunkSize == 0 || chunkSize == 0xFFFFFFFFu || at + 8 + qint64(chunkSize) <= size;
        at += 8 + qint64(chunkSize) + (chunkSize & 1);
    }
    return false;
}

// Whether the last packs of an MPEG program stream are whole. From the first
// pack start in the file's tail the packs and the packets in them are walked
// by the lengths their headers state; none may run past the end of the file.
bool ProgramStreamEndsWhole(QFile &file, qint64 tailBytes)
{
    const qint64 size = file.size();
    const qint64 from = std::max<qint64>(0, size - tailBytes);
    if (!file.seek(from))
        return true;
    const QByteArray tail = file.read(size - from);
    const auto *bytes = reinterpret_cast<const uchar *>(tail.constData());
    const qint64 end = tail.size();
    static const QByteArray packStart = QByteArray::fromHex("000001ba");
    qint64 at = tail.indexOf(packStart);
    if (at < 0)
        return true; // no pack in the tail: it cannot be told
    while (at + 4 <= end) {
        const bool startCode = bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 1;
        const uchar code = bytes[at + 3];
        if (startCode && code == 0xB9) { // program end
            at += 4;
        } else if (startCode && code == 0xBA && at + 5 <= end && (bytes[at + 4] & 0xC0) == 0x40) {
            if (at + 14 > end)
                return false; // an MPEG-2 pack header cut short
            at += 14 + (bytes[at + 13] & 0x07);
        } else if (startCode && code == 0xBA && at + 5 <= end && (bytes[at + 4] & 0xF0) == 0x20) {
            at += 12; // an MPEG-1 pack header
        } else if (startCode && code >= 0xBB) {
            if (at + 6 > end)
                return false;
            at += 6 + ((qint64(bytes[at + 4]) << 8) | bytes[at + 5]);
        } else {
            // Something else (stuffing, damage): go on from the next pack.
            at = tail.indexOf(packStart, at + 1);
            if (at < 0)
                return true;
        }
    }
    return at <= end;
}

// Whether a transport stream ends on a whole packet: its size is a whole
// number of packets of the size its sync bytes show (188, 192 or 204 bytes).
bool TransportStreamEndsWhole(QFile &file)
{
    const QByteArray head = file.read(4 * 204 + 4);
    for (const qsizetype packet : {188, 192, 204}) {
        const qsizetype sync = packet == 192 ? 4 : 0; // a time code comes first
        bool found = head.size() >= sync + 3 * packet;
        for (int i = 0; found && i < 3; ++i)
            found = head.at(sync + i * packet) == 0x47;
        if (found)
            return file.size() % packet == 0;
    }
    return true; // no packet size recognised: it cannot be told
}

// Whether a file of the container holds the bytes its headers state.
bool ContainerComplete(const QByteArray &format, const QString &path, qint64 tailBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (format == "wav")
        return WavDataComplete(file);
    if (format == "mpeg")
        return ProgramStreamEndsWhole(file, tailBytes);
    if (format == "mpegts")
        return TransportStreamEndsWhole(file);
    return true;
}

qint64 DurationUsOf(const AVFormatContext *format, const AVStream *stream)
{
    if (format->duration != AV_NOPTS_VALUE && format->duration > 0)
        return format->duration;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        return av_rescale_q(stream->duration, stream->time_base, AVRational{1, AV_TIME_BASE});
    return 0;
}

} // namespace

AvMediaReader::AvMediaReader(AvProbeLimits limits)
    : m_limits(limits)
{
    QuietLibraryLog();
}

AvMediaReader::~AvMediaReader()
{
    avcodec_free_context(&m_decoder);
    avformat_close_input(&m_format);
}

int AvMediaReader::interruptCallback(void *opaque)
{
    return static_cast<const AvMediaReader *>(opaque)->expired() ? 1 : 0;
}

bool AvMediaReader::expired() const
{
    return std::chrono::steady_clock::now() >= m_deadline;
}

int AvMediaReader::failureFor(int averror) const
{
    if (averror == AVERROR_EXIT || expired())
        return MEDIA_PROBE_LIMIT_REACHED;
    if (averror == AVERROR(ENOENT) || averror == AVERROR(EACCES) || averror == AVERROR(EISDIR))
        return MEDIA_PROBE_NOT_ACCESSIBLE;
    if (averror == AVERROR_DECODER_NOT_FOUND)
        return MEDIA_PROBE_NO_DECODER;
    return MEDIA_PROBE_NOT_SUPPORTED;
}

int AvMediaReader::open(const QString &path, Kind kind)
{
    m_path = path;
    m_deadline = std::chrono::steady_clock::now() + m_limits.timeLimit;
    m_format = avformat_alloc_context();
    if (!m_format)
        return MEDIA_PROBE_DAMAGED;
    m_format->interrupt_callback.callback = &AvMediaReader::interruptCallback;
    m_format->interrupt_callback.opaque = this;

    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", kind == Kind::Video ? kVideoFormats : kAudioFormats, 0);
    // "file:" keeps a name with a colon from being read as another protocol.
    const QByteArray url = QByteArrayLiteral("file:") + QFile::encodeName(path);
    int rc = avformat_open_input(&m_format, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (rc < 0)
        return failureFor(rc); // the context was freed by the failed open

    std::vector<AVDictionary *> streamOptions(m_format->nb_streams, nullptr);
    for (AVDictionary *&streamOption : streamOptions)
        av_dict_set(&streamOption, "max_pixels", kAnalysisMaxPixels, 0);
    rc = avformat_find_stream_info(m_format, streamOptions.data());
    for (AVDictionary *&streamOption : streamOptions)
        av_dict_free(&streamOption);
    if (rc < 0)
        return expired() ? MEDIA_PROBE_LIMIT_REACHED : MEDIA_PROBE_DAMAGED;

    const AVMediaType type = kind == Kind::Video ? AVMEDIA_TYPE_VIDEO : AVMEDIA_TYPE_AUDIO;
    const AVCodec *codec = nullptr;
    rc = av_find_best_stream(m_format, type, -1, -1, &codec, 0);
    if (rc == AVERROR_DECODER_NOT_FOUND)
        return MEDIA_PROBE_NO_DECODER;
    if (rc < 0)
        return MEDIA_PROBE_NOT_SUPPORTED;
    m_streamIndex = rc;
    const AVStream *stream = m_format->streams[m_streamIndex];
    // The cover picture of an audio file is no video.
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
        return MEDIA_PROBE_NOT_SUPPORTED;
    m_facts.dataFormat = DataFormatOf(stream->codecpar->codec_id);
    if (kind == Kind::Video) {
        m_facts.width = stream->codecpar->width;
        m_facts.height = stream->codecpar->height;
    }
    m_facts.durationUs = DurationUsOf(m_format, stream);
    return MEDIA_PROBE_OK;
}

int AvMediaReader::openDecoder()
{
    if (!m_format || m_streamIndex < 0)
        return MEDIA_PROBE_BAD_PARAMETER;
    const AVCodecParameters *parameters = m_format->streams[m_streamIndex]->codecpar;
    const AVCodec *codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        return MEDIA_PROBE_NO_DECODER;
    m_decoder = avcodec_alloc_context3(codec);
    if (!m_decoder || avcodec_parameters_to_context(m_decoder, parameters) < 0)
        return MEDIA_PROBE_DAMAGED;
    // Frame threads would hold back the first picture until several are queued.
    m_decoder->thread_type = FF_THREAD_SLICE;
    m_decoder->thread_count = 0;
    m_decoder->max_pixels = kMaxVideoPixels;
    if (avcodec_open2(m_decoder, codec, nullptr) < 0)
        return MEDIA_PROBE_NO_DECODER;
    return MEDIA_PROBE_OK;
}

int AvMediaReader::grabFirstPicture(QImage &picture)
{
    const int opened = openDecoder();
    if (opened != MEDIA_PROBE_OK)
        return opened;
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    if (!packet || !frame)
        return MEDIA_PROBE_DAMAGED;

    for (int packets = 0;; ++packets) {
        if (expired() || packets >= m_limits.maxPackets)
            return MEDIA_PROBE_LIMIT_REACHED;
        const int rc = av_read_frame(m_format, packet.get());
        if (rc < 0) {
            if (rc == AVERROR_EXIT || expired())
                return MEDIA_PROBE_LIMIT_REACHED;
            // End of the file (or of its readable part): take what the decoder still holds.
            avcodec_send_packet(m_decoder, nullptr);
            int drained = AVERROR(EAGAIN);
            while (drained == AVERROR(EAGAIN) && !expired())
                drained = receivePicture(frame.get(), picture);
            return drained == MEDIA_PROBE_OK ? MEDIA_PROBE_OK : MEDIA_PROBE_DAMAGED;
        }
        if (packet->stream_index != m_streamIndex) {
            av_packet_unref(packet.get());
            continue;
        }
        m_sawPacket = true;
        const int sent = avcodec_send_packet(m_decoder, packet.get());
        av_packet_unref(packet.get());
        if (sent < 0 && sent != AVERROR(EAGAIN))
            continue; // a damaged packet: the next one may decode
        const int received = receivePicture(frame.get(), picture);
        if (received != AVERROR(EAGAIN))
            return received;
    }
}

// MEDIA_PROBE_OK with the picture, AVERROR(EAGAIN) when the decoder needs more
// input (or dropped a damaged frame), or the reason the picture is refused.
int AvMediaReader::receivePicture(AVFrame *frame, QImage &picture)
{
    const int rc = avcodec_receive_frame(m_decoder, frame);
    if (rc < 0)
        return rc == AVERROR_EOF ? MEDIA_PROBE_DAMAGED : AVERROR(EAGAIN);
    // A picture pieced together by error concealment is no picture of the
    // file; a later whole one may still come.
    if (frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT)) {
        av_frame_unref(frame);
        return AVERROR(EAGAIN);
    }
    const int converted = convertFrame(frame, picture);
    av_frame_unref(frame);
    return converted;
}

int AvMediaReader::convertFrame(const AVFrame *frame, QImage &picture) const
{
    if (!IsVideoSizeAccepted(frame->width, frame->height))
        return MEDIA_PROBE_VIDEO_SIZE;
    if (frame->format < 0)
        return MEDIA_PROBE_DAMAGED;
    const QSize target = FitLargeThumbnailSize(frame->width, frame->height);
    SwsContext *scaler = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), target.width(),
                                        target.height(), AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr);
    if (!scaler)
        return MEDIA_PROBE_DAMAGED;
    QImage image(target, QImage::Format_RGB888);
    if (image.isNull()) {
        sws_freeContext(scaler);
        return MEDIA_PROBE_DAMAGED;
    }
    uint8_t *const destination[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    const int rows = sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, destination, destinationStride);
    sws_freeContext(scaler);
    if (rows <= 0)
        return MEDIA_PROBE_DAMAGED;
    picture = image;
    return MEDIA_PROBE_OK;
}

qint64 AvMediaReader::lastPacketEndUs()
{
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!packet)
        return -1;
    qint64 endUs = -1;
    while (!expired() && av_read_frame(m_format, packet.get()) >= 0) {
        const AVStream *stream = m_format->streams[packet->stream_index];
        const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (stamp != AV_NOPTS_VALUE) {
            const int64_t end = stamp + std::max<int64_t>(packet->duration, 0);
            endUs = std::max<qint64>(endUs, av_rescale_q(end, stream->time_base, AVRational{1, AV_TIME_BASE}));
        }
        av_packet_unref(packet.get());
    }
    return endUs;
}

// Reads on until a packet of the stream comes; false at the end of the file
// or a limit.
bool AvMediaReader::readStreamPacket()
{
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    for (int packets = 0; packet && !m_sawPacket && packets < m_limits.maxPackets && !expired(); ++packets) {
        if (av_read_frame(m_format, packet.get()) < 0)
            break;
        m_sawPacket = packet->stream_index == m_streamIndex;
        av_packet_unref(packet.get());
    }
    return m_sawPacket;
}

int AvMediaReader::checkStatedLength()
{
    if (!m_format)
        return MEDIA_PROBE_OK;
    // A file without a single frame of its stream plays nothing.
    if (!readStreamPacket())
        return expired() ? MEDIA_PROBE_LIMIT_REACHED : MEDIA_PROBE_DAMAGED;
    const int64_t size = avio_size(m_format->pb);
    const QByteArray format(m_format->iformat->name);
    if (!ContainerComplete(format, m_path, kTailBytes))
        return MEDIA_PROBE_DAMAGED;
    if (format == "asf")
        return AsfStatedFileSize(m_path) > size ? MEDIA_PROBE_DAMAGED : MEDIA_PROBE_OK;
    if (format != "mp3" || m_facts.durationUs <= 0)
        return MEDIA_PROBE_OK;
    if (size <= 0 || av_seek_frame(m_format, -1, std::max<int64_t>(0, size - kTailBytes),
                                   AVSEEK_FLAG_BYTE | AVSEEK_FLAG_ANY) < 0)
        return MEDIA_PROBE_OK; // it cannot be told
    const qint64 endUs = lastPacketEndUs();
    if (expired())
        return MEDIA_PROBE_LIMIT_REACHED;
    if (endUs < 0)
        return MEDIA_PROBE_OK;
    const qint64 startUs = m_format->start_time != AV_NOPTS_VALUE ? m_format->start_time : 0;
    const qint64 tolerance = kLengthToleranceUs + m_facts.durationUs / kLengthToleranceShare;
    return endUs - startUs + tolerance < m_facts.durationUs ? MEDIA_PROBE_DAMAGED : MEDIA_PROBE_OK;
}
