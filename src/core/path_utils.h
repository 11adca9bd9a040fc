#pragma once
// Local paths and file names. Local paths join with "/". The checks also know
// the drive-letter and server-share forms that paths stored by older data and
// typed by operators may have, so both kinds pass through the same rules.

#include <QString>
#include <QStringList>

// "%s/%s" of a folder and a name.
QString JoinPath(const QString &folder, const QString &name);

// The folder joined with the nine-digit number. False with last error 87 (path
// untouched) when the folder is empty or the number does not have the
// nine-digit form.
bool MakeContentIdPath(const QString &folder, qint64 number, QString &path);
// "PL", "SC" or "SQ", the nine-digit number and ".xml" in the folder; false as
// above.
bool MakePlaylistXmlPath(const QString &folder, qint64 number, QString &path);
bool MakeScheduleXmlPath(const QString &folder, qint64 number, QString &path);
bool MakeSequenceXmlPath(const QString &folder, qint64 number, QString &path);

// The two files of a telop: its text records and its rendered bitmap.
enum TelopFileKind : int {
    TELOP_FILE_BITMAP = 0, // ".bmp"
    TELOP_FILE_TEXT = 1,   // ".txt"
};
// The folder, the nine-digit number and ".txt" or ".bmp"; false as above, and
// for a kind other than the two.
bool MakeTelopFilePath(const QString &folder, qint64 number, int kind, QString &path);

// A drive letter and colon, a leading double backslash, or a leading "/".
bool IsAbsolutePath(const QString &text);
// Begins with "http://" or "https://" (letters in any case).
bool IsHttpUrl(const QString &text);
// An optional drive prefix (a letter and a colon), then no colon, asterisk,
// question mark, double quote, less-than, greater-than or vertical bar; "/"
// and "\" are separators. An empty path is no folder path.
bool IsValidFolderPath(const QString &path);

// The path without one trailing "/" or "\", if it has one.
QString WithoutTrailingSeparator(const QString &path);

// Splits a path into its drive ("C:" or empty), its folder (up to and with the
// last "/" or "\"), its title and its extension (from the last "." of the name,
// with the point). Each output may be null. False with last error 87 for an
// empty path.
bool SplitPath(const QString &path, QString *drive, QString *folder, QString *title, QString *extension);

// True when the name without its folder is not empty and holds only ASCII
// letters, digits, "-", "." and "_".
bool IsPortableFileName(const QString &name);

// Content type codes that only file-name checks give.
enum : int {
    CONTENT_TYPE_WEB_NOT_PORTABLE = 100, // a web page whose name is not portable
    CONTENT_TYPE_ANIMATION = 101,        // ".dscc" animation file
};
// The content type by the extension, in any case: ".mpg", ".m2p", ".mp4",
// ".m4e", ".sdp", ".wmv" 1; ".bmp", ".jpg" 2; ".swf" 5; ".wav", ".mp3", ".wma"
// 6; ".htm", ".html" (the web pages) 4, or 100 when the name is not portable;
// ".dscc" 101; anything else 0.
int GetContentTypeFromFileName(const QString &path);
// The extensions (".mp4" ...) GetContentTypeFromFileName gives a type, in
// the order it tries them.
QStringList ExtensionsOfContentType(int type);
