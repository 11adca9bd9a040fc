#pragma once
// The telop text file: the header, palette and styled text runs of a telop as
// TAB-separated records ending in CR LF, stored as UTF-16LE behind the
// byte-order mark FF FE (docs/file-formats.md, "Telop text file"). Also the
// reading of plain text files for import, and the staging of a telop's two
// files so that a telop whose record cannot be stored leaves no files behind.

#include "core/win_types.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

class CTelopTextDoc;

// Palette entry 0 is the background, entry 1 the text colour.
using TelopPalette = std::array<ColorRef, 16>;
TelopPalette DefaultTelopPalette();

// The colours a telop uses: 2 for a depth of 1 bit per pixel, else 16.
constexpr int TelopPaletteCount(int depth) { return depth == 1 ? 2 : 16; }
// The index of the first of the first count entries equal to the colour, else
// 1 (the text colour).
int TelopPaletteIndex(const TelopPalette &palette, ColorRef color, int count);

// The header, palette and text-run records of the text. A surrogate pair is
// never split between two runs. 0 when a run cannot be read.
int FormatTelopRecords(const CTelopTextDoc &doc, int depth, const TelopPalette &palette, QString &records);

// Loads records into the (cleared) text, the depth and the palette; a leading
// byte-order mark is skipped. Reading stops at the first malformed record of a
// known type with 0, keeping what was read; an unknown type is skipped. The
// face and size of the first run become the text's font. A lone CR or LF left
// by a damaged file becomes a whole line break.
int ParseTelopRecords(const QString &records, CTelopTextDoc &doc, int &depth, TelopPalette &palette);

// FF FE and the characters in UTF-16LE, no terminating zero.
QByteArray EncodeTelopTextFile(const QString &records);
// The characters of a UTF-16LE file, without its byte-order mark.
QString DecodeTelopTextFile(const QByteArray &bytes);

// A stored telop text file is a few kilobytes; anything past this is not one.
constexpr qint64 kMaxTelopTextFileBytes = 4 * 1024 * 1024;
// Reads and decodes a telop text file; false with the last error set when it
// cannot be read or is larger than kMaxTelopTextFileBytes (13).
bool ReadTelopTextFile(const QString &path, QString &records);

// Plain text for the editor is read up to this many bytes (the editor holds
// far fewer characters); the rest is left out with a log line.
constexpr qint64 kMaxImportTextBytes = 1024 * 1024;
// Reads a plain text file as what it is, and makes its line breaks CR LF:
// UTF-16 (LE or BE) or UTF-8 behind its byte-order mark; else UTF-8 when the
// bytes are valid UTF-8 (plain ASCII is); else the locale's encoding; else the
// Japanese Windows code page. False with the last error set when it cannot be
// read, and with 13 (ERROR_INVALID_DATA) when it is text in none of them; an
// empty file reads as an empty text.
bool ReadImportTextFile(const QString &path, QString &text);
// The encoding of the process's locale ("UTF-8", "EUC-JP" ...).
QByteArray LocaleTextEncoding();
// The decoding of ReadImportTextFile on bytes already read; whole is false for
// the start of a longer file, which may end inside a character. Nothing when
// no encoding reads the bytes cleanly.
std::optional<QString> DecodeImportText(const QByteArray &bytes, bool whole = true,
                                        const QByteArray &localeEncoding = LocaleTextEncoding());
// CR LF, a lone CR and a lone LF all become CR LF.
QString NormalizeLineBreaks(const QString &text);

// Writes a whole file through a temporary file renamed over the old one.
bool WriteBinaryFile(const QString &path, const QByteArray &bytes);
bool WriteTextFile(const QString &path, const QString &records);

// The two files of one telop, written first under staging names beside their
// final ones and put in place only once the telop's record is stored. A stage
// that is neither committed nor discarded is discarded when it is destroyed.
class CTelopFileStage {
public:
    CTelopFileStage() = default;
    CTelopFileStage(const CTelopFileStage &) = delete;
    CTelopFileStage &operator=(const CTelopFileStage &) = delete;
    ~CTelopFileStage();

    // Writes both files of the content number in the folder under their staging
    // names. False (nothing left staged) when a name cannot be made or a write fails.
    bool Stage(const QString &folder, qint64 number, const QByteArray &bitmap, const QString &records);
    bool IsStaged() const { return !m_textPath.isEmpty(); }
    // Renames both staged files over the final ones; false (last error set)
    // when a rename fails, the staged files are then removed.
    bool Commit();
    // Removes the staged files.
    void Discard();

    static QString StagingPath(const QString &finalPath);

private:
    QString m_textPath;
    QString m_bitmapPath;
};
