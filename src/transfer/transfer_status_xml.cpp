#include "transfer/transfer_status_xml.h"

#include "core/data_folders.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

const QString kPlayerPath = QStringLiteral("/HarlP2WGroup/Player");
const QString kVersionPath = QStringLiteral("/HarlP2WGroup/System/Version");

bool SamePath(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a direct child of a Player element, or an empty text for any
// other path.
QString PlayerChildName(const QString &path)
{
    const QString prefix = kPlayerPath + u'/';
    if (!path.startsWith(prefix, Qt::CaseInsensitive))
        return QString();
    const QString name = path.mid(prefix.size());
    return name.contains(u'/') ? QString() : name;
}

// A time is written only when it names a real date and time of day.
bool IsWritableDateTime(const SystemTime &time)
{
    return time.month >= 1 && time.month <= 12 && QDate::isValid(time.year, time.month, time.day)
        && QTime::isValid(time.hour, time.minute, time.second);
}

QString FormatStatusDateTime(const SystemTime &time)
{
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                             time.minute, time.second);
}

// Reads the written form back; a text of any other form, or one that names
// no real date and time, gives the zero time.
SystemTime ParseStatusDateTime(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{4})/(\\d{1,2})/(\\d{1,2}) (\\d{1,2}):(\\d{1,2}):(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return SystemTime();
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const QTime clock(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !clock.isValid())
        return SystemTime();
    SystemTime time;
    time.year = quint16(date.year());
    time.month = quint16(date.month());
    time.day = quint16(date.day());
    time.dayOfWeek = quint16(date.dayOfWeek() % 7);
    time.hour = quint16(clock.hour());
    time.minute = quint16(clock.minute());
    time.second = quint16(clock.second());
    return time;
}

// Numbers that do not parse read as 0.
qint32 ParseSigned(const QString &text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok);
    return ok ? value : 0;
}

// An unsigned field also takes the negative values a signed writer gave it,
// so every value written reads back.
qint32 ParseUnsigned(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<quint32>::max())
        return 0;
    return qint32(quint32(value));
}

quint64 ParseUnsigned64(const QString &text)
{
    bool ok = false;
    const quint64 value = text.trimmed().toULongLong(&ok);
    return ok ? value : 0;
}

} // namespace

void TransferStatusRecord::Clear()
{
    *this = TransferStatusRecord();
}

int ComparePlayerNumber(qint32 a, qint32 b)
{
    return (a > b) - (a < b);
}

CTransferStatusXml::CTransferStatusXml() = default;
CTransferStatusXml::~CTransferStatusXml() = default;

void CTransferStatusXml::SetPlayers(const QList<qint32> &numbers)
{
    std::lock_guard guard(m_lock);
    m_records.clear();
    m_sortedIndex.clear();
    m_records.reserve(size_t(numbers.size()));
    for (const qint32 number : numbers) {
        TransferStatusRecord record;
        record.No = number;
        m_records.push_back(record);
    }
    // The index points into the records, which stay where they are until the
    // next rebuild.
    m_sortedIndex.reserve(m_records.size());
    for (TransferStatusRecord &record : m_records)
        m_sortedIndex.push_back(&record);
    std::stable_sort(m_sortedIndex.begin(), m_sortedIndex.end(),
                     [](const TransferStatusRecord *a, const TransferStatusRecord *b) {
                         return ComparePlayerNumber(a->No, b->No) < 0;
                     });
}

const TransferStatusRecord *CTransferStatusXml::Find(qint32 number) const
{
    const auto it = std::lower_bound(m_sortedIndex.begin(), m_sortedIndex.end(), number,
                                     [](const TransferStatusRecord *record, qint32 key) {
                                         return ComparePlayerNumber(record->No, key) < 0;
                                     });
    if (it == m_sortedIndex.end() || ComparePlayerNumber((*it)->No, number) != 0)
        return nullptr;
    return *it;
}

TransferStatusRecord *CTransferStatusXml::Find(qint32 number)
{
    return const_cast<TransferStatusRecord *>(std::as_const(*this).Find(number));
}

template <class Value>
Value CTransferStatusXml::readField(qint32 number, Value TransferStatusRecord::*field) const
{
    std::lock_guard guard(m_lock);
    const TransferStatusRecord *record = Find(number);
    return record ? record->*field : Value();
}

template <class Value>
bool CTransferStatusXml::writeField(qint32 number, Value TransferStatusRecord::*field, const Value &value)
{
    std::lock_guard guard(m_lock);
    TransferStatusRecord *record = Find(number);
    if (!record)
        return false;
    record->*field = value;
    return true;
}

bool CTransferStatusXml::GetPlayerStatus(qint32 number, TransferStatusRecord &record) const
{
    std::lock_guard guard(m_lock);
    const TransferStatusRecord *found = Find(number);
    if (!found)
        return false;
    record = *found;
    return true;
}

qint32 CTransferStatusXml::GetTransferState() const
{
    std::lock_guard guard(m_lock);
    return m_transferState;
}

void CTransferStatusXml::SetTransferState(qint32 state)
{
    std::lock_guard guard(m_lock);
    m_transferState = state;
}

qint32 CTransferStatusXml::GetSendStatus(qint32 number) const
{
    return readField(number, &TransferStatusRecord::SendSts);
}

qint32 CTransferStatusXml::GetSendFileCount(qint32 number) const
{
    return readField(number, &TransferStatusRecord::SendFileCount);
}

qint32 CTransferStatusXml::GetSendFileTotal(qint32 number) const
{
    return readField(number, &TransferStatusRecord::SendFileTotal);
}

qint32 CTransferStatusXml::GetSendRetryCount(qint32 number) const
{
    return readField(number, &TransferStatusRecord::SendRetryCount);
}

qint32 CTransferStatusXml::GetCheckFileCount(qint32 number) const
{
    return readField(number, &TransferStatusRecord::CheckFileCount);
}

qint32 CTransferStatusXml::GetCheckFileTotal(qint32 number) const
{
    return readField(number, &TransferStatusRecord::CheckFileTotal);
}

quint64 CTransferStatusXml::GetSendContFileSize(qint32 number) const
{
    return readField(number, &TransferStatusRecord::SendContFileSize);
}

quint64 CTransferStatusXml::GetContFileSize(qint32 number) const
{
    return readField(number, &TransferStatusRecord::ContFileSize);
}

void CTransferStatusXml::SetSendStatus(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::SendSts, value);
}

void CTransferStatusXml::SetErrorCode(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::ErrorCode, value);
}

void CTransferStatusXml::SetErrorIndex(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::ErrorIndex, value);
}

void CTransferStatusXml::SetSendFileCount(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::SendFileCount, value);
}

void CTransferStatusXml::SetSendFileTotal(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::SendFileTotal, value);
}

void CTransferStatusXml::SetSendRetryCount(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::SendRetryCount, value);
}

void CTransferStatusXml::SetCheckFileCount(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::CheckFileCount, value);
}

void CTransferStatusXml::SetCheckFileTotal(qint32 number, qint32 value)
{
    writeField(number, &TransferStatusRecord::CheckFileTotal, value);
}

void CTransferStatusXml::SetSendContFileSize(qint32 number, quint64 value)
{
    writeField(number, &TransferStatusRecord::SendContFileSize, value);
}

void CTransferStatusXml::SetContFileSize(qint32 number, quint64 value)
{
    writeField(number, &TransferStatusRecord::ContFileSize, value);
}

void CTransferStatusXml::SetSendLastDateTime(qint32 number, const SystemTime &time)
{
    writeField(number, &TransferStatusRecord::SendLastDateTime, time);
}

bool CTransferStatusXml::SetPlayerDateTime(qint32 number, const SystemTime &time)
{
    return writeField(number, &TransferStatusRecord::R40DateTime, time);
}

bool CTransferStatusXml::SetDiskSpace(qint32 number, quint64 remain, quint64 total, quint64 remainAV,
                                      quint64 totalAV)
{
    std::lock_guard guard(m_lock);
    TransferStatusRecord *record = Find(number);
    if (!record)
        return false;
    record->RemainHdd = remain;
    record->TotalHdd = total;
    record->RemainHddAV = remainAV;
    record->TotalHddAV = totalAV;
    return true;
}

bool CTransferStatusXml::SetVersion(qint32 number, const QString &version)
{
    return writeField(number, &TransferStatusRecord::R40Version, version);
}

bool CTransferStatusXml::SetSerial(qint32 number, const QString &serial)
{
    return writeField(number, &TransferStatusRecord::R40Serial, serial);
}

bool CTransferStatusXml::SetTimeZone(qint32 number, const QString &timeZone)
{
    return writeField(number, &TransferStatusRecord::R40TimeZone, timeZone);
}

bool CTransferStatusXml::SetResolution(qint32 number, const QString &resolution)
{
    return writeField(number, &TransferStatusRecord::R40Resolution, resolution);
}

bool CTransferStatusXml::SetSummerTime(qint32 number, bool summerTime)
{
    return writeField(number, &TransferStatusRecord::R40SummerTime, summerTime);
}

bool CTransferStatusXml::SetNtpStatus(qint32 number, qint32 status)
{
    return writeField(number, &TransferStatusRecord::R40NtpStatus, status);
}

void CTransferStatusXml::SetFolder(const QString &baseFolder)
{
    std::lock_guard guard(m_lock);
    m_folder = DataFolderOf(baseFolder);
}

QString CTransferStatusXml::GetFolder() const
{
    std::lock_guard guard(m_lock);
    return m_folder;
}

QString CTransferStatusXml::GetVersion() const
{
    std::lock_guard guard(m_lock);
    return m_version;
}

// Reading ------------------------------------------------------------------

void CTransferStatusXml::OnStartElement(const QString &path, const QStringList &, const QStringList &)
{
    std::lock_guard guard(m_lock);
    m_pendingText.remove(path.toLower());
    if (!SamePath(path, kPlayerPath))
        return;
    m_transferState = TRANSFER_STATE_IDLE;
    m_scratch.Clear();
    m_scratch.No = -1;
    m_scratch.ErrorIndex = -1;
}

void CTransferStatusXml::OnCharacters(const QString &path, const QString &text)
{
    if (!SamePath(path, kVersionPath) && PlayerChildName(path).isEmpty())
        return;
    std::lock_guard guard(m_lock);
    m_pendingText[path.toLower()].append(text);
}

void CTransferStatusXml::OnEndElement(const QString &path)
{
    std::lock_guard guard(m_lock);
    const auto pending = m_pendingText.constFind(path.toLower());
    if (pending != m_pendingText.constEnd()) {
        const QString text = pending.value();
        m_pendingText.erase(pending);
        if (SamePath(path, kVersionPath))
            m_version = text;
        else
            takeField(PlayerChildName(path), text);
        return;
    }
    if (!SamePath(path, kPlayerPath) || m_scratch.No < 0)
        return;
    // Players the document names but this program does not manage are ignored.
    if (TransferStatusRecord *record = Find(m_scratch.No))
        *record = m_scratch;
}

// Converts the text of one Player child into the scratch record's field of the
// same name (compared without case).
void CTransferStatusXml::takeField(const QString &name, const QString &text)
{
    using Signed = qint32 TransferStatusRecord::*;
    using Size = quint64 TransferStatusRecord::*;
    using Text = QString TransferStatusRecord::*;
    using Time = SystemTime TransferStatusRecord::*;
    static const QHash<QString, Signed> signedFields = {
        {QStringLiteral("errorcode"), &TransferStatusRecord::ErrorCode},
        {QStringLiteral("errorindex"), &TransferStatusRecord::ErrorIndex},
        {QStringLiteral("sendfilecount"), &TransferStatusRecord::SendFileCount},
        {QStringLiteral("sendfiletotal"), &TransferStatusRecord::SendFileTotal},
        {QStringLiteral("sendretrycount"), &TransferStatusRecord::SendRetryCount},
        {QStringLiteral("checkfilecount"), &TransferStatusRecord::CheckFileCount},
        {QStringLiteral("checkfiletotal"), &TransferStatusRecord::CheckFileTotal},
    };
    static const QHash<QString, Signed> unsignedFields = {
        {QStringLiteral("sendsts"), &TransferStatusRecord::SendSts},
        {QStringLiteral("r40ntpstatus"), &TransferStatusRecord::R40NtpStatus},
    };
    static const QHash<QString, Size> sizeFields = {
        {QStringLiteral("sendcontfilesize"), &TransferStatusRecord::SendContFileSize},
        {QStringLiteral("contfilesize"), &TransferStatusRecord::ContFileSize},
        {QStringLiteral("remainhdd"), &TransferStatusRecord::RemainHdd},
        {QStringLiteral("totalhdd"), &TransferStatusRecord::TotalHdd},
        {QStringLiteral("remainhddav"), &TransferStatusRecord::RemainHddAV},
        {QStringLiteral("totalhddav"), &TransferStatusRecord::TotalHddAV},
    };
    static const QHash<QString, Text> textFields = {
        {QStringLiteral("r40version"), &TransferStatusRecord::R40Version},
        {QStringLiteral("r40serial"), &TransferStatusRecord::R40Serial},
        {QStringLiteral("r40timezone"), &TransferStatusRecord::R40TimeZone},
        {QStringLiteral("r40resolution"), &TransferStatusRecord::R40Resolution},
    };
    static const QHash<QString, Time> timeFields = {
        {QStringLiteral("sendlastdatetime"), &TransferStatusRecord::SendLastDateTime},
        {QStringLiteral("r40datetime"), &TransferStatusRecord::R40DateTime},
    };

    const QString key = name.toLower();
    if (key == u"no") {
        // A number that does not parse names no player, rather than player 0.
        bool ok = false;
        const qint32 number = text.trimmed().toInt(&ok);
        m_scratch.No = ok ? number : -1;
    } else if (const auto it = signedFields.constFind(key); it != signedFields.constEnd())
        m_scratch.*it.value() = ParseSigned(text);
    else if (const auto it = unsignedFields.constFind(key); it != unsignedFields.constEnd())
        m_scratch.*it.value() = ParseUnsigned(text);
    else if (const auto it = sizeFields.constFind(key); it != sizeFields.constEnd())
        m_scratch.*it.value() = ParseUnsigned64(text);
    else if (const auto it = textFields.constFind(key); it != textFields.constEnd())
        m_scratch.*it.value() = text;
    else if (const auto it = timeFields.constFind(key); it != timeFields.constEnd())
        m_scratch.*it.value() = ParseStatusDateTime(text);
    else if (key == u"r40summertime")
        m_scratch.R40SummerTime = ParseSigned(text) != 0;
}

// Writing ------------------------------------------------------------------

void CTransferStatusXml::OnSaveBegin()
{
    m_lock.lock();
}

void CTransferStatusXml::OnSaveEnd()
{
    m_lock.unlock();
}

bool CTransferStatusXml::WriteContents()
{
    StartElement(QStringLiteral("HarlP2WGroup"));
    StartElement(QStringLiteral("System"));
    WriteElement(QStringLiteral("Version"), QStringLiteral("1"));
    EndElement(QStringLiteral("System"));
    int position = 1;
    for (const TransferStatusRecord &record : m_records)
        writePlayer(record, position++);
    EndElement(QStringLiteral("HarlP2WGroup"));
    return true;
}

void CTransferStatusXml::writeDateTime(const QString &name, const SystemTime &time)
{
    if (IsWritableDateTime(time))
        WriteElement(name, FormatStatusDateTime(time));
}

void CTransferStatusXml::writePlayer(const TransferStatusRecord &record, int position)
{
    StartElement(QStringLiteral("Player"), {QStringLiteral("index")}, {QString::number(position)});
    WriteElementInt(QStringLiteral("No"), record.No);
    WriteElementInt(QStringLiteral("SendSts"), record.SendSts);
    WriteElementInt(QStringLiteral("SendFileCount"), record.SendFileCount);
    WriteElementInt(QStringLiteral("SendFileTotal"), record.SendFileTotal);
    writeDateTime(QStringLiteral("SendLastDateTime"), record.SendLastDateTime);
    WriteElementInt(QStringLiteral("SendRetryCount"), record.SendRetryCount);
    if (record.ErrorCode != 0)
        WriteElementInt(QStringLiteral("ErrorCode"), record.ErrorCode);
    if (record.ErrorIndex >= 0)
        WriteElementInt(QStringLiteral("ErrorIndex"), record.ErrorIndex);
    WriteElementInt(QStringLiteral("CheckFileCount"), record.CheckFileCount);
    WriteElementInt(QStringLiteral("CheckFileTotal"), record.CheckFileTotal);
    WriteElementUInt64(QStringLiteral("SendContFileSize"), record.SendContFileSize);
    WriteElementUInt64(QStringLiteral("ContFileSize"), record.ContFileSize);
    writeDateTime(QStringLiteral("R40DateTime"), record.R40DateTime);
    if (!record.R40Version.isEmpty())
        WriteElement(QStringLiteral("R40Version"), record.R40Version);
    if (!record.R40Serial.isEmpty())
        WriteElement(QStringLiteral("R40Serial"), record.R40Serial);
    if (!record.R40TimeZone.isEmpty())
        WriteElement(QStringLiteral("R40TimeZone"), record.R40TimeZone);
    if (record.R40SummerTime)
        WriteElementInt(QStringLiteral("R40SummerTime"), 1);
    if (!record.R40Resolution.isEmpty())
        WriteElement(QStringLiteral("R40Resolution"), record.R40Resolution);
    if (record.R40NtpStatus != 0)
        WriteElementInt(QStringLiteral("R40NtpStatus"), record.R40NtpStatus);
    if (record.TotalHdd != 0) {
        WriteElementUInt64(QStringLiteral("RemainHdd"), record.RemainHdd);
        WriteElementUInt64(QStringLiteral("TotalHdd"), record.TotalHdd);
    }
    if (record.TotalHddAV != 0) {
        WriteElementUInt64(QStringLiteral("RemainHddAV"), record.RemainHddAV);
        WriteElementUInt64(QStringLiteral("TotalHddAV"), record.TotalHddAV);
    }
    EndElement(QStringLiteral("Player"));
}

CTransferStatusXml *GetPlayerStatusStore()
{
    static CTransferStatusXml document;
    return &document;
}
