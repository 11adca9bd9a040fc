#pragma once
// How contents and command failures are named on the player's side: the
// play, delete and stop codes of each content kind, the commands that remove
// a schedule or playlist with its tables, the outcome pairs (result, detail)
// of a failed command, and the PC's time-zone text shown beside the player's.

#include <QString>
#include <QtGlobal>

class CDlkRequestCommand;
class CPropertyBase;

// The codes of one content record in the player protocol; 0 means none.
struct ContentCodes {
    int play = 0;
    int remove = 0; // the table kind of the delete command
    int stop = 0;
};

// The codes of a content type (for a control content, of its control kind).
ContentCodes GetContentCodes(int contentType, int controlKind = 0);
// The codes of a record, its control kind read from a control record.
ContentCodes GetContentCodes(const CPropertyBase &record);

// Outcome of a player command: result 3 success, 4 not made, 8 failed with a
// detail, 9 stopped.
enum CommandResult : qint32 {
    COMMAND_RESULT_DONE = 3,
    COMMAND_RESULT_NOT_MADE = 4,
    COMMAND_RESULT_FAILED = 8,
    COMMAND_RESULT_STOPPED = 9,
};
constexpr qint32 kCommandDetailOther = 3000;

struct CommandOutcome {
    qint32 result = COMMAND_RESULT_DONE;
    qint32 detail = 0;
    friend bool operator==(const CommandOutcome &, const CommandOutcome &) = default;
};

// A request that could not be made or whose reply did not analyse.
CommandOutcome MapCommandSendError(quint32 error, const QString &playerName);
// A command whose exchange with the player failed (the client's last error).
CommandOutcome MapCommandError(quint32 error, const QString &playerName);
// A command the player refused with an SERR reply.
CommandOutcome MapCommandReply(int code, const QString &description, const QString &playerName);

// Appends the calendar-row deletion of a content number and, for a schedule
// or playlist number (middle part 51 or 52), the removal of its file and of
// its schedule sequences. False when a command cannot be made or added.
bool AddContentSendItems(CDlkRequestCommand &commands, qint32 number, int entryIndex);

// "GMT +hh:mm" east of Greenwich, "GMT -hh:mm" west, "GMT  00:00" on it, for
// an offset from UTC in seconds.
QString FormatTimeZone(int offsetSeconds);
// The same for the local time zone now (through the program's clock).
QString FormatTimeZone();
