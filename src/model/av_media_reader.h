#pragma once
// Facts and the first picture of a video or audio file, read with the FFmpeg
// libraries. The work is bounded so that a damaged or hostile file can
// neither hang nor exhaust the caller: a deadline checked by the demuxer's
// interrupt callback and between packets, a cap on packets read, a size check
// before any decoder is opened, and only plain local files in the container
// formats the players play (no playlists that would open other files).

#include <QImage>
#include <QString>

#include <chrono>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;

struct AvMediaFacts {
    QString dataFormat; // the coding as the contents lists show it ("MPEG-2", "H.264", "MP3", ...)
    int width = 0;      // video only
    int height = 0;
    qint64 durationUs = 0; // microseconds; 0 when the file does not tell
};

struct AvProbeLimits {
    std::chrono::milliseconds timeLimit{15000}; // for open, stream analysis and the first picture together
    int maxPackets = 3000;                      // packets read while looking for the first picture
};

class AvMediaReader {
public:
    enum class Kind { Video, Audio };

    explicit AvMediaReader(AvProbeLimits limits = {});
    ~AvMediaReader();
    AvMediaReader(const AvMediaReader &) = delete;
    AvMediaReader &operator=(const AvMediaReader &) = delete;

    // Opens the file and finds its best stream of the kind. A MediaProbeResult;
    // on MEDIA_PROBE_OK facts() are filled.
    int open(const QString &path, Kind kind);
    const AvMediaFacts &facts() const { return m_facts; }

    // Decodes the first picture of the video stream and scales it to the large
    // thumbnail size. A MediaProbeResult.
    int grabFirstPicture(QImage &picture);

    // Whether the file holds what its header states; MEDIA_PROBE_DAMAGED for a
    // file cut short, and for a file without a single frame of its stream. An
    // ASF header states the file's size, a WAV header its data's size; MPEG
    // program stream packs and packets state their lengths, and a transport
    // stream is made of whole packets. An MP3 file with a frame count states
    // its play length: its last packets are read and their end compared with
    // it. Call it last: it leaves the file read to its end.
    int checkStatedLength();

private:
    static int interruptCallback(void *opaque);
    bool expired() const;
    int openDecoder();
    int receivePicture(AVFrame *frame, QImage &picture);
    int convertFrame(const AVFrame *frame, QImage &picture) const;
    int failureFor(int averror) const;
    qint64 lastPacketEndUs();
    bool readStreamPacket();

    AvProbeLimits m_limits;
    QString m_path;
    std::chrono::steady_clock::time_point m_deadline;
    AVFormatContext *m_format = nullptr;
    AVCodecContext *m_decoder = nullptr;
    int m_streamIndex = -1;
    bool m_sawPacket = false; // a packet of the stream has been read
    AvMediaFacts m_facts;
};
