#pragma once
// The worker of one player in a transfer job. On a thread of its own it checks
// that the player answers a ping (waking it by Wake-on-LAN when allowed),
// opens HTTP to it and carries out the job's requests in order: 1 command
// list, 2 configuration file, 3 list get, 4 log get, 5 contents registration,
// 6 firmware update, 7 status get. Every step leaves a (state, detail) pair in
// the worker and in the player's record of the transfer status document; the
// worker reports to its owner through notices.

#include "core/win_types.h"
#include "model/audio_list.h"
#include "model/audio_property.h"
#include "model/calendar_list.h"
#include "model/calendar_property.h"
#include "model/control_list.h"
#include "model/control_property.h"
#include "model/flash_list.h"
#include "model/flash_property.h"
#include "model/img_list.h"
#include "model/img_property.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/pin_p_list.h"
#include "model/pin_p_property.h"
#include "model/player_record.h"
#include "model/playlist_list.h"
#include "model/playlist_property.h"
#include "model/schedule_list.h"
#include "model/schedule_property.h"
#include "model/streaming_list.h"
#include "model/streaming_property.h"
#include "model/telop_list.h"
#include "model/telop_property.h"
#include "model/web_list.h"
#include "model/web_property.h"
#include "player/r40_http.h"
#include "transfer/dlk_ping.h"
#include "transfer/dlk_thread.h"
#include "transfer/dlk_transfer_worker.h"
#include "transfer/send_file_attribute.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class CDlkRequest;
class CDlkRequestCommand;
class CDlkRequestConfig;
class CDlkRequestLog;
class CDlkRequestRemoteList;
class CDlkRequestSend;
class CDlkRequestStatus;
class CDlkRequestUpdate;
class CR40Request;
class CR40TableQuery;
class CR40SystemCommand;
class CTimetableFile;

class CDlkTransfer : public IDlkTransferWorker {
public:
    static constexpr quint32 kJoinTimeoutMs = 60000;
    static constexpr quint32 kPingTimeoutMs = 3000;

    CDlkTransfer(CSystemIni *settings, CSettingIni *options);
    // Joins the job's thread (FinishTransfer).
    ~CDlkTransfer() override;
    CDlkTransfer(const CDlkTransfer &) = delete;
    CDlkTransfer &operator=(const CDlkTransfer &) = delete;

    // Configuration, before StartTransfer.
    bool EnableCallback(bool enable, DlkTransferNotify callback, void *context) override;
    void SetMultiSend(bool enable, quint32 sendNumber) override;
    bool SetDlkName(const QString &name) override;
    // Creates playerFolder with every missing folder above it.
    bool SetPcFolder(const QString &baseFolder, const QString &playerFolder) override;
    void SetContentFolder(int type, const QString &folder) override;
    bool GetContentFolder(int type, QString &folder) const;
    void SetPowerOn(bool enable) override;
    void SetStatusDocument(CTransferStatusXml *status, qint32 playerNumber) override;
    void SetPlayerTable(CHarlPlayerXml *players, const QString &playerFilePath) override;
    void SetDisplayLinkValues(CQ9DisplayXml *displays, std::mutex *lock) override;
    void SetAppendSend(bool enable) override;
    // The echo handle of each job; the ICMP echo unless a test puts in another.
    void SetPingFactory(DlkPingFactory factory);

    // Starts the job's thread; false (and not running) when it cannot run.
    bool StartTransfer(const QString &address, const QString &user, const QString &password, quint16 port,
                       quint32 reserved, CDlkRequestList *requests, int playerIndex) override;
    // Sets the stop flag and aborts the HTTP call in progress.
    void Stop() override;
    bool FinishTransfer() override;
    bool IsRunning() const override { return m_running.load(); }
    void SetEndSignal(std::function<void()> signal) override { m_endSignal = std::move(signal); }

    quint32 GetState() const override { return m_lastState; }
    quint32 GetDetail() const override { return m_lastDetail; }
    qint32 GetErrorIndex() const override { return m_lastErrorIndex; }

protected:
    // The operations below serve the job handlers of every request kind.

    // Keeps the pair with the current error index source and writes SendSts,
    // ErrorCode and ErrorIndex of this player's status record.
    void setTransferState(quint32 state, quint32 detail);
    // Calls the owner callback when one is set.
    qint32 notifyOwner(quint16 kind, quint32 low, quint32 high);
    // True (and the pair (9, 0)) when a stop was requested.
    bool checkStopRequest();

    // A copy of this player's record, looked up by its number. False when the
    // table no longer holds the player.
    bool getPlayerRecord(PlayerRecord &record);
    void logPlayerNotFound(const char *step) const;
    // Lets change rewrite this player's record under the player lock and saves
    // the player list when it did. False when the table no longer holds the
    // player, nothing changed or the list was not saved.
    bool updatePlayerRecord(const std::function<bool(PlayerRecord &)> &change);
    // Only a record whose status is 3 (configuration on its way) takes the
    // status and error code; the player list is saved then.
    void setPlayerRecordStatus(qint32 status, qint32 errorCode);

    // Counters of this player's status record (nothing without a document).
    void addSendFileCount(qint32 count);
    void addSendFileTotal(qint32 count);
    // The byte fields hold the whole job: ContFileSize the bytes of the files
    // it delivers (the files found before the first upload, grown by what each
    // entry adds), SendContFileSize how many of them the player holds so far.
    // A resumed upload counts the part the player kept as held, and a content
    // the player holds already counts whole, so a job that ends well shows its
    // whole files delivered, also when it finds them all in place (as a retry
    // pass does on a player an earlier pass served). held is part of total.
    void setJobBytesTotal(quint64 total, quint64 held);
    // Counts only while the files of one content are being uploaded: the
    // bytes the player acknowledged, and the kept part of a resumed file.
    void addSendContFileSize(quint64 size);
    // An entry of size bytes is done.
    void setSendContFileSize(quint64 size);
    // An entry of size bytes begins.
    void setContFileSize(quint64 size);

    // Outcome of a failed step, from the HTTP client's last error or the
    // request's own error.
    void setCommandError();
    void setSendFileError(const QString &localPath, const QString &remotePath);
    void setCommandSendError(quint32 requestError);
    void setCommandReplyError(int code, const QString &description);
    // PASS is success; SERR and a reply that could not be analysed set their
    // outcome and give false.
    bool checkReplyStatus(const CR40Request &request);

    // The twelve working lists the player's tables are fetched into.
    std::array<CContentsList *, 12> workingLists();
    // Empties the twelve working lists.
    void clearLists();

    CR40Http &httpClient() { return m_http; }
    // The number of the request entry being worked on; -1 for none.
    void setErrorIndexSource(qint32 index) { m_errorIndexSource = index; }

    // Send error lists: per player, the contents of types 1, 2, 3, 5 and 6
    // whose upload failed, each with the write time its local file had then
    // (the record's "ddate"). Kept in the player folder between jobs.
    // The list and file path of a type; false for a type without a list.
    bool getErrListInfo(int type, CContentsList *&list, QString &path);
    // Reads the five lists from their files; a missing or unreadable file
    // leaves its list empty.
    bool loadErrList();
    // After a failed upload: records the content with localFile's write time
    // and saves its list.
    void addErrList(const CPropertyBase &record, const QString &localFile);
    // After a successful send: drops the content from its list.
    void removeErrList(const CPropertyBase &record);
    // The write time kept for the entry at a position, at the millisecond
    // precision of the list file (0 for an entry without one); compare it
    // with storedFileTime of the local file's time.
    bool getErrFileDateTime(int type, CContentsList *list, int position, FileTime &time);
    // A file time cut to the precision an error list keeps.
    static FileTime storedFileTime(FileTime time);

    // Command steps, configuration and firmware update; list, log and status
    // retrieval.
    // SERR codes the jobs act on.
    static constexpr int kSerrNotFound = 110; // nothing to delete
    static constexpr int kSerrNoFile = 112;
    static constexpr int kSerrNoRows = 115;   // no such row, or the table is empty
    // One unit of work done: SendFileCount grows by 1, notices 6 and 3.
    void countUnitDone();
    // False (and the pair of a command that could not be built) unless built.
    bool commandBuilt(bool built, const CR40Request &command);
    // Sends a built command; true when the player answered PASS, else the
    // pair of the failed exchange or of the reply is set.
    bool exchangeCommand(CR40Request &command);
    // Sends a built command and checks its reply: "R40 Send Command : %s" and
    // on PASS "R40 Send Command OK" at logLevel; a failed exchange or a reply
    // other than PASS sets its pair.
    bool sendCommandChecked(CR40Request &command, int logLevel);
    // The same after a stop check, logged at the notice level.
    bool sendCommandStep(CR40Request &command);
    // "SYST": keeps the software version number and the date of the player's
    // configuration; with a record, copies the MAC address and serial into it.
    bool checkDlkVersion(PlayerRecord *record);
    bool sendDateTime(const SystemTime &utcTime);
    bool sendLoadConfig(int mode);
    // Logs the date of this player's setup file against the player's; the
    // file is always sent.
    bool checkUpdateConfigFile(const PlayerRecord &record);
    // Writes this player's send file (and display-link file) from its setup
    // and gives the HTTP password and port the setup holds.
    bool makeSendConfigFile(const PlayerRecord &record, QString &password, int &port);
    // The setup file sent: this player's own, or without a record the
    // network setup shared by every player.
    QString sendConfigFilePath(const PlayerRecord *record) const;
    void deleteSendConfigFile(const PlayerRecord *record);
    bool sendConfigFile(const PlayerRecord *record);
    bool transferPlayerConfig();
    bool transferNetworkConfig();
    // Saves the display-link document in this player's folder under its lock.
    bool makeDisplayLinkFile();
    // Uploads a file whole, logged as "PC(local) -> <remoteLabel>(remote)".
    bool uploadWhole(const QString &local, const QString &remote, const char *remoteLabel);
    // After a successful delete command: the deleted row leaves its list
    // file, and the deletion counts as one unit of work.
    void followDeletion(const CR40Request &command);
    void removePlayerListRow(int contentType, qint32 index);
    // Plays what a registration job asked for (nothing for play type 0).
    bool sendPlayCommand(const CDlkRequestSend *request);
    // The list file of a content type in the player folder ("VideoList.xml",
    // ..., "CalendarList.xml"); empty for a type without one.
    QString playerListPath(int contentType) const;
    // Takes the first bit of mask in fetch order, clears it and gives its
    // working list and file; 0 (and an empty mask) for a bit that names no list.
    quint16 getListInfo(quint16 &mask, CContentsList *&list, QString &path);
    bool sendGetCalendarList(CContentsList &list, bool count);
    bool sendGetContentsIndexList(quint16 bit, QList<qint32> &indexes);
    bool sendGetContentsList(quint16 bit, const QList<qint32> &indexes, CContentsList &list);
    // A fresh record of a fetched row: its control type, or the text format of a telop.
    static bool prepareRowRecord(CPropertyBase &record, qint32 ctrlType);
    // A movie, Flash or audio row's play time from its frame count.
    bool setRowPlayTime(CPropertyBase &record);
    // Sends a table query; SERR 115 (no rows) counts as an empty answer.
    bool sendTableQuery(CR40Request &command, bool &empty);
    // Every row of a playlist, schedule or calendar table into the list.
    bool fetchTableRows(int table, int flag, CContentsList &list);
    // The playlist or schedule file of a row, downloaded into the player folder.
    bool fetchTableFile(int table, qint32 number, CTimetableFile &file);
    // Logs "[name] : what" (with " : Index = %d" for index 0 or more), sets
    // (4, 1000) and gives false.
    bool failTableStep(const char *what, int index = -1);
    // Status get: the system reply and the disk space into the status
    // document; the reply against the player record.
    void writeSystemStatus(const CR40SystemCommand &system);
    bool readDiskStatus();
    bool matchesPlayerRecord(const CR40SystemCommand &system, const PlayerRecord &record, int versionNumber) const;
    bool sendGetPlaylistList(CContentsList &list, int flag);
    bool sendGetScheduleList(CContentsList &list);

    // Contents registration (request kind 5): the send decision per queued
    // entry, the disk check, the files on both sides, the registration files,
    // the uploads and "LTBL".
    bool makeSendFileAttributes(CDlkRequestSend *request, std::vector<SendFileAttribute> &attributes);
    bool makeContentsSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                        SendFileAttribute &attribute);
    // A playlist or schedule the player holds as it is leaves its sequences
    // in currentSequences.
    bool makePlaylistSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                        SendFileAttribute &attribute, QSet<qint32> &currentSequences);
    bool makeScheduleSendFileAttributes(CDlkRequestSend *request, const CPropertyBase &entry,
                                        SendFileAttribute &attribute, QSet<qint32> &currentSequences);
    bool decideTimetableEntry(CDlkRequestSend *request, const CPropertyBase &entry, int table, CPropertyBase &row,
                              CTimetableFile &file, SendFileAttribute &attribute, QSet<qint32> &currentSequences);
    bool decideFromPlayerRow(CDlkRequestSend *request, const CPropertyBase &entry, const CPropertyBase &row,
                             SendFileAttribute &attribute);
    void checkCalendarSchedule(CDlkRequestSend *request, int position, const CCalendarProperty &calendar);
    // Resumes the first file by appending when a failed upload of the
    // unchanged file left part of it on the player.
    bool checkAppend(CDlkRequestSend *request, const CPropertyBase &entry, SendFileAttribute &attribute);
    bool queryPlayerFileSize(const QString &remoteFile, quint64 &size, bool &exists);
    // A row query built (or not) and sent; SERR 115 gives empty.
    bool sendRowQuery(CR40TableQuery &query, bool built, bool &empty);
    // The bytes to send to each area (less what resumed uploads find on the
    // player), the whole size of the files the job delivers, and how many of
    // them the player holds already.
    bool addSendFileTotals(CDlkRequestSend *request, const std::vector<SendFileAttribute> &attributes,
                           quint64 &total, quint64 &totalAV, quint64 &whole, quint64 &held);
    static void addFileSize(int type, bool firstContentFile, quint64 size, const SendFileAttribute &attribute,
                            quint64 &total, quint64 &totalAV);
    // (5, 3002) or (6, 3001) when the bytes to send and their margin do not fit.
    bool checkDisk(quint64 total, quint64 totalAV);
    bool readLocalFileTime(const QString &path, FileTime &time);
    bool hasLocalFiles(CDlkRequestSend *request, const CPropertyBase &entry) const;
    static bool hasLocalFilesOfItsOwn(const CPropertyBase &entry);
    CPropertyBase *workingRecord(int type);
    const CPropertyBase *registEntry(CDlkRequestSend *request, int position, const char *step);
    void addCheckFileCount(qint32 count);
    // Local paths and player paths of an entry's files, in the same order.
    bool getSendLocalFilename(CDlkRequestSend *request, const CPropertyBase &entry, QStringList &files);
    bool getSendRemoteFilename(CDlkRequestSend *request, const CPropertyBase &entry, const QStringList &localFiles,
                               QChar letter, QStringList &remoteFiles);
    // Both, checked to pair up.
    bool getSendFiles(CDlkRequestSend *request, const CPropertyBase &entry, QChar letter, QStringList &localFiles,
                      QStringList &remoteFiles);
    static QString &appendedPath(QStringList &files);
    bool addContentFolderFile(int type, const QString &fileName, QStringList &files);
    bool addTelopFiles(CDlkRequestSend *request, const CTelopProperty &entry, QStringList &files);
    bool addPlaylistFile(CDlkRequestSend *request, qint32 number, QStringList &files);
    bool addSequenceFile(CDlkRequestSend *request, qint32 number, QStringList &files);
    QString webPagePath(CDlkRequestSend *request, const CWebProperty &entry) const;
    bool addWebPageFiles(CDlkRequestSend *request, const CWebProperty &entry, QStringList &files);
    void addWebRemoteFiles(const QString &page, const QStringList &localFiles, QChar letter, qint32 number,
                           QStringList &remoteFiles);
    // "Calendar.xml", "property.xml", "group.xml" or with multi-send the
    // send number before ".xml".
    QString registFileName(const char *stem) const;
    bool makeCalendarFile(CDlkRequestSend *request, int position);
    // Writes the entry's property or group file and appends the registration
    // files to both lists; the remote group file becomes the one "LTBL" loads.
    bool makeRegistXml(const CPropertyBase &entry, QStringList &localFiles, QStringList &remoteFiles, bool updateOnly);
    bool writePropertyFile(const CPropertyBase &entry, const QString &link, bool updateOnly, const SystemTime &now);
    // Removes the registration files of the send from the player folder.
    void removeRegistFiles();
    bool sendContentsFile(CDlkRequestSend *request, const std::vector<SendFileAttribute> &attributes);
    bool sendEntry(CDlkRequestSend *request, int position, const CPropertyBase &entry,
                   const SendFileAttribute &attribute);
    static void stampDeliveredFile(CPropertyBase &record, const QString &firstContentFile);
    bool checkEntryDisk(const CPropertyBase &record, const SendFileAttribute &attribute,
                        const QStringList &localFiles, int contentFiles, quint64 &entryBytes);
    bool uploadEntryFiles(const CPropertyBase &record, const SendFileAttribute &attribute,
                          const QStringList &localFiles, const QStringList &remoteFiles, int contentFiles);
    bool makeWebRemoteFolders(const QStringList &remoteFiles);
    bool uploadFiles(const SendFileAttribute &attribute, const QStringList &localFiles, const QStringList &remoteFiles,
                     int contentFiles);
    bool sendLoadTable();
    void recordSentEntry(CDlkRequestSend *request, const CPropertyBase &record);
    // The player's list of a content type as this job keeps it: its file is
    // read once; null when there is none or the file does not read (it is
    // then left as it is).
    CContentsList *sentList(int contentType);
    // Writes the lists the job changed to their files.
    void saveSentLists();
    bool refreshCalendarList();
    // The player's lists of the running registration job by content type,
    // each with whether the job changed it.
    struct SentList {
        std::unique_ptr<CContentsList> list;
        bool changed = false;
    };
    std::map<int, SentList> m_sentLists;

private:
    void threadProc();
    void transfer();
    bool checkPlayerAnswers();
    bool wakePlayer();
    bool openHttp();
    bool runRequests();
    bool runRequest(CDlkRequest *request);
    void closeHttp(bool result);
    // A failure on the way to the player: the pair, the record's status and
    // the end notice.
    void endOnTheWay(quint32 state, quint32 detail);
    bool powerOnAllowed() const;
    void resetRunState();

    static void onHttpProgress(void *context, int kind, quint64 amount);

    // The job handlers, one per request kind.
    bool transferCommand(CDlkRequestCommand *request);
    bool transferConfig(CDlkRequestConfig *request);
    bool transferGetList(CDlkRequestRemoteList *request);
    bool transferGetLog(CDlkRequestLog *request);
    bool transferRegist(CDlkRequestSend *request);
    bool transferUpdate(CDlkRequestUpdate *request);
    bool transferGetStatus(CDlkRequestStatus *request);

    DlkTransferNotify m_callback = nullptr;
    void *m_callbackContext = nullptr;
    std::unique_ptr<CDlkThread> m_thread;
    QString m_name;
    QString m_address;
    QString m_user;
    QString m_password;
    quint16 m_port = quint16(-1);
    quint64 m_bytesSent = 0;
    quint64 m_bytesReceived = 0;
    QString m_registFileName = QStringLiteral("Calendar.xml");

    // Working lists and records: the player's tables are fetched into them.
    CMovieList m_movieList;
    CImgList m_imgList;
    CTelopList m_telopList;
    CWebList m_webList;
    CFlashList m_flashList;
    CAudioList m_audioList;
    CControlList m_controlList;
    CPlaylistList m_playlistList;
    CScheduleList m_scheduleList;
    CCalendarList m_calendarList;
    CStreamingList m_streamingList;
    CPinPList m_pinPList;
    CMovieProperty m_movieRecord;
    CImgProperty m_imgRecord;
    CTelopProperty m_telopRecord;
    CWebProperty m_webRecord;
    CFlashProperty m_flashRecord;
    CAudioProperty m_audioRecord;
    CControlProperty m_controlRecord;
    CPlaylistProperty m_playlistRecord;
    CScheduleProperty m_scheduleRecord;
    CCalendarProperty m_calendarRecord;
    CStreamingProperty m_streamingRecord;
    CPinPProperty m_pinPRecord;

    CR40Http m_http;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    std::function<void()> m_endSignal;

    // Contents whose upload failed, by type.
    CMovieList m_errMovieList;
    CImgList m_errImgList;
    CTelopList m_errTelopList;
    CFlashList m_errFlashList;
    CAudioList m_errAudioList;

    CDlkRequestList *m_requests = nullptr;
    int m_playerIndex = -1;
    bool m_append = true;
    bool m_multiSend = false;
    quint32 m_sendNumber = 1;
    QString m_groupFileName;

    CTransferStatusXml *m_status = nullptr;
    qint32 m_playerNumber = 0;
    CHarlPlayerXml *m_players = nullptr;
    QString m_playerFilePath;

    quint32 m_lastState = DLK_STATE_NONE;
    quint32 m_lastDetail = DLK_DETAIL_NONE;
    qint32 m_lastErrorIndex = -1;
    qint32 m_errorIndexSource = -1;
    SystemTime m_playerConfigDate;

    CSystemIni *m_settings = nullptr;
    CSettingIni *m_options = nullptr;
    QString m_baseFolder;
    QString m_playerFolder = QStringLiteral(".");

    bool m_calendarRefresh = false;
    bool m_contentSizeCounting = false;
    quint64 m_jobBytesDone = 0;
    quint64 m_jobBytesTotal = 0;
    bool m_powerOn = false;
    std::array<QString, kDlkContentFolderCount> m_contentFolders;

    CQ9DisplayXml *m_displays = nullptr;
    std::mutex *m_displayLock = nullptr;
    QString m_displayLinkPath;
    int m_versionNumber = 0;

    DlkPingFactory m_pingFactory;
};
