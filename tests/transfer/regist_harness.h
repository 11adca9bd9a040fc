#pragma once
// Registration jobs as the main window runs them: a content library on disk
// (content, text, playlist and schedule folders with their files), send
// requests filled from it, and emulated players on 127.0.0.2, .3, ... with a
// player list, a transfer status document and a transfer manager whose
// workers they are. Used by the registration tests and the send benchmark.

#include "core/win_types.h"
#include "model/harl_player_xml.h"
#include "support/emulated_player.h"
#include "transfer/transfer_status_xml.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CDlkRequestList;
class CDlkRequestSend;
class CDlkTransfer;
class CDlkTransferManager;
class CPropertyBase;
class CSystemIni;

// Content numbers of the full content set.
namespace RegistSet {
constexpr qint32 kMovie = 101000001;
constexpr qint32 kStill = 201000001;
constexpr qint32 kTelopBitmap = 301000001;
constexpr qint32 kTelopText = 301000002;
constexpr qint32 kWebPage = 401000001;
constexpr qint32 kWebAddress = 401000002;
constexpr qint32 kFlash = 501000001;
constexpr qint32 kAudio = 601000001;
constexpr qint32 kControl = 701000001;
constexpr qint32 kStreaming = 801000001;
constexpr qint32 kPinP = 910000001;
constexpr qint32 kPlaylist = 520000042;
constexpr qint32 kPlaylistSequence = 501000042; // layer 1 of the playlist
constexpr qint32 kSchedule = 510900001;
constexpr qint32 kScheduleSequence = 512900001; // layer 12 of the schedule
constexpr qint32 kCalendar = 7;
} // namespace RegistSet

class RegistLibrary {
public:
    explicit RegistLibrary(const QString &root);

    // The content folder of types 1, 2, 4, 5 and 6; the text folder for 3.
    QString folder(int type) const;
    QString playlistFolder() const { return m_root + QStringLiteral("/Playlist"); }
    QString sequenceFolder() const { return m_root + QStringLiteral("/Playlist/Sequence"); }
    QString scheduleFolder() const { return m_root + QStringLiteral("/Group/Schedule"); }
    QString scheduleSequenceFolder() const { return m_root + QStringLiteral("/Group/Schedule/Sequence"); }

    // Writes a file (creating its folder) with a given write time.
    static bool writeFile(const QString &path, const QByteArray &data, const QDateTime &writeTime);
    // Bytes that differ per seed.
    static QByteArray makeData(qint64 size, quint32 seed);

    // A record of a media content (types 1, 2, 5, 6) whose file of the given
    // bytes is written into the type's folder.
    std::unique_ptr<CPropertyBase> media(int type, qint32 number, const QString &fileName, const QByteArray &data,
                                         const SystemTime &edited,
                                         const QDateTime &written = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 15, 250)));
    // Gives the request every PC folder it reads from.
    void setFolders(CDlkRequestSend &request) const;
    // Queues a content of every type with its files: movie, still, telop with
    // and without bitmap, local web page (with sub-folders, a file and a
    // folder of names the player cannot store, and a link out of the page's
    // folder), web address, Flash, audio, control, streaming,
    // picture-in-picture, a playlist and a schedule with their sequences, and
    // a calendar row playing the schedule.
    bool addEveryType(CDlkRequestSend &request, const SystemTime &edited);
    QByteArray movieData() const { return m_movieData; }
    QString outsideFile() const { return m_root + QStringLiteral("/outside/secret.txt"); }

private:
    bool addMedia(CDlkRequestSend &request, int type, qint32 number, const QString &fileName, qint64 size,
                  const SystemTime &edited);
    bool addTelops(CDlkRequestSend &request, const SystemTime &edited);
    bool addWebContents(CDlkRequestSend &request, const SystemTime &edited);
    bool addRecordsWithoutFiles(CDlkRequestSend &request, const SystemTime &edited);
    bool addTimetables(CDlkRequestSend &request, const SystemTime &edited);

    QString m_root;
    QByteArray m_movieData;
};

// Where a player is served.
struct RegistEndpoint {
    QString address;
    quint16 port = 0;
};

// Emulated players with their records and the manager that sends to them.
class RegistPlayers {
public:
    // count emulated players of its own, named "Shop1", ... numbered 21, 22, ...
    RegistPlayers(const QString &root, int count);
    // Players served elsewhere (another process), named and numbered alike.
    RegistPlayers(const QString &root, const QList<RegistEndpoint> &endpoints);
    ~RegistPlayers();

    // Starts the emulated players of its own and makes the player list.
    bool start();
    int count() const { return int(m_endpoints.size()); }
    // An emulated player of its own.
    EmulatedPlayer &player(int i) { return *m_players[size_t(i)]; }
    qint32 number(int i) const { return 21 + i; }
    QString playerFolder(int i) const;
    CTransferStatusXml &status() { return m_status; }
    CHarlPlayerXml &playerList() { return m_playerList; }

    // System settings for the workers (null: the defaults).
    void setSettings(CSystemIni *settings) { m_settings = settings; }
    // The HTTP transfer time-out of the workers (0: the client's default).
    void setTransferTimeout(quint32 milliseconds) { m_transferTimeout = milliseconds; }
    // Registration files numbered with the send number (0: off).
    void setMultiSend(quint32 sendNumber) { m_sendNumber = sendNumber; }
    // Runs one transfer of the requests to every player through a new
    // manager, as the main window does, and waits (bounded by waitSeconds)
    // for its end. whileRunning, when given, runs on the calling thread once
    // the transfer started (a test may stop the manager there). False when
    // the transfer did not start or did not end in time.
    bool send(CDlkRequestList &requests, const RegistLibrary &library, bool append = true, int waitSeconds = 120,
              const std::function<void(CDlkTransferManager &)> &whileRunning = {});

private:
    QString m_root;
    QString m_dataFolder;
    std::vector<std::unique_ptr<EmulatedPlayer>> m_players;
    QList<RegistEndpoint> m_endpoints;
    CHarlPlayerXml m_playerList;
    CTransferStatusXml m_status;
    CSystemIni *m_settings = nullptr;
    quint32 m_transferTimeout = 0;
    quint32 m_sendNumber = 0;
};
