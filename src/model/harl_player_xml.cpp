#include "model/harl_player_xml.h"

#include "core/atomic_file.h"
#include "core/last_error.h"
#include "core/syslog.h"
#include "model/property_checks.h"
#include "model/property_fields.h"

namespace {

const QString kSet = QStringLiteral("Set");

bool setText(QString &field, const QString &text)
{
    field = text;
    return true;
}

// Takes one element of a player (name relative to the player element).
bool readPlayerField(PlayerRecord &p, QStringView name, const QString &text)
{
    if (name == u"No")
        return ParseInt32(text, 0, INT32_MAX, p.Number);
    if (name == u"Name")
        return setText(p.Name, text);
    if (name == u"NoComm")
        return ParseBool(text, p.NoComm);
    if (name == u"IPAddress")
        return setText(p.IPAddress, text);
    if (name == u"HostName")
        return setText(p.HostName, text);
    if (name == u"Dhcp")
        return ParseBool(text, p.Dhcp);
    if (name == u"SubnetMask")
        return setText(p.SubnetMask, text);
    if (name == u"Gateway")
        return setText(p.Gateway, text);
    if (name == u"Dns1")
        return setText(p.Dns1, text);
    if (name == u"Dns2")
        return setText(p.Dns2, text);
    if (name == u"MacAddress")
        return setText(p.MacAddress, text);
    if (name == u"Serial")
        return setText(p.Serial, text);
    if (name == u"Group")
        return setText(p.Group, text);
    if (name == u"SetupNo")
        return ParseInt32(text, 0, INT32_MAX, p.SetupNo);
    if (name == u"DispTotalX")
        return ParseInt32(text, 1, 16, p.DispTotalX);
    if (name == u"DispTotalY")
        return ParseInt32(text, 1, 16, p.DispTotalY);
    if (name == u"ResolutionId")
        return ParseInt32(text, 0, INT32_MAX, p.ResolutionId);
    if (name == u"Resolution")
        return setText(p.Resolution, text);
    if (name == u"Orientation")
        return ParseInt32(text, 0, 1, p.Orientation);
    if (name == u"TimeZone")
        return setText(p.TimeZone, text);
    if (name == u"SummerTime")
        return ParseBool(text, p.SummerTime);
    if (name == u"FileTime")
        return ParseDateTimeField(text, p.FileTime) && IsValidSystemTime(p.FileTime, true);
    if (name == u"Set/User")
        return setText(p.User, text);
    if (name == u"Set/Pass")
        return setText(p.Pass, text);
    if (name == u"Set/Port")
        return ParseInt32(text, 0, 65535, p.Port);
    if (name == u"Set/Status")
        return ParseInt32(text, 0, 3, p.Status);
    if (name == u"Set/ErrCode")
        return ParseInt32(text, INT32_MIN, INT32_MAX, p.ErrCode);
    return true; // elements of later versions are skipped
}

} // namespace

CHarlPlayerXml::CHarlPlayerXml()
    : CRecordListXml(QStringLiteral("PlayerList"), QStringLiteral("Player"))
{
    // The players' passwords are stored as typed.
    SetSaveAccess(FileAccess::OwnerOnly);
}

int CHarlPlayerXml::GetCount() const
{
    std::lock_guard lock(m_lock);
    return CRecordListXml::GetCount();
}

std::vector<PlayerRecord> CHarlPlayerXml::CopyPlayers() const
{
    std::lock_guard lock(m_lock);
    return m_records;
}

std::optional<PlayerRecord> CHarlPlayerXml::CopyPlayer(qint32 number) const
{
    std::lock_guard lock(m_lock);
    const int position = findPlayerLocked(number);
    if (position < 0)
        return std::nullopt;
    return m_records[size_t(position)];
}

bool CHarlPlayerXml::HasPlayer(qint32 number) const
{
    return FindPlayer(number) >= 0;
}

int CHarlPlayerXml::FindPlayer(qint32 number) const
{
    std::lock_guard lock(m_lock);
    return findPlayerLocked(number);
}

int CHarlPlayerXml::findPlayerLocked(qint32 number) const
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].Number == number)
            return int(i);
    }
    return -1;
}

bool CHarlPlayerXml::UpdatePlayer(qint32 number, const std::function<bool(PlayerRecord &)> &change)
{
    std::lock_guard lock(m_lock);
    const int position = findPlayerLocked(number);
    return position >= 0 && change(m_records[size_t(position)]);
}

void CHarlPlayerXml::EditPlayers(const std::function<void(std::vector<PlayerRecord> &)> &edit)
{
    std::lock_guard lock(m_lock);
    edit(m_records);
}

void CHarlPlayerXml::AddPlayer(const PlayerRecord &record)
{
    std::lock_guard lock(m_lock);
    Add(record);
}

void CHarlPlayerXml::RemoveAll()
{
    std::lock_guard lock(m_lock);
    CRecordListXml::RemoveAll();
}

bool CHarlPlayerXml::Save(const QString &path, qint32 changedPlayer)
{
    std::lock_guard lock(m_lock);
    if (CXmlDocument::Save(path))
        return true;
    WriteSyslog(LOG_ERR_APP, "CHarlPlayerXml::Save Error : Error = %u : Player Number = %d : File Name = %s",
                GetLastError(), changedPlayer, qUtf8Printable(path));
    return false;
}

void CHarlPlayerXml::commitLoad()
{
    std::lock_guard lock(m_lock);
    CRecordListXml::commitLoad();
}

bool CHarlPlayerXml::readField(PlayerRecord &record, QStringView name, const QString &text)
{
    return readPlayerField(record, name, text);
}

void CHarlPlayerXml::writeFields(const PlayerRecord &p)
{
    WriteElementInt(QStringLiteral("No"), p.Number);
    WriteElement(QStringLiteral("Name"), p.Name);
    WriteElement(QStringLiteral("NoComm"), BoolText(p.NoComm));
    WriteElement(QStringLiteral("IPAddress"), p.IPAddress);
    WriteElement(QStringLiteral("HostName"), p.HostName);
    WriteElement(QStringLiteral("Dhcp"), BoolText(p.Dhcp));
    WriteElement(QStringLiteral("SubnetMask"), p.SubnetMask);
    WriteElement(QStringLiteral("Gateway"), p.Gateway);
    WriteElement(QStringLiteral("Dns1"), p.Dns1);
    WriteElement(QStringLiteral("Dns2"), p.Dns2);
    WriteElement(QStringLiteral("MacAddress"), p.MacAddress);
    WriteElement(QStringLiteral("Serial"), p.Serial);
    WriteElement(QStringLiteral("Group"), p.Group);
    WriteElementInt(QStringLiteral("SetupNo"), p.SetupNo);
    WriteElementInt(QStringLiteral("DispTotalX"), p.DispTotalX);
    WriteElementInt(QStringLiteral("DispTotalY"), p.DispTotalY);
    WriteElementInt(QStringLiteral("ResolutionId"), p.ResolutionId);
    WriteElement(QStringLiteral("Resolution"), p.Resolution);
    WriteElementInt(QStringLiteral("Orientation"), p.Orientation);
    WriteElement(QStringLiteral("TimeZone"), p.TimeZone);
    WriteElement(QStringLiteral("SummerTime"), BoolText(p.SummerTime));
    if (p.FileTime.month != 0)
        WriteElement(QStringLiteral("FileTime"), DateTimeFieldText(p.FileTime));
    StartElement(kSet);
    WriteElement(QStringLiteral("User"), p.User);
    WriteElement(QStringLiteral("Pass"), p.Pass);
    WriteElementInt(QStringLiteral("Port"), p.Port);
    WriteElementInt(QStringLiteral("Status"), p.Status);
    WriteElementInt(QStringLiteral("ErrCode"), p.ErrCode);
    EndElement(kSet);
}
