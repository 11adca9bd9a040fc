// Request kind 7: the player's system state and disk space written into its
// record of the transfer status document, then checked against the player
// record and the software version the program expects.

#include "transfer/dlk_transfer.h"

#include "core/format_utils.h"
#include "core/syslog.h"
#include "model/player_checks.h"
#include "player/dlk_request_status.h"
#include "player/drst_command.h"
#include "player/r40_system_command.h"
#include "transfer/transfer_status_xml.h"

namespace {

// Versions up to this number do not report their summer-time setting reliably.
constexpr int kSummerTimeVersion = 110;
// A fan or temperature sensor in failure.
constexpr int kSensorFailure = 2;

} // namespace

bool CDlkTransfer::transferGetStatus(CDlkRequestStatus *request)
{
    const QByteArray name = m_name.toUtf8();
    if (!m_status) {
        // Without the document the findings cannot be kept: the request fails
        // with a pair of its own rather than leave an earlier step's pair.
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::transferGetStatus : No Status Document", name.constData());
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get Status", name.constData());
    CR40SystemCommand system;
    if (!commandBuilt(system.MakeRequest(), system))
        return false;
    if (!sendCommandChecked(system, LOG_DEBUG))
        return false;
    int versionNumber = 0;
    ParseVersionNumber(system.GetVersion(), versionNumber);
    writeSystemStatus(system);

    if (system.GetFan1() == kSensorFailure || system.GetFan2() == kSensorFailure) {
        setTransferState(DLK_STATE_DONE, DLK_DETAIL_FAN);
        return false;
    }
    if (system.GetTemp1() == kSensorFailure || system.GetTemp2() == kSensorFailure) {
        setTransferState(DLK_STATE_DONE, DLK_DETAIL_TEMPERATURE);
        return false;
    }
    if (!readDiskStatus())
        return false;

    PlayerRecord record;
    if (!getPlayerRecord(record)) {
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    // A player never asked before is taken as it reports itself: only a
    // later difference is a change. A list that cannot be saved logs why;
    // the record is written with its next save.
    const ReportedPlayerFacts facts{system.GetSerialNumber(), system.GetTimeZone(), system.GetSummerTime() == 1};
    if (StoreReportedFacts(record, facts, true))
        updatePlayerRecord([&facts](PlayerRecord &stored) { return StoreReportedFacts(stored, facts, true); });
    if (!matchesPlayerRecord(system, record, versionNumber)) {
        setTransferState(DLK_STATE_DONE, DLK_DETAIL_PLAYER_CHANGED);
        return false;
    }
    if (versionNumber != request->GetVersionNumber()) {
        setTransferState(DLK_STATE_DONE, DLK_DETAIL_VERSION_CHANGED);
        return false;
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Get Status OK", name.constData());
    return true;
}

void CDlkTransfer::writeSystemStatus(const CR40SystemCommand &system)
{
    SystemTime playerTime;
    system.GetDateTime(playerTime);
    const int ntp = system.GetNtpStatus();
    m_status->SetPlayerDateTime(m_playerNumber, playerTime);
    m_status->SetVersion(m_playerNumber, system.GetVersion());
    m_status->SetSerial(m_playerNumber, system.GetSerialNumber());
    m_status->SetTimeZone(m_playerNumber, system.GetTimeZone());
    m_status->SetSummerTime(m_playerNumber, system.GetSummerTime() == 1);
    m_status->SetResolution(m_playerNumber, system.GetResolution());
    m_status->SetNtpStatus(m_playerNumber, ntp == 1 || ntp == 2 ? ntp : 0);
}

bool CDlkTransfer::readDiskStatus()
{
    CDrstCommand disk;
    if (!commandBuilt(disk.MakeRequest(), disk))
        return false;
    if (!sendCommandChecked(disk, LOG_DEBUG))
        return false;
    quint64 total = 0;
    quint64 remain = 0;
    quint64 totalAV = 0;
    quint64 remainAV = 0;
    disk.GetCapacity(total, remain);
    disk.GetCapacityAV(totalAV, remainAV);
    m_status->SetDiskSpace(m_playerNumber, remain, total, remainAV, totalAV);
    return true;
}

bool CDlkTransfer::matchesPlayerRecord(const CR40SystemCommand &system, const PlayerRecord &record,
                                       int versionNumber) const
{
    if (system.GetSerialNumber() != record.Serial)
        return false;
    if (NormalizedTimeZone(system.GetTimeZone()) != record.TimeZone)
        return false;
    const QString resolution = system.GetResolution();
    if (!resolution.isEmpty() && resolution != record.Resolution)
        return false;
    if (versionNumber > kSummerTimeVersion && (system.GetSummerTime() == 1) != record.SummerTime)
        return false;
    return true;
}
