// Request kind 2: the player's setup file made from its named setup, uploaded
// with its display-link file and attached files, the clock set and the setup
// loaded; then the player record takes the HTTP access the setup gave. The
// network form uploads the network setup shared by all players instead.
//
// The send file and the display-link file are made in the player folder, so
// that workers of players sharing one setup never write the same file.

#include "transfer/dlk_transfer.h"

#include "core/clock.h"
#include "core/format_utils.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/syslog.h"
#include "model/q9_display_xml.h"
#include "player/dlk_request_config.h"
#include "player/lcnf_command.h"
#include "player/setup_xml.h"

#include <QDir>
#include <QFile>

namespace {

constexpr char kDisplayLinkFileName[] = "pan_link_setup.xml";
constexpr char kDisplayLinkRemotePath[] = "/import/pan_link_setup.xml";
// The display-link mode the players' display-link setup is written with.
constexpr qint32 kDisplayLinkMode = 2;
// Software versions up to this number apply a loaded setup only on a reboot.
constexpr int kRebootLoadVersion = 110;

// A time of day as the setup keeps it: a date-time on 1899-12-30.
QString setupTimeText(const TimeValue &time)
{
    SystemTime value;
    value.year = 1899;
    value.month = 12;
    value.day = 30;
    value.hour = time.hour;
    value.minute = time.minute;
    value.second = time.second;
    return FormatDateTimeText(value);
}

// The values of this player and of the operating hours put over its setup.
void fillPlayerValues(SetupData &data, const PlayerRecord &record, const SystemOptions &options)
{
    const QString network = QString::fromLatin1(SetupKey::kNetwork);
    const QString display = QString::fromLatin1(SetupKey::kDisplay);
    const QString power = QString::fromLatin1(SetupKey::kPower);
    data.SetValue(network, QStringLiteral("name"), record.Name);
    data.SetValue(network, QStringLiteral("ipaddress"), record.IPAddress);
    data.SetValue(display, QStringLiteral("resolution"), record.Resolution);
    data.SetValue(display, QStringLiteral("orientation"), QString::number(record.Orientation));
    // Equal power-on and power-off times mean the player runs all day.
    const QString used = options.PowerOnTime == options.PowerOffTime ? QStringLiteral("0") : QStringLiteral("1");
    data.SetValue(power, QStringLiteral("poweronuse"), used);
    data.SetValue(power, QStringLiteral("poweron"), setupTimeText(options.PowerOnTime));
    data.SetValue(power, QStringLiteral("poweroffuse"), used);
    data.SetValue(power, QStringLiteral("poweroff"), setupTimeText(options.PowerOffTime));
}

} // namespace

bool CDlkTransfer::transferConfig(CDlkRequestConfig *request)
{
    return request->IsNetwork() ? transferNetworkConfig() : transferPlayerConfig();
}

bool CDlkTransfer::transferPlayerConfig()
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Config File", name.constData());
    PlayerRecord record;
    if (!getPlayerRecord(record)) {
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    if (!checkDlkVersion(&record)) {
        setPlayerRecordStatus(PLAYER_STATUS_ERROR, qint32(m_lastDetail));
        return false;
    }
    checkUpdateConfigFile(record);

    QString password;
    int port = 0;
    if (!makeSendConfigFile(record, password, port)) {
        deleteSendConfigFile(&record);
        // The pair of this failure, not one a step before left.
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        setPlayerRecordStatus(PLAYER_STATUS_ERROR, DLK_DETAIL_CONFIG_FILE);
        return false;
    }
    if (!sendConfigFile(&record) || !sendDateTime(GetSystemTimeUtc()) || !sendLoadConfig(LOAD_CONFIG_REBOOT)) {
        setPlayerRecordStatus(PLAYER_STATUS_ERROR, qint32(m_lastDetail));
        return false;
    }

    if (password.isEmpty())
        password = DefaultPlayerUser();
    if (port <= 0)
        port = kR40DefaultPort;
    record.Pass = password;
    record.Port = port;
    record.Status = PLAYER_STATUS_OK;
    record.ErrCode = 0;
    // The record also holds what the player reported on the way (its
    // address, serial number and version).
    const bool stored = updatePlayerRecord([&record](PlayerRecord &current) {
        current = record;
        return true;
    });
    if (!stored) {
        logPlayerNotFound("transferPlayerConfig");
        setTransferState(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL);
        return false;
    }
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Config File OK", name.constData());
    return true;
}

bool CDlkTransfer::transferNetworkConfig()
{
    const QByteArray name = m_name.toUtf8();
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Network Config File", name.constData());
    // The version found stays with this worker: the request is shared by the
    // workers of every player.
    if (!checkDlkVersion(nullptr) || !sendConfigFile(nullptr) || !sendDateTime(GetSystemTimeUtc()))
        return false;
    if (!sendLoadConfig(m_versionNumber <= kRebootLoadVersion ? LOAD_CONFIG_REBOOT : LOAD_CONFIG_NO_MODE))
        return false;
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send Network Config File OK", name.constData());
    return true;
}

bool CDlkTransfer::checkUpdateConfigFile(const PlayerRecord &record)
{
    const SystemTime &src = record.FileTime;
    const SystemTime &dest = m_playerConfigDate;
    WriteSyslog(LOG_DEBUG,
                "CDlkTransfer::checkUpdateConfigFile : Src = %04d/%02d/%02d %02d:%02d:%02d.%03d : "
                "Dest = %04d/%02d/%02d %02d:%02d:%02d.%03d",
                src.year, src.month, src.day, src.hour, src.minute, src.second, src.milliseconds, dest.year,
                dest.month, dest.day, dest.hour, dest.minute, dest.second, dest.milliseconds);
    return true;
}

bool CDlkTransfer::makeSendConfigFile(const PlayerRecord &record, QString &password, int &port)
{
    const QByteArray name = m_name.toUtf8();
    const QString setupPath = MakeSetupFilePath(m_baseFolder, record.SetupNo);
    const QString detailPath = MakeDetailSetupFilePath(m_baseFolder, record.SetupNo);
    CSetupXml setup;
    CSetupXml detail;
    if (!setup.Load(setupPath) || !detail.Load(detailPath)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeSendConfigFile : Setup File Load Error : Setup No = %d",
                    name.constData(), record.SetupNo);
        return false;
    }
    SetupData data;
    SetupData details;
    setup.GetSetupData(data);
    detail.GetSetupData(details);
    data.MergeFrom(details);
    fillPlayerValues(data, record, m_options ? m_options->Options() : SystemOptions());
    setup.SetSetupData(data);

    if (!setup.SaveForSend(sendConfigFilePath(&record), GetLocalTime())) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::makeSendConfigFile : It failed in the preservation of the setup file for "
                    "the transmission.",
                    name.constData());
        return false;
    }
    if (!setup.Save(setupPath)) {
        WriteSyslog(LOG_ERR_APP, "[%s] : CDlkTransfer::makeSendConfigFile : It failed in the preservation of the setup file.",
                    name.constData());
        return false;
    }
    password = data.Value(QString::fromLatin1(SetupKey::kHttp), QStringLiteral("password"));
    port = data.Value(QString::fromLatin1(SetupKey::kHttp), QStringLiteral("port")).toInt();
    return makeDisplayLinkFile();
}

bool CDlkTransfer::makeDisplayLinkFile()
{
    m_displayLinkPath.clear();
    if (!m_displays || !m_displayLock)
        return true;
    const QString path = JoinPath(m_playerFolder, QString::fromLatin1(kDisplayLinkFileName));
    std::lock_guard lock(*m_displayLock);
    m_displays->SetMode(kDisplayLinkMode);
    if (!m_displays->Save(path)) {
        WriteSyslog(LOG_ERR_APP,
                    "[%s] : CDlkTransfer::makeSendConfigFile : It failed in the preservation of the display link file.",
                    qUtf8Printable(m_name));
        return false;
    }
    m_displayLinkPath = path;
    return true;
}

QString CDlkTransfer::sendConfigFilePath(const PlayerRecord *record) const
{
    return record ? MakeSetupSendFilePath(m_playerFolder) : MakeSetupNetFilePath(m_baseFolder, true);
}

void CDlkTransfer::deleteSendConfigFile(const PlayerRecord *record)
{
    // The network send file is every worker's input and stays.
    if (record)
        QFile::remove(sendConfigFilePath(record));
}

bool CDlkTransfer::sendConfigFile(const PlayerRecord *record)
{
    const QString remoteSetup = QString::fromLatin1(kSetupSendRemotePath);
    bool sent = uploadWhole(sendConfigFilePath(record), remoteSetup, "DLK");
    if (sent && !m_displayLinkPath.isEmpty())
        sent = uploadWhole(m_displayLinkPath, QString::fromLatin1(kDisplayLinkRemotePath), "DLK");
    if (sent && record) {
        const QDir attached(MakeSetupFileFolderPath(m_baseFolder, record->SetupNo));
        const QFileInfoList files = attached.entryInfoList(QDir::Files, QDir::Name);
        for (const QFileInfo &file : files) {
            sent = uploadWhole(file.filePath(), QStringLiteral("/import/") + file.fileName(), "Remote");
            if (!sent)
                break;
        }
    }
    deleteSendConfigFile(record);
    return sent;
}

bool CDlkTransfer::uploadWhole(const QString &local, const QString &remote, const char *remoteLabel)
{
    WriteSyslog(LOG_NOTICE, "[%s] : R40 Send File : PC(%s) -> %s(%s)", qUtf8Printable(m_name), qUtf8Printable(local),
                remoteLabel, qUtf8Printable(remote));
    if (m_http.SendFile(local, remote, 0))
        return true;
    setSendFileError(local, remote);
    return false;
}
