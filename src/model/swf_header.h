#pragma once
// The fixed header of a Flash movie: signature, version, stage size, frame
// rate and frame count. "FWS" movies store it plainly; "CWS" movies compress
// everything after the first eight bytes with zlib; "ZWS" (LZMA) movies are
// not read.

#include <QByteArray>

struct SwfHeader {
    char signature = 0;     // 'F' (plain) or 'C' (zlib)
    int version = 0;
    quint32 fileLength = 0; // the uncompressed length the header declares
    qint32 xMin = 0;        // stage rectangle in twips (1/20 pixel)
    qint32 xMax = 0;
    qint32 yMin = 0;
    qint32 yMax = 0;
    quint16 frameRate = 0;  // frames a second, 8.8 fixed point
    quint16 frameCount = 0;

    int widthPixels() const { return int((qint64(xMax) - xMin) / 20); }
    int heightPixels() const { return int((qint64(yMax) - yMin) / 20); }
};

// How many leading bytes of a file ParseSwfHeader wants at most: the eight
// plain bytes and enough of a compressed body to inflate the rest of the header.
constexpr int kSwfHeaderReadSize = 8 + 8192;

// Reads the header from the leading bytes of a file (any length; more than
// kSwfHeaderReadSize is not looked at). Returns a MediaProbeResult:
// MEDIA_PROBE_OK, MEDIA_PROBE_NOT_SUPPORTED for another signature or a "ZWS"
// movie, MEDIA_PROBE_DAMAGED when the bytes end early or do not inflate, or the
// stated length is shorter than the header.
int ParseSwfHeader(const QByteArray &head, SwfHeader &header);
