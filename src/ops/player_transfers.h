#pragma once
// The requests of the transfers that do not send contents and schedules:
// play and stop commands, deleting contents on a player, the player-side
// list masks, and the values of an interrupting playback.

#include <QList>
#include <QString>
#include <QtGlobal>

class CContentsList;
class CDlkRequestCommand;
class CDlkRequestSend;
class CPropertyBase;

// What the interrupt-playback choice gives a play: the length in seconds
// (0: until stopped; -1 not given), the telop position and the long-play flag.
struct PlayChoice {
    qint32 playSeconds = -1;
    qint32 telopPosition = -1;
    qint32 longPlay = -1;
    qint32 repeat = -1;
};

// The play type of a content for a registration's play command: 1-6 for
// the media, telop and web types, 13 streaming, 16 picture-in-picture, 10
// playlist, 11 background-music list, 8 / 7 / 17 for control kinds 1, 2, 5
// (15 for kind 1 on COM2); 0 for anything else.
int ContentPlayType(const CPropertyBase &record, bool com2);

// The play parameters of a registration that plays the content at its end:
// picture-in-picture plays in mode 1.
bool SetPlayParameters(CDlkRequestSend &request, int playType, qint32 index, int contentType,
                       const PlayChoice &choice);

// Appends the play command of a content the player holds (PLCL, or PLPL for
// playlists); false (logged) for a type or control kind without one.
bool AddRemotePlayCommand(CDlkRequestCommand &commands, const CPropertyBase &record, bool com2,
                          const PlayChoice &choice);

// Appends the stop command of a content type: SPPL for playlists and
// background-music lists, else SPCL with the type's stop code.
bool AddStopCommand(CDlkRequestCommand &commands, int type);

// Appends the commands that delete contents of a type from a player (the
// player-side list tells which are there): for a playlist its file and its
// sequence files, the content's table row (all but schedules), and for a
// schedule the removal of its calendar row and tables. Returns the number of commands,
// -1 when one cannot be made.
int AddRemoteDeleteCommands(CDlkRequestCommand &commands, CContentsList &remoteList, int type,
                            const QList<qint32> &indexes);

// The list mask of the player-side lists of a content type.
quint16 RemoteListMask(int type);

class CSendInfoBuilder;

// Whether every sequence of a stored playlist is on the background layer.
bool IsBackgroundOnly(const QString &playlistFolder, qint32 playlistIndex);
// The schedule that plays a playlist all day as the user screen saver
// (schedule 0, written into the group's schedule folder) and its calendar
// row 0 from today for good, queued through the builder.
bool AddScreenSaverSchedule(CSendInfoBuilder &builder, const QString &scheduleFolder, qint32 playlistIndex);
// The calendar row delete and the schedule file delete of the screen saver.
bool AddScreenSaverRemoval(CDlkRequestCommand &commands);
