#include "model/contents_store.h"

#include "core/content_id.h"
#include "core/data_folders.h"
#include "core/file_utils.h"
#include "core/last_error.h"
#include "core/path_utils.h"
#include "core/syslog.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/path_safety.h"

#include <QDir>
#include <QFile>

namespace {

struct ListFile {
    int type;
    const char *fileName;
    const char *sampleName;
};

const ListFile kListFiles[] = {
    {1, "VideoList.xml", "SampleVideo.xml"},
    {2, "StillList.xml", "SampleStill.xml"},
    {3, "TextList.xml", "SampleText.xml"},
    {4, "UrlList.xml", "SampleUrl.xml"},
    {5, "FlashList.xml", "SampleFlash.xml"},
    {6, "AudioList.xml", "SampleAudio.xml"},
    {7, "ControlList.xml", "SampleControl.xml"},
    {8, "StreamingList.xml", "SampleStreaming.xml"},
    {10, "PinPList.xml", "SamplePinP.xml"},
    {52, "PlaylistList.xml", "SamplePlaylist.xml"},
    {53, "BgmList.xml", "SampleBgm.xml"},
    {51, "ScheduleList.xml", nullptr},
    {50, "CalendarList.xml", nullptr},
};

// The player keeps no background-music list of its own.
const int kRemoteListTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 52, 51, 50};
const int kGroupListTypes[] = {51, 50};
const int kScratchTypes[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 50, 51, 52, 53, 54};

const ListFile *listFileOf(int type)
{
    for (const ListFile &entry : kListFiles) {
        if (entry.type == type)
            return &entry;
    }
    return nullptr;
}

// Sub-folders of the content root by content type.
const char *contentSubFolder(int type)
{
    switch (type) {
    case 1:
        return "Video";
    case 2:
        return "Still";
    case 4:
        return "Url";
    case 5:
        return "Flash";
    case 6:
        return "Audio";
    default:
        return nullptr;
    }
}

// Each list is of its type's class (the calendar lists answer date and
// overlap queries).
template <class Types>
void makeLists(std::map<int, std::unique_ptr<CContentsList>> &set, const Types &types)
{
    for (int type : types)
        set[type] = CreateContentsList(type);
}

bool includes(int which, int type)
{
    return which == 0 || which == type;
}

bool saveLogged(CContentsList &list, const QString &path, int flag)
{
    if (list.Save(path, flag))
        return true;
    WriteSyslog(LOG_ERR_APP, "CContentsList::Save Error : Error = %u : File Name = %s", list.GetLastError(),
                qUtf8Printable(path));
    return false;
}

} // namespace

CContentsStore::CContentsStore()
{
    for (const ListFile &entry : kListFiles) {
        m_library[entry.type] = CreateContentsList(entry.type);
        m_work[entry.type] = CreateContentsList(entry.type);
    }
    makeLists(m_workGroup, kGroupListTypes);
    makeLists(m_remote, kRemoteListTypes);
    for (int type : kScratchTypes)
        m_workProperties[type] = CreateProperty(type);
}

CContentsStore::~CContentsStore() = default;

void CContentsStore::SetFolders(const QString &dataRoot, const QString &sampleFolder)
{
    m_dataFolder = DataFolderOf(dataRoot);
    m_contentRoot = ContentFolderOf(dataRoot);
    m_sampleFolder = sampleFolder;
    m_playlistFolder = JoinPath(m_dataFolder, QStringLiteral("ContentData/Playlist"));
    m_sequenceFolder = JoinPath(m_playlistFolder, QStringLiteral("Sequence"));
    m_secondPlaylistFolder = JoinPath(sampleFolder, QStringLiteral("Playlist"));
    m_secondSequenceFolder = JoinPath(m_secondPlaylistFolder, QStringLiteral("Sequence"));
    for (PlaylistModels *models : {&m_playlistModels, &m_secondPlaylistModels, &m_scratchPlaylistModels}) {
        for (CPlaylistEditModel &model : *models)
            model.SetFolders(m_playlistFolder, m_sequenceFolder);
    }
}

CPlaylistEditModel *CContentsStore::modelOf(PlaylistModels &models, int type)
{
    if (type == CONTENT_PLAYLIST)
        return &models[0];
    if (type == CONTENT_BGMLIST)
        return &models[1];
    return nullptr;
}

CPlaylistEditModel *CContentsStore::GetPlaylistModel(int type)
{
    return modelOf(m_playlistModels, type);
}

CPlaylistEditModel *CContentsStore::GetSecondPlaylistModel(int type)
{
    return modelOf(m_secondPlaylistModels, type);
}

CPlaylistEditModel *CContentsStore::GetScratchPlaylistModel(int type)
{
    return modelOf(m_scratchPlaylistModels, type);
}

bool CContentsStore::CreateFolders()
{
    QStringList folders{JoinPath(m_dataFolder, QStringLiteral("ContentData")), m_playlistFolder, m_sequenceFolder};
    for (int type : {1, 2, 4, 5, 6})
        folders << GetContentFolder(type);
    for (const QString &folder : folders) {
        if (CreateFolderPath(folder) <= 0 && GetLastError() != ERROR_ALREADY_EXISTS) {
            WriteSyslog(LOG_ERR_WIN, "CContentsStore::CreateFolders : CreateFolderPath Error : Error = %u : %s",
                        GetLastError(), qUtf8Printable(folder));
            return false;
        }
    }
    return true;
}

QString CContentsStore::GetContentFolder(int type) const
{
    const char *sub = contentSubFolder(type);
    return sub && !m_contentRoot.isEmpty() ? JoinPath(m_contentRoot, QString::fromLatin1(sub)) : QString();
}

bool CContentsStore::MakeContentFilePath(int type, const QString &fileName, QString &path) const
{
    const QString folder = GetContentFolder(type);
    if (folder.isEmpty() || !JoinInsideFolder(folder, fileName, path)) {
        WriteSyslog(LOG_ERR_APP, "CContentsStore::MakeContentFilePath : Invalid file name : Type = %d : %s", type,
                    qUtf8Printable(fileName));
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

bool CContentsStore::groupFolder(const QString &group, QString &folder) const
{
    if (!IsSafePathComponent(group)) {
        WriteSyslog(LOG_ERR_APP, "CContentsStore : Invalid group name : %s", qUtf8Printable(group));
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    folder = JoinPath(JoinPath(JoinPath(m_dataFolder, QStringLiteral("Group")), group), QStringLiteral("Schedule"));
    return true;
}

bool CContentsStore::GetGroupScheduleFolders(const QString &group, QString &scheduleFolder,
                                             QString &sequenceFolder) const
{
    QString folder;
    if (!groupFolder(group, folder))
        return false;
    scheduleFolder = folder;
    sequenceFolder = JoinPath(folder, QStringLiteral("Sequence"));
    return true;
}

QString CContentsStore::ListFileName(int type)
{
    const ListFile *entry = listFileOf(type);
    return entry ? QString::fromLatin1(entry->fileName) : QString();
}

QString CContentsStore::GetListPath(int type) const
{
    const QString name = ListFileName(type);
    return name.isEmpty() ? QString() : JoinPath(JoinPath(m_dataFolder, QStringLiteral("ContentData")), name);
}

CContentsList *CContentsStore::find(ListSet &set, int type)
{
    const auto it = set.find(type);
    return it == set.end() ? nullptr : it->second.get();
}

CContentsList *CContentsStore::GetList(int type)
{
    return find(m_library, type);
}

CContentsList *CContentsStore::GetWorkList(int type)
{
    return find(m_work, type);
}

CContentsList *CContentsStore::GetRemoteList(int type)
{
    return find(m_remote, type);
}

CContentsList *CContentsStore::GetWorkGroupList(int type)
{
    return find(m_workGroup, type);
}

CPropertyBase *CContentsStore::GetWorkProperty(int type)
{
    const auto it = m_workProperties.find(type);
    return it == m_workProperties.end() ? nullptr : it->second.get();
}

CPropertyBase *CContentsStore::FindRecord(int type, qint32 index)
{
    CContentsList *list = GetList(type);
    if (!list)
        return nullptr;
    const int position = list->FindCode(index);
    return position < 0 ? nullptr : list->GetAt(position);
}

bool CContentsStore::CopyRecord(int type, qint32 index, CPropertyBase *out)
{
    CContentsList *list = GetList(type);
    const int position = list ? list->FindCode(index) : -1;
    if (position < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return list->Get(position, out);
}

qint32 CContentsStore::GetNewCode(int type, int &counter, const CContentsList *alsoFree)
{
    const CContentsList *list = GetList(type == CONTENT_SEQUENCE ? CONTENT_SCHEDULE : type);
    const int start = GetSystemIni().GetContentIndex(type);
    const int user = GetSystemIni().Settings().User;
    if (!list || start <= 0)
        return -1;
    int value = start;
    do {
        const int number = MakeContentId(user, type, value);
        if (number < 0)
            return -1;
        if (list->FindCode(number) < 0 && (!alsoFree || alsoFree->FindCode(number) < 0)) {
            counter = value;
            return number;
        }
        value = CSystemIni::NextContentIndex(type, value);
    } while (value != start && value > 0);
    return -1;
}

void CContentsStore::keepDamagedFile(const QString &path) const
{
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    const bool kept = QFile::copy(path, aside);
    WriteSyslog(LOG_ERR_APP, "CContentsStore : List file damaged : %s : %s", qUtf8Printable(path),
                kept ? "kept as .damaged" : "could not be kept");
}

bool CContentsStore::loadInto(CContentsList &list, const QString &path, int flag)
{
    if (list.Load(path))
        return true;
    WriteSyslog(LOG_ERR_APP, "CContentsList::Load Error : Error = %u : File Name = %s", list.GetLastError(),
                qUtf8Printable(path));
    if (list.GetLastError() == ERROR_INVALID_DATA)
        keepDamagedFile(path);
    if (flag != 0)
        list.RemoveAll();
    return false;
}

bool CContentsStore::LoadLists()
{
    bool loaded = true;
    for (int type : kLibraryListTypes) {
        CContentsList &list = *GetList(type);
        loaded = loadInto(list, GetListPath(type), 1) && loaded;
        const ListFile *entry = listFileOf(type);
        const QString sample = JoinPath(m_sampleFolder, QString::fromLatin1(entry->sampleName));
        if (!m_sampleFolder.isEmpty() && !list.Merge(sample))
            WriteSyslog(LOG_ERR_APP, "CContentsList::Merge Error : Error = %u : File Name = %s", list.GetLastError(),
                        qUtf8Printable(sample));
        ApplyDispFilter(type);
    }
    return loaded;
}

bool CContentsStore::SaveLists(int type, int flag)
{
    bool saved = true;
    for (int listType : kLibraryListTypes) {
        if (!includes(type, listType))
            continue;
        const int listFlag = (listType == CONTENT_CONTROL || listType == CONTENT_PINP) ? 0 : flag;
        saved = saveLogged(*GetList(listType), GetListPath(listType), listFlag) && saved;
    }
    if (type != 0 && !listFileOf(type)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return saved;
}

bool CContentsStore::loadGroupSet(ListSet &set, const QString &group, int flag)
{
    QString folder;
    if (!groupFolder(group, folder))
        return false;
    bool loaded = true;
    for (int type : kGroupListTypes)
        loaded = loadInto(*find(set, type), JoinPath(folder, ListFileName(type)), flag) && loaded;
    return loaded;
}

bool CContentsStore::saveGroupSet(ListSet &set, const QString &group, int which, int flag)
{
    QString folder;
    if (!groupFolder(group, folder))
        return false;
    if (CreateFolderPath(folder) <= 0 && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    bool saved = true;
    for (int type : kGroupListTypes) {
        if (includes(which, type))
            saved = saveLogged(*find(set, type), JoinPath(folder, ListFileName(type)), flag) && saved;
    }
    return saved;
}

bool CContentsStore::SetCurrentGroup(const QString &group)
{
    QString folder;
    if (!groupFolder(group, folder))
        return false;
    m_currentGroup = group;
    return loadGroupSet(m_library, group, 1);
}

bool CContentsStore::LoadGroupSchedules(const QString &group, int flag)
{
    return loadGroupSet(m_workGroup, group, flag);
}

bool CContentsStore::SaveGroupLists(const QString &group, int which, int flag)
{
    return saveGroupSet(m_library, group, which, flag);
}

bool CContentsStore::SaveWorkGroupLists(const QString &group, int which, int flag)
{
    return saveGroupSet(m_workGroup, group, which, flag);
}

void CContentsStore::SetCurrentPlayer(const PlayerRecord &player)
{
    m_currentPlayer = player;
}

bool CContentsStore::LoadRemoteLists(const PlayerRecord &player, int flag)
{
    if (!IsSafePathComponent(player.Name)) {
        WriteSyslog(LOG_ERR_APP, "CContentsStore::LoadRemoteLists : Invalid player name : %s",
                    qUtf8Printable(player.Name));
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const QString folder = JoinPath(JoinPath(m_dataFolder, QStringLiteral("KDP-R40")), player.Name);
    bool loaded = true;
    for (int type : kRemoteListTypes)
        loaded = loadInto(*GetRemoteList(type), JoinPath(folder, ListFileName(type)), flag) && loaded;
    return loaded;
}

int CContentsStore::GetSortKey(int type, bool remote) const
{
    const ListSet &set = remote ? m_remote : m_library;
    const auto it = set.find(type);
    return it == set.end() ? 0 : it->second->GetSortKey();
}

bool CContentsStore::SortList(int type, int key)
{
    CContentsList *list = GetList(type);
    if (!list)
        return false;
    list->Sort(key);
    return true;
}

bool CContentsStore::SortRemoteList(int type, int key)
{
    CContentsList *list = GetRemoteList(type);
    if (!list)
        return false;
    list->Sort(key);
    return true;
}

void CContentsStore::SetPlaylistFilter(bool on, qint32 resolution, qint32 orientation)
{
    GetList(CONTENT_PLAYLIST)->SetPlaylistFilter(on, resolution, orientation);
}

bool CContentsStore::ApplyDispFilter(int type)
{
    CContentsList *list = GetList(type);
    const CDispFilterXml *filter = GetAppData().GetDispFilter(type);
    if (!list || !filter)
        return false;
    list->SetDisplayFilter(filter->GetFilter());
    return true;
}

CContentsStore &GetContentFolders()
{
    static CContentsStore store;
    return store;
}
