#pragma once
// The send state of every managed player, kept for the user interface: one
// record per player number and one state for the whole transfer. The transfer
// manager and its workers write it from their threads while the main window
// reads it, so every accessor takes the document's lock for its whole run.
// The whole state can be written as one "HarlP2WGroup" document and read back.

#include "core/win_types.h"
#include "core/xml_document.h"

#include <QHash>
#include <QList>
#include <QString>

#include <mutex>
#include <vector>

// Values of the document-wide transfer state.
enum TransferState : qint32 {
    TRANSFER_STATE_IDLE = 0,           // no communication yet
    TRANSFER_STATE_RUNNING = 1,        // communicating
    TRANSFER_STATE_COMPLETE = 2,
    TRANSFER_STATE_ERROR = 3,
    TRANSFER_STATE_RETRY_WAIT = 4,     // waiting to resend after errors
    TRANSFER_STATE_NO_SEND_WAIT = 5,   // waiting for the no-send period to end
    TRANSFER_STATE_STOPPED = 6,
    TRANSFER_STATE_LOG_COMPRESSING = 7,
    TRANSFER_STATE_LOG_COMPRESSED = 8,
    TRANSFER_STATE_START_WAIT = 9,     // waiting for the specified start time
    TRANSFER_STATE_ENDED_ERRORS = 10,
};

// One player's send state. Copied member by member.
struct TransferStatusRecord {
    qint32 No = 0;              // player number
    qint32 SendSts = 0;         // 0 not yet sent, else the player's last transfer state
    qint32 ErrorCode = 0;       // detail of the last outcome; 0 none
    qint32 ErrorIndex = 0;      // number of the item that failed; -1 none
    SystemTime SendLastDateTime; // local time of the last successful end
    qint32 SendFileCount = 0;
    qint32 SendFileTotal = 0;
    qint32 SendRetryCount = 0;  // retry passes that restarted this player
    qint32 CheckFileCount = 0;
    qint32 CheckFileTotal = 0;
    quint64 SendContFileSize = 0; // bytes the job sent so far
    quint64 ContFileSize = 0;     // bytes the job sends
    quint64 RemainHdd = 0;
    quint64 TotalHdd = 0;
    quint64 RemainHddAV = 0;
    quint64 TotalHddAV = 0;
    SystemTime R40DateTime;     // the player's clock as last read
    QString R40Version;
    QString R40Serial;
    QString R40TimeZone;
    bool R40SummerTime = false;
    QString R40Resolution;
    qint32 R40NtpStatus = 0;

    // Every number, size and time 0, every string empty.
    void Clear();

    friend bool operator==(const TransferStatusRecord &, const TransferStatusRecord &) = default;
};

// Three-way comparison of two player numbers for the sorted index.
int ComparePlayerNumber(qint32 a, qint32 b);

class CTransferStatusXml : public CXmlDocument {
public:
    CTransferStatusXml();
    ~CTransferStatusXml() override;

    // One cleared record per number, in the order given; every earlier state
    // is discarded.
    void SetPlayers(const QList<qint32> &numbers);

    // Copies the whole record; false when no record has the number.
    bool GetPlayerStatus(qint32 number, TransferStatusRecord &record) const;

    qint32 GetTransferState() const;
    void SetTransferState(qint32 state);

    // The field, 0 for an unknown number.
    qint32 GetSendStatus(qint32 number) const;
    qint32 GetSendFileCount(qint32 number) const;
    qint32 GetSendFileTotal(qint32 number) const;
    qint32 GetSendRetryCount(qint32 number) const;
    qint32 GetCheckFileCount(qint32 number) const;
    qint32 GetCheckFileTotal(qint32 number) const;
    quint64 GetSendContFileSize(qint32 number) const;
    quint64 GetContFileSize(qint32 number) const;

    // Set the field; nothing for an unknown number.
    void SetSendStatus(qint32 number, qint32 value);
    void SetErrorCode(qint32 number, qint32 value);
    void SetErrorIndex(qint32 number, qint32 value);
    void SetSendFileCount(qint32 number, qint32 value);
    void SetSendFileTotal(qint32 number, qint32 value);
    void SetSendRetryCount(qint32 number, qint32 value);
    void SetCheckFileCount(qint32 number, qint32 value);
    void SetCheckFileTotal(qint32 number, qint32 value);
    void SetSendContFileSize(qint32 number, quint64 value);
    void SetContFileSize(qint32 number, quint64 value);
    void SetSendLastDateTime(qint32 number, const SystemTime &time);

    // Set the player's facts; false for an unknown number.
    bool SetPlayerDateTime(qint32 number, const SystemTime &time);
    bool SetDiskSpace(qint32 number, quint64 remain, quint64 total, quint64 remainAV, quint64 totalAV);
    bool SetVersion(qint32 number, const QString &version);
    bool SetSerial(qint32 number, const QString &serial);
    bool SetTimeZone(qint32 number, const QString &timeZone);
    bool SetResolution(qint32 number, const QString &resolution);
    bool SetSummerTime(qint32 number, bool summerTime);
    bool SetNtpStatus(qint32 number, qint32 status);

    // Keeps the data folder of the base folder.
    void SetFolder(const QString &baseFolder);
    QString GetFolder() const;
    // The "Version" text of the last document read.
    QString GetVersion() const;

protected:
    void OnStartElement(const QString &path, const QStringList &attrNames, const QStringList &attrValues) override;
    void OnCharacters(const QString &path, const QString &text) override;
    void OnEndElement(const QString &path) override;
    // Saving holds the lock from the first element to the last.
    void OnSaveBegin() override;
    bool WriteContents() override;
    void OnSaveEnd() override;

private:
    // Look-ups by player number; the caller holds the lock.
    TransferStatusRecord *Find(qint32 number);
    const TransferStatusRecord *Find(qint32 number) const;

    template <class Value>
    Value readField(qint32 number, Value TransferStatusRecord::*field) const;
    template <class Value>
    bool writeField(qint32 number, Value TransferStatusRecord::*field, const Value &value);

    void writePlayer(const TransferStatusRecord &record, int position);
    void writeDateTime(const QString &name, const SystemTime &time);
    void takeField(const QString &name, const QString &text);

    mutable std::mutex m_lock;
    std::vector<TransferStatusRecord> m_records;
    std::vector<TransferStatusRecord *> m_sortedIndex;
    TransferStatusRecord m_scratch;
    qint32 m_transferState = TRANSFER_STATE_IDLE;
    QString m_version;
    QString m_folder;
    // Text of the elements being read, gathered until their end tags.
    QHash<QString, QString> m_pendingText;
};

// The one transfer status document of the program.
CTransferStatusXml *GetPlayerStatusStore();
