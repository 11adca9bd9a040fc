#include "model/app_data.h"

#include "core/app_ini.h"
#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/setting_ini.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/contents_store.h"
#include "model/path_safety.h"
#include "model/property_base.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// The usual signage pictures: single displays first, then walls of several
// displays (their total picture). Entry 0 stands in for an unknown id.
const ResolutionEntry kResolutions[CAppData::kResolutionCount] = {
    {0, 1920, 1080}, {1, 1280, 720},  {2, 1366, 768},  {3, 1360, 768},  {4, 1280, 768},
    {5, 1024, 768},  {6, 1280, 1024}, {7, 1920, 1200}, {8, 1600, 1200}, {9, 3840, 2160},
    {10, 3840, 1080}, {11, 5760, 1080}, {12, 1920, 2160}, {13, 5760, 3240},
};

const int kFilterTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 52, 53};

// Logs a file that did not load. One that is there but could not be read or
// is damaged joins the list the start shows the operator and is set aside, so
// that the next save starts it afresh rather than replacing what it held.
bool logLoad(bool loaded, const char *what, const QString &path, QStringList *damaged = nullptr)
{
    if (loaded)
        return true;
    const quint32 error = GetLastError();
    WriteSyslog(LOG_ERR_APP, "CAppData::LoadAll : %s Load Error : Error = %u : File Name = %s", what, error,
                qUtf8Printable(path));
    if (damaged && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        damaged->append(path);
        SetDamagedFileAside(path);
    }
    return false;
}

} // namespace

CAppData::CAppData()
{
    for (int type : kFilterTypes)
        m_filters[type] = std::make_unique<CDispFilterXml>();
}

CAppData::~CAppData() = default;

bool CAppData::SetDataRoot(const QString &baseFolder)
{
    m_dataRoot = baseFolder;
    m_dataFolder = DataFolderOf(baseFolder);
    QString programFolder;
    GetModuleFolder(programFolder);
    GetContentFolders().SetFolders(baseFolder, programFolder);
    SetStagedFilesDataTree(DataTreeOf(baseFolder));
    return CreateDataFolderTree(baseFolder) && GetContentFolders().CreateFolders();
}

bool CAppData::LoadAll()
{
    GetSystemIni().Open(JoinPath(m_dataFolder, QStringLiteral("Q9S.ini")), m_dataRoot);
    GetSettingIni().Open(JoinPath(m_dataFolder, QStringLiteral("Y5.ini")));
    GetAppIni().Open(JoinPath(m_dataFolder, QStringLiteral("Q9A.ini")), m_dataRoot);

    m_damagedFiles.clear();
    bool loaded = logLoad(m_players.Load(GetPlayerFilePath()), "Player", GetPlayerFilePath(), &m_damagedFiles);
    loaded = logLoad(m_groups.Load(GetGroupFilePath()), "Group", GetGroupFilePath(), &m_damagedFiles) && loaded;
    loaded = logLoad(m_displays.Load(GetDisplayFilePath()), "Display", GetDisplayFilePath(), &m_damagedFiles) && loaded;
    loaded = logLoad(m_setups.Load(GetSetupListFilePath()), "SetupList", GetSetupListFilePath(), &m_damagedFiles)
        && loaded;
    loaded = loadLayoutTemplates() && loaded;
    loaded = LoadDispFilters() && loaded;
    return GetContentFolders().LoadLists() && loaded;
}

bool CAppData::loadLayoutTemplates()
{
    const QString folder = GetTemplateFolder();
    if (QFileInfo::exists(JoinPath(folder, QLatin1String(CLayoutTemplateStore::kFileName))))
        return logLoad(m_layouts.LoadFrom(folder), "LayoutTemplate", folder);
    // Without templates no playlist could show anything: a data folder that
    // has none gets the program's own, one for every screen the player
    // settings offer in each orientation. They serve this session even when
    // they cannot be written; the next start tries again.
    m_layouts.RemoveAll();
    for (const ResolutionEntry &entry : kResolutions) {
        for (qint32 orientation : {ORIENTATION_LANDSCAPE, ORIENTATION_PORTRAIT}) {
            qint32 width = 0;
            qint32 height = 0;
            GetResolutionSize(entry.Id, orientation, width, height);
            m_layouts.SetLayout(entry.Id, orientation, CLayoutTemplateStore::DefaultAreas(width, height));
        }
    }
    if (!m_layouts.SaveTo(folder))
        WriteSyslog(LOG_ERR_APP, "CAppData::LoadAll : LayoutTemplate Save Error : Error = %u : Folder = %s",
                    GetLastError(), qUtf8Printable(folder));
    return true;
}

QString CAppData::GetTemplateFolder() const
{
    return JoinPath(m_dataFolder, QStringLiteral("Template"));
}

QString CAppData::GetPlayerFilePath() const
{
    return JoinPath(m_dataFolder, QStringLiteral("Player.xml"));
}

QString CAppData::GetGroupFilePath() const
{
    return JoinPath(m_dataFolder, QStringLiteral("Q9Group.xml"));
}

QString CAppData::GetDisplayFilePath() const
{
    return JoinPath(m_dataFolder, QStringLiteral("Q9Display.xml"));
}

QString CAppData::GetSetupListFilePath() const
{
    return JoinPath(m_dataFolder, QStringLiteral("Q9SetupList.xml"));
}

CDispFilterXml *CAppData::GetDispFilter(int type)
{
    const auto it = m_filters.find(type);
    return it == m_filters.end() ? nullptr : it->second.get();
}

QString CAppData::GetDispFilterPath(int type) const
{
    return JoinPath(m_dataFolder, QStringLiteral("Filter_%1.xml").arg(type));
}

bool CAppData::SaveDispFilter(int type)
{
    CDispFilterXml *filter = GetDispFilter(type);
    if (!filter) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return filter->Save(GetDispFilterPath(type));
}

bool CAppData::LoadDispFilters()
{
    bool loaded = true;
    for (auto &[type, filter] : m_filters)
        loaded = logLoad(filter->Load(GetDispFilterPath(type)), "DispFilter", GetDispFilterPath(type)) && loaded;
    return loaded;
}

const ResolutionEntry *CAppData::GetResolutionTable()
{
    return kResolutions;
}

int CAppData::FindResolution(qint32 id)
{
    for (int i = 0; i < kResolutionCount; ++i) {
        if (kResolutions[i].Id == id)
            return i;
    }
    return -1;
}

void CAppData::GetResolutionSize(qint32 id, qint32 orientation, qint32 &width, qint32 &height)
{
    const ResolutionEntry &entry = kResolutions[std::max(FindResolution(id), 0)];
    const bool portrait = orientation == 1;
    width = portrait ? entry.Height : entry.Width;
    height = portrait ? entry.Width : entry.Height;
}

QList<qint32> CAppData::GetPlayerNumbers(bool skipNoComm) const
{
    QList<qint32> numbers;
    for (const PlayerRecord &player : m_players.CopyPlayers()) {
        if (!skipNoComm || !player.NoComm)
            numbers.append(player.Number);
    }
    return numbers;
}

bool CAppData::MakePlayerFolder(const QString &playerName, QString &path) const
{
    if (!IsSafePathComponent(playerName)) {
        WriteSyslog(LOG_ERR_APP, "CAppData::MakePlayerFolder : Invalid player name : %s", qUtf8Printable(playerName));
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QString folder = JoinPath(JoinPath(m_dataFolder, QStringLiteral("KDP-R40")), playerName);
    // A file in the folder's place is no folder, though its name exists.
    if (CreateFolderPath(folder) <= 0 && (GetLastError() != ERROR_ALREADY_EXISTS || !QFileInfo(folder).isDir()))
        return false;
    path = folder;
    return true;
}

QList<QPair<qint32, qint32>> CAppData::GetResolutionPairs() const
{
    QList<QPair<qint32, qint32>> pairs;
    for (const PlayerRecord &player : m_players.CopyPlayers()) {
        const QPair<qint32, qint32> pair(player.ResolutionId, player.Orientation);
        if (!pairs.contains(pair))
            pairs.append(pair);
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

int CAppData::GetInitSeq() const
{
    return GetSettingIni().Options().InitSeq;
}

bool CAppData::IsInitialSetupDone() const
{
    return GetInitSeq() == CSettingIni::kSetupComplete;
}

int CAppData::GetStreamingLimit() const
{
    return GetSystemIni().GetMaxCount(CONTENT_STREAMING);
}

CAppData &GetAppData()
{
    static CAppData data;
    return data;
}
