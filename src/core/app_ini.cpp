#include "core/app_ini.h"

#include "core/data_folders.h"

#include <algorithm>

namespace {

const QString kWindow = QStringLiteral("Window");
const QString kPlaylist = QStringLiteral("Playlist");
const QString kContents = QStringLiteral("Contents");
const QString kConfig = QStringLiteral("Config");
const QString kTelop = QStringLiteral("Telop");

QString windowSection(int id)
{
    return QStringLiteral("Window_%1").arg(id);
}

QString numberedKey(const char *prefix, int number)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(prefix)).arg(number);
}

QString columnKey(const char *prefix, int type, int column)
{
    return QStringLiteral("%1_%2_%3").arg(QLatin1String(prefix)).arg(type).arg(column);
}

QString telopColorKey(int index)
{
    return numberedKey("LastColor", index);
}

} // namespace

void CAppIni::Open(const QString &fileName, const QString &baseFolder)
{
    SetBaseFolder(baseFolder);
    SetFileName(fileName);
    LoadOptions();
    LoadTelopSettings();
}

void CAppIni::SetFileName(const QString &fileName)
{
    m_ini.SetFileName(fileName);
}

QString CAppIni::GetFileName() const
{
    return m_ini.GetFileName();
}

void CAppIni::SetBaseFolder(const QString &baseFolder)
{
    std::lock_guard lock(m_mutex);
    m_baseFolder = baseFolder;
}

bool CAppIni::GetWindowRect(int id, WinRect &rect) const
{
    rect = WinRect();
    const QString section = windowSection(id);
    if (!m_ini.HasSection(section))
        return false;
    const int left = m_ini.GetInt(section, QStringLiteral("WindowLeft"), 0);
    const int top = m_ini.GetInt(section, QStringLiteral("WindowTop"), 0);
    const int width = m_ini.GetInt(section, QStringLiteral("WindowWidth"), 0);
    const int height = m_ini.GetInt(section, QStringLiteral("WindowHeight"), 0);
    if (width <= 0 || height <= 0)
        return false;
    rect = WinRect{left, top, left + width, top + height};
    return true;
}

bool CAppIni::SetWindowRect(int id, const WinRect &rect)
{
    const QString section = windowSection(id);
    return m_ini.WriteChanges({
        {section, QStringLiteral("WindowLeft"), QString::number(std::max(rect.left, 0))},
        {section, QStringLiteral("WindowTop"), QString::number(std::max(rect.top, 0))},
        {section, QStringLiteral("WindowWidth"), QString::number(rect.width())},
        {section, QStringLiteral("WindowHeight"), QString::number(rect.height())},
    });
}

int CAppIni::GetWindowActive(int viewId) const
{
    return m_ini.GetInt(kWindow, numberedKey("WindowActive", viewId), 0);
}

bool CAppIni::SetWindowActive(int viewId, int window)
{
    return m_ini.WriteInt(kWindow, numberedKey("WindowActive", viewId), window);
}

int CAppIni::GetLastGuideSelect() const
{
    return m_ini.GetInt(kWindow, QStringLiteral("LastGuideSelect"), -1);
}

bool CAppIni::SetLastGuideSelect(int viewId)
{
    return m_ini.WriteInt(kWindow, QStringLiteral("LastGuideSelect"), viewId);
}

bool CAppIni::GetSettingsOpen() const
{
    return m_ini.GetBool(kWindow, QStringLiteral("SettingsOpen"), true);
}

bool CAppIni::SetSettingsOpen(bool open)
{
    return m_ini.WriteBool(kWindow, QStringLiteral("SettingsOpen"), open);
}

bool CAppIni::GetColumnDisp(int mode, int type, int column, bool defaultValue) const
{
    return m_ini.GetBool(windowSection(mode), columnKey("ColumnDisp", type, column), defaultValue);
}

bool CAppIni::SetColumnDisp(int mode, int type, int column, bool shown)
{
    return m_ini.WriteBool(windowSection(mode), columnKey("ColumnDisp", type, column), shown);
}

int CAppIni::GetListWidth(int mode, int type, int column, int defaultWidth) const
{
    return m_ini.GetInt(windowSection(mode), columnKey("ListWidth", type, column), defaultWidth);
}

bool CAppIni::SetListWidth(int mode, int type, int column, int width)
{
    return m_ini.WriteInt(windowSection(mode), columnKey("ListWidth", type, column), width);
}

int CAppIni::GetLastResolution() const
{
    return m_ini.GetInt(kPlaylist, QStringLiteral("LastResolution"), 0);
}

int CAppIni::GetLastOrientation() const
{
    return m_ini.GetInt(kPlaylist, QStringLiteral("LastOrientation"), 0);
}

bool CAppIni::SetLastResolution(int resolution)
{
    return m_ini.WriteInt(kPlaylist, QStringLiteral("LastResolution"), resolution);
}

bool CAppIni::SetLastOrientation(int orientation)
{
    return m_ini.WriteInt(kPlaylist, QStringLiteral("LastOrientation"), orientation);
}

void CAppIni::GetLastFolder(int type, QString &folder, QString &extension) const
{
    folder = m_ini.GetString(kContents, numberedKey("LastFolder", type));
    if (folder.isEmpty()) {
        std::lock_guard lock(m_mutex);
        folder = m_baseFolder;
    }
    extension = m_ini.GetString(kContents, numberedKey("LastExt", type));
}

bool CAppIni::SetLastFolder(int type, const QString &folder, const QString &extension)
{
    return m_ini.WriteChanges({
        {kContents, numberedKey("LastFolder", type), folder},
        {kContents, numberedKey("LastExt", type), extension},
    });
}

int CAppIni::GetLastPreviewSet() const
{
    return getContentsInt(QStringLiteral("LastPreviewSet"), -1);
}

bool CAppIni::SetLastPreviewSet(int playerNumber)
{
    return setContentsInt(QStringLiteral("LastPreviewSet"), playerNumber);
}

bool CAppIni::GetLastThumbDisp(int type) const
{
    return getContentsInt(numberedKey("LastThumbDisp", type), 1) != 0;
}

bool CAppIni::SetLastThumbDisp(int type, bool thumbnails)
{
    return setContentsInt(numberedKey("LastThumbDisp", type), thumbnails ? 1 : 0);
}

int CAppIni::GetRecoverContIndex(int group) const
{
    return getContentsInt(numberedKey("RecoverContIndex", group), -1);
}

bool CAppIni::SetRecoverContIndex(int group, int contentIndex)
{
    return setContentsInt(numberedKey("RecoverContIndex", group), contentIndex);
}

int CAppIni::GetScSaverContIndex(int group) const
{
    return getContentsInt(numberedKey("ScSaverContIndex", group), -1);
}

bool CAppIni::SetScSaverContIndex(int group, int contentIndex)
{
    return setContentsInt(numberedKey("ScSaverContIndex", group), contentIndex);
}

int CAppIni::GetLastPlayMode(int type) const
{
    return getContentsInt(numberedKey("LastPlayMode", type), 0);
}

bool CAppIni::SetLastPlayMode(int type, int mode)
{
    return setContentsInt(numberedKey("LastPlayMode", type), mode);
}

PlayLength CAppIni::GetLastPlayTime(int type) const
{
    return PlayLength::FromFields(m_ini.GetTime(kContents, numberedKey("LastPlayTime", type), TimeValue{0, 0, 10, 0}));
}

bool CAppIni::SetLastPlayTime(int type, const PlayLength &length)
{
    return m_ini.WriteTime(kContents, numberedKey("LastPlayTime", type), length.Fields());
}

int CAppIni::GetLastPlayTelopPosSel() const
{
    return getContentsInt(QStringLiteral("LastPlayTelopPosSel"), 0);
}

bool CAppIni::SetLastPlayTelopPosSel(int selection)
{
    return setContentsInt(QStringLiteral("LastPlayTelopPosSel"), selection);
}

int CAppIni::GetLastPlayTelopPosY() const
{
    return getContentsInt(QStringLiteral("LastPlayTelopPosY"), 0);
}

bool CAppIni::SetLastPlayTelopPosY(int position)
{
    return setContentsInt(QStringLiteral("LastPlayTelopPosY"), position);
}

QString CAppIni::GetLastExportFolder() const
{
    const QString folder = m_ini.GetString(kConfig, QStringLiteral("LastExportFolder"));
    if (!folder.isEmpty())
        return folder;
    std::lock_guard lock(m_mutex);
    return m_baseFolder;
}

bool CAppIni::SetLastExportFolder(const QString &folder)
{
    return m_ini.WriteString(kConfig, QStringLiteral("LastExportFolder"), folder);
}

QString CAppIni::GetLastUpdateFolder() const
{
    return m_ini.GetString(kConfig, QStringLiteral("LastUpdateFolder"));
}

bool CAppIni::SetLastUpdateFolder(const QString &folder)
{
    return m_ini.WriteString(kConfig, QStringLiteral("LastUpdateFolder"), folder);
}

void CAppIni::GetLastTextFolder(QString &folder) const
{
    folder = m_ini.GetString(kTelop, QStringLiteral("LastTextFolder"));
    if (folder.isEmpty()) {
        std::lock_guard lock(m_mutex);
        folder = DataFolderOf(m_baseFolder);
    }
}

bool CAppIni::SetLastTextFolder(const QString &folder)
{
    return m_ini.WriteString(kTelop, QStringLiteral("LastTextFolder"), folder);
}

void CAppIni::LoadOptions()
{
    const int size = m_ini.GetInt(kTelop, QStringLiteral("EditFontSize"), 24);
    std::lock_guard lock(m_mutex);
    m_editFontSize = size > 0 ? size : 24;
}

int CAppIni::GetEditFontSize() const
{
    std::lock_guard lock(m_mutex);
    return m_editFontSize;
}

void CAppIni::LoadTelopSettings()
{
    TelopSettings settings;
    settings.LastFont = m_ini.GetString(kTelop, QStringLiteral("LastFont"));
    settings.LastFontSize = m_ini.GetInt(kTelop, QStringLiteral("LastFontSize"), settings.LastFontSize);
    settings.LastEffect = m_ini.GetInt(kTelop, QStringLiteral("LastEffect"), settings.LastEffect);
    settings.LastSpeed = m_ini.GetInt(kTelop, QStringLiteral("LastSpeed"), settings.LastSpeed);
    settings.LastTransparent = m_ini.GetBool(kTelop, QStringLiteral("LastTransparent"), settings.LastTransparent);
    // The list runs from LastColor_0 up to the first missing or unreadable entry.
    QList<ColorRef> colors;
    for (;;) {
        const std::optional<int> value = CProfileIni::ParseInt(m_ini.GetString(kTelop, telopColorKey(int(colors.size()))));
        if (!value)
            break;
        colors.append(ColorRef(*value) & 0xFFFFFF);
    }
    std::lock_guard lock(m_mutex);
    m_telop = settings;
    m_telopColors = colors;
}

bool CAppIni::SaveTelopSettings()
{
    std::lock_guard lock(m_mutex);
    QList<ProfileChange> changes{
        {kTelop, QStringLiteral("LastFont"), m_telop.LastFont},
        {kTelop, QStringLiteral("LastFontSize"), QString::number(m_telop.LastFontSize)},
        {kTelop, QStringLiteral("LastEffect"), QString::number(m_telop.LastEffect)},
        {kTelop, QStringLiteral("LastSpeed"), QString::number(m_telop.LastSpeed)},
        {kTelop, QStringLiteral("LastTransparent"), QString::number(m_telop.LastTransparent ? 1 : 0)},
    };
    for (int i = 0; i < m_telopColors.size(); ++i)
        changes.append({kTelop, telopColorKey(i), QString::number(m_telopColors.at(i))});
    // Entries past a shorter list would otherwise come back on the next load.
    for (int i = int(m_telopColors.size()); m_ini.HasKey(kTelop, telopColorKey(i)); ++i)
        changes.append({kTelop, telopColorKey(i), std::nullopt});
    return m_ini.WriteChanges(changes);
}

TelopSettings CAppIni::GetTelopSettings() const
{
    std::lock_guard lock(m_mutex);
    return m_telop;
}

void CAppIni::SetTelopSettings(const TelopSettings &settings)
{
    std::lock_guard lock(m_mutex);
    m_telop = settings;
}

int CAppIni::GetTelopColorCount() const
{
    std::lock_guard lock(m_mutex);
    return int(m_telopColors.size());
}

bool CAppIni::GetTelopColor(int index, ColorRef &color) const
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= m_telopColors.size())
        return false;
    color = m_telopColors.at(index);
    return true;
}

bool CAppIni::SetTelopColor(int index, ColorRef color)
{
    std::lock_guard lock(m_mutex);
    if (index < 0 || index >= m_telopColors.size())
        return false;
    m_telopColors[index] = color;
    return true;
}

void CAppIni::AddTelopColor(ColorRef color)
{
    std::lock_guard lock(m_mutex);
    m_telopColors.append(color);
}

void CAppIni::ClearTelopColors()
{
    std::lock_guard lock(m_mutex);
    m_telopColors.clear();
}

int CAppIni::getContentsInt(const QString &key, int defaultValue) const
{
    return m_ini.GetInt(kContents, key, defaultValue);
}

bool CAppIni::setContentsInt(const QString &key, int value)
{
    return m_ini.WriteInt(kContents, key, value);
}

CAppIni &GetAppIni()
{
    static CAppIni instance;
    return instance;
}
