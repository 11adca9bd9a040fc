#pragma once
// What a registration job does with one queued entry: send its files (whole
// or the first one resumed by appending), only update its registration, or
// nothing; and under which file letter its files lie on the player. Files of
// a content alternate between the letters "A" and "B", so a new file never
// overwrites the one the player is showing.

#include <QChar>
#include <QString>

#include <limits>

enum SendFileFlag : quint32 {
    SEND_FILE_SEND = 0x1,        // send the entry's files
    SEND_FILE_UPDATE_ONLY = 0x2, // the files are on the player: update the registration
    SEND_FILE_APPEND = 0x4,      // resume the first file from the player's size
};

struct SendFileAttribute {
    quint32 flags = SEND_FILE_SEND;
    QChar letter = QLatin1Char('A');
    quint64 playerSize = 0; // the partial first file on the player, with SEND_FILE_APPEND
    quint64 heldSize = 0;   // the content's bytes the player holds already, when they are not sent
};

// The letter of the player's file in a player path: the first path component
// that is "A" or "B" followed by nine digits (and perhaps an extension), so a
// web page below its package folder ("/import/web/B101000001/index.html")
// gives the package folder's letter. A null character when there is none.
QChar FileLetterOfPlayerPath(const QString &path);
// "B" after "A", else "A".
QChar OtherFileLetter(QChar letter);

// a + b, held at the largest value instead of wrapping.
constexpr quint64 SaturatingAdd(quint64 a, quint64 b)
{
    return a > std::numeric_limits<quint64>::max() - b ? std::numeric_limits<quint64>::max() : a + b;
}
