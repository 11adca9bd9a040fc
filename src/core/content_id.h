#pragma once
// Content numbers and the table names built from them. A content number has
// nine decimal digits: one type digit, two digits of kind and six digits of
// serial (serials from 999000 on mark sample data). File names and player
// tables carry it zero-padded to nine digits.

#include <QString>
#include <QtGlobal>

constexpr int kMaxContentId = 999999999;
// Touch-panel playlists use the content numbers from here on.
constexpr qint32 kTouchPanelIndexBase = 999000000;

// True for the numbers that have the nine-digit form (0 to 999999999).
bool IsValidContentId(qint64 number);

// "%09d": nine zero-padded digits; a longer number keeps all its digits.
QString FormatContentId(qint64 number);
// Exactly nine digits: zero-padded, the rightmost nine of a longer number
// (a negative number is formatted by its magnitude).
QString FormatContentIdFixed(qint64 number);

// (typePart x 100 + subNumber) x 1000000 + serial. -1 with last error 87 when
// a part does not fit its digits (0-9, 0-99, 0-999999).
int MakeContentId(int typePart, int subNumber, int serial);
// The sub-numbers of the sequence files of a schedule's tracks, in the order
// their files go.
inline constexpr int kScheduleSequenceKinds[] = {12, 14, 20, 22};
// The same for a playlist's layers and a background-music list's one layer.
inline constexpr int kPlaylistSequenceKinds[] = {1, 2, 11, 3, 6, 5, 7, 9, 24, 23};
inline constexpr int kBgmSequenceKinds[] = {21};
// The first digit, the two-digit middle part and the six-digit serial of a
// number; each output may be null. False with last error 87 (outputs
// untouched) when the number does not have the nine-digit form.
bool SplitContentId(qint64 number, int *typePart, int *subNumber, int *serial);
// The first digit of a number, the id prefix of the files saved under it; 0
// for a number without the nine-digit form.
int ContentIdPrefix(qint64 number);

// "PL", "SC" or "SQ", the nine-digit number and "_TBL". An empty text with
// last error 87 when the number does not have the nine-digit form.
QString MakePlaylistTableName(qint64 number);
QString MakeScheduleTableName(qint64 number);
QString MakeSequenceTableName(qint64 number);

// The number in "PL<digits>_TBL" / "SC<digits>_TBL" (one to nine digits);
// -1 with last error 13 when the text has another form.
int ParsePlaylistTableName(const QString &name);
int ParseScheduleTableName(const QString &name);
