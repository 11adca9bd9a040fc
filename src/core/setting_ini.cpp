#include "core/setting_ini.h"

#include "core/atomic_file.h"
#include "core/format_utils.h"

#include <QFile>


#include <limits>

namespace {

const QString kSystem = QStringLiteral("Sysytem");
const QString kOptionSection = QStringLiteral("Option");

// The bool options of [Option], in the order they are written.
struct BoolOption {
    const char *key;
    bool SystemOptions::*field;
};
const BoolOption kBoolOptions[] = {
    {"RunPassUse", &SystemOptions::RunPassUse}, {"SetupPassUse", &SystemOptions::SetupPassUse},
    {"SILocalUrl", &SystemOptions::SILocalUrl}, {"SIUse", &SystemOptions::SIUse},
    {"SILayer", &SystemOptions::SILayer},       {"SIControl", &SystemOptions::SIControl},
    {"VODUse", &SystemOptions::VODUse},
};

int readInRange(const CProfileIni &ini, const QString &key, int defaultValue, int min, int max)
{
    const int value = ini.GetInt(kOptionSection, key, defaultValue);
    return (value < min || value > max) ? defaultValue : value;
}

} // namespace

void CSettingIni::Open(const QString &fileName)
{
    SetFileName(fileName);
    Load();
}

void CSettingIni::SetFileName(const QString &fileName)
{
    // The file holds the start-up and set-up passwords: every save writes it
    // private, also when it starts afresh after a damaged one was set aside.
    m_ini.SetFileAccess(FileAccess::OwnerOnly);
    m_ini.SetFileName(fileName);
}

QString CSettingIni::GetFileName() const
{
    return m_ini.GetFileName();
}

void CSettingIni::Load()
{
    SystemOptions options;
    options.InitSeq = m_ini.GetInt(kSystem, QStringLiteral("InitSeq"), options.InitSeq);
    options.PowerOnTime = m_ini.GetTime(kSystem, QStringLiteral("PowerOnTime"), options.PowerOnTime);
    options.PowerOffTime = m_ini.GetTime(kSystem, QStringLiteral("PowerOffTime"), options.PowerOffTime);
    // Zero sessions would let no transfer start; a port outside 1-65535 cannot
    // be connected to.
    options.MaxSession = readInRange(m_ini, QStringLiteral("MaxSession"), options.MaxSession, 1, std::numeric_limits<int>::max());
    options.HttpPort = readInRange(m_ini, QStringLiteral("HttpPort"), options.HttpPort, 1, 65535);
    for (const BoolOption &option : kBoolOptions)
        options.*option.field = m_ini.GetBool(kOptionSection, QLatin1String(option.key), options.*option.field);
    options.RunPassword = m_ini.GetString(kOptionSection, QStringLiteral("RunPassword"));
    options.SetupPassword = m_ini.GetString(kOptionSection, QStringLiteral("SetupPassword"));
    std::lock_guard lock(m_mutex);
    m_options = options;
}

bool CSettingIni::Save()
{
    std::lock_guard lock(m_mutex);
    QList<ProfileChange> changes{
        {kSystem, QStringLiteral("InitSeq"), QString::number(m_options.InitSeq)},
        {kSystem, QStringLiteral("PowerOnTime"), FormatTimeText(m_options.PowerOnTime, false)},
        {kSystem, QStringLiteral("PowerOffTime"), FormatTimeText(m_options.PowerOffTime, false)},
        {kOptionSection, QStringLiteral("MaxSession"), QString::number(m_options.MaxSession)},
        {kOptionSection, QStringLiteral("HttpPort"), QString::number(m_options.HttpPort)},
    };
    for (const BoolOption &option : kBoolOptions)
        changes.append({kOptionSection, QLatin1String(option.key), QString::number(m_options.*option.field ? 1 : 0)});
    changes.append({kOptionSection, QStringLiteral("RunPassword"), m_options.RunPassword});
    changes.append({kOptionSection, QStringLiteral("SetupPassword"), m_options.SetupPassword});
    return m_ini.WriteChanges(changes);
}

SystemOptions CSettingIni::Options() const
{
    std::lock_guard lock(m_mutex);
    return m_options;
}

void CSettingIni::SetOptions(const SystemOptions &options)
{
    std::lock_guard lock(m_mutex);
    m_options = options;
}

void CSettingIni::SetInitSeq(int step)
{
    std::lock_guard lock(m_mutex);
    m_options.InitSeq = step;
}

bool CSettingIni::IsLocalUrlEnabled() const
{
    std::lock_guard lock(m_mutex);
    return m_options.SILocalUrl || m_options.SIUse;
}

CSettingIni &GetSettingIni()
{
    static CSettingIni instance;
    return instance;
}
