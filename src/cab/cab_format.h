#pragma once
// The on-disk layout of a Microsoft Cabinet file: sizes, limits, flag values,
// little-endian field access, the data block checksum and the FAT date and
// time stamps that members carry.
//
// A cabinet is a CFHEADER (36 bytes, optionally followed by reserved areas and
// the names of neighbouring cabinets), cFolders CFFOLDER entries, cFiles CFFILE
// entries (16 bytes plus a NUL-terminated name) and, for every folder, a run of
// CFDATA blocks (8-byte header plus the block's bytes). A folder is one
// compressed stream; files are byte ranges inside their folder's stream.

#include <QByteArrayView>
#include <QDateTime>
#include <QtGlobal>

namespace cab {

constexpr char kSignature[4] = {'M', 'S', 'C', 'F'};
constexpr quint8 kVersionMinor = 3;
constexpr quint8 kVersionMajor = 1;

constexpr int kHeaderSize = 36;       // CFHEADER without reserved areas
constexpr int kFolderEntrySize = 8;   // CFFOLDER without reserved area
constexpr int kFileEntrySize = 16;    // CFFILE without its name
constexpr int kDataHeaderSize = 8;    // CFDATA without reserved area

// Field offsets inside CFHEADER.
constexpr int kHeaderCabinetSize = 8;
constexpr int kHeaderFilesOffset = 16;
constexpr int kHeaderVersionMinor = 24;
constexpr int kHeaderVersionMajor = 25;
constexpr int kHeaderFolderCount = 26;
constexpr int kHeaderFileCount = 28;
constexpr int kHeaderFlags = 30;

// CFHEADER flags.
constexpr quint16 kFlagPreviousCabinet = 0x0001;
constexpr quint16 kFlagNextCabinet = 0x0002;
constexpr quint16 kFlagReservePresent = 0x0004;

// CFFOLDER compression types (low four bits of typeCompress).
constexpr quint16 kCompressNone = 0;
constexpr quint16 kCompressMsZip = 1;
constexpr quint16 kCompressTypeMask = 0x000F;

// CFFILE iFolder values that mark a file continued across cabinets.
constexpr quint16 kFolderContinuedFirst = 0xFFFD;

// CFFILE attributes.
constexpr quint16 kAttribReadOnly = 0x01;
constexpr quint16 kAttribArchive = 0x20;
constexpr quint16 kAttribNameIsUtf8 = 0x80;

// One data block holds at most 32 KiB of uncompressed bytes; its compressed
// form may be a little larger than that (incompressible input).
constexpr int kBlockSize = 32768;
constexpr int kMaxCompressedBlock = kBlockSize + 6144;
// A folder holds at most 65535 blocks, so at most this many uncompressed bytes;
// a file's offset and length inside its folder stay within it too.
constexpr int kMaxBlocksPerFolder = 65535;
constexpr qint64 kMaxFolderBytes = qint64(kBlockSize) * kMaxBlocksPerFolder;
constexpr int kMaxFiles = 65535;
// A name is at most 255 bytes before its terminating NUL.
constexpr int kMaxNameBytes = 255;
// The whole cabinet's size is a 32-bit field.
constexpr qint64 kMaxCabinetBytes = 0xFFFFFFFFLL;

// MSZIP blocks start with these two bytes before the raw deflate data.
constexpr char kMsZipSignature[2] = {'C', 'K'};

inline quint16 ReadLe16(const char *p)
{
    const auto *u = reinterpret_cast<const quint8 *>(p);
    return quint16(u[0] | (u[1] << 8));
}

inline quint32 ReadLe32(const char *p)
{
    const auto *u = reinterpret_cast<const quint8 *>(p);
    return quint32(u[0]) | (quint32(u[1]) << 8) | (quint32(u[2]) << 16) | (quint32(u[3]) << 24);
}

inline void WriteLe16(char *p, quint16 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

inline void WriteLe32(char *p, quint32 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
    p[2] = char((v >> 16) & 0xFF);
    p[3] = char(v >> 24);
}

// The CFDATA checksum step: XOR of the bytes taken as little-endian 32-bit
// words, the trailing one to three bytes folded in with the first byte highest.
quint32 Checksum(QByteArrayView data, quint32 seed);

// The checksum stored in a CFDATA header: the block's bytes first, then the
// cbData and cbUncomp fields seeded with that result.
quint32 DataBlockChecksum(QByteArrayView block, quint16 uncompressedSize);

// A FAT date and time pair as CFFILE stores them.
struct DosDateTime {
    quint16 date = 0;
    quint16 time = 0;
};

// Local time to the FAT fields (two-second resolution). Times before 1980 are
// stored as 1980-01-01 00:00:00, times after 2107 as 2107-12-31 23:59:58.
DosDateTime ToDosDateTime(const QDateTime &local);
// The FAT fields as local time; an invalid QDateTime when the fields do not
// name a real date and time.
QDateTime FromDosDateTime(DosDateTime stamp);

} // namespace cab
