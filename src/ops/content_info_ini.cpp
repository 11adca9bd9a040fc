#include "ops/content_info_ini.h"

#include "core/path_utils.h"
#include "core/profile_ini.h"
#include "core/syslog.h"
#include "core/time_utils.h"

#include <QFileInfo>

namespace {

const QString kSection = QStringLiteral("Content");

} // namespace

void CContentInfoIni::Load(const QString &folder)
{
    *this = CContentInfoIni();
    const QString path = JoinPath(folder, QStringLiteral("info.ini"));
    // A link could point the reader anywhere outside the package.
    if (!QFileInfo(path).isFile() || QFileInfo(path).isSymLink())
        return;
    const CProfileIni ini(path);
    m_version = ini.GetString(kSection, QStringLiteral("Version"));
    const QString duration = ini.GetString(kSection, QStringLiteral("Duration"));
    if (!duration.isEmpty()) {
        TimeValue time{};
        if (ParseTimeValue(duration, time, true))
            m_duration = PlayLength::FromFields(time);
        else
            WriteSyslog(LOG_WARNING, "CContentInfoIni::Load : Invalid Duration : %s", qUtf8Printable(duration));
    }
    m_width = readSide(ini, "Width");
    m_height = readSide(ini, "Height");
}

int CContentInfoIni::readSide(const CProfileIni &ini, const char *key) const
{
    const int value = ini.GetInt(kSection, QLatin1String(key), 0);
    if (value >= 0 && value <= kMaxPageSide)
        return value;
    WriteSyslog(LOG_WARNING, "CContentInfoIni::Load : %s out of range : %d", key, value);
    return 0;
}
