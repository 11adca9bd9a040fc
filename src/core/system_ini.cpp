#include "core/system_ini.h"

#include "core/content_type.h"
#include "core/data_folders.h"
#include "core/format_utils.h"
#include "core/last_error.h"

#include <algorithm>
#include <limits>

namespace {

const QString kOption = QStringLiteral("Option");
const QString kExOption = QStringLiteral("ExOption");
const QString kExContents = QStringLiteral("ExContents");
const QString kContentIndex = QStringLiteral("Content\\Index");
const QString kContentUse = QStringLiteral("Content\\Use");
const QString kContentLayer = QStringLiteral("Content\\Layer");
const QString kContentCalendar = QStringLiteral("Content\\Calendar");

constexpr quint64 kMegabyte = 1024 * 1024;

// Counter slots: the media types, then picture-in-picture, then the list types.
constexpr int kSlotPinP = 8;
constexpr int kSlotSchedule = 9; // schedules and sequences
constexpr int kSlotPlaylist = 10;
constexpr int kSlotBgmList = 11;
// The types with a counter of their own, in slot order.
constexpr int kCountedTypes[] = {CONTENT_MOVIE,   CONTENT_IMAGE,     CONTENT_TELOP,    CONTENT_WEB,
                                 CONTENT_FLASH,   CONTENT_AUDIO,     CONTENT_CONTROL,  CONTENT_STREAMING,
                                 CONTENT_PINP,    CONTENT_SCHEDULE,  CONTENT_PLAYLIST, CONTENT_BGMLIST};

bool isMediaType(int type)
{
    return type >= CONTENT_MOVIE && type <= CONTENT_STREAMING;
}

// The types an operator can switch off.
bool hasUseFlag(int type)
{
    return isMediaType(type) || type == CONTENT_PINP;
}

// The types with an [ExContents] limit on their count.
bool hasMaxCount(int type)
{
    return isMediaType(type) || (type >= CONTENT_SCHEDULE && type <= CONTENT_BGMLIST);
}

// [Content\Index] counter and [Content\Use] flag key of each slot.
const char *const kTypeKeys[] = {"Video", "Still", "Text", "Url", "Flash", "Audio", "Control",
                                 "Streaming", "PinP", "Schedule", "Playlist", "BgmList"};

// [ExContents] limit key and default of each slot (none for PinP).
struct MaxCountKey {
    const char *key;
    int defaultValue;
};
const MaxCountKey kMaxCountKeys[] = {
    {"MaxVideo", 2000}, {"MaxStill", 2000}, {"MaxText", 2000}, {"MaxUrl", 2000},
    {"MaxFlash", 2000}, {"MaxAudio", 2000}, {"MaxControl", 200}, {"MaxStreaming", 200},
    {nullptr, 0},       {"MaxSchedule", 200}, {"MaxPlaylist", 2000}, {"MaxAudioList", 200}};

const char *const kLayerKeys[] = {"Audio", "Volume", "Display", "Com1", "Com2"};

// List colours of the content types, shown behind their lists and tabs.
struct ContentColor {
    int type;
    ColorRef color;
};
constexpr ContentColor kContentColors[] = {
    {CONTENT_MOVIE, MakeRgb(255, 226, 226)},    {CONTENT_IMAGE, MakeRgb(226, 240, 255)},
    {CONTENT_TELOP, MakeRgb(255, 250, 214)},    {CONTENT_WEB, MakeRgb(226, 255, 232)},
    {CONTENT_FLASH, MakeRgb(240, 230, 255)},    {CONTENT_AUDIO, MakeRgb(255, 236, 214)},
    {CONTENT_CONTROL, MakeRgb(232, 232, 232)},  {CONTENT_STREAMING, MakeRgb(214, 246, 246)},
    {CONTENT_PINP, MakeRgb(246, 230, 246)},     {CONTENT_SCHEDULE, MakeRgb(230, 246, 214)},
    {CONTENT_PLAYLIST, MakeRgb(214, 230, 255)}, {CONTENT_BGMLIST, MakeRgb(255, 230, 240)},
};

int clampLogLevel(int level)
{
    return std::clamp(level, 0, 7);
}

} // namespace

void CSystemIni::Open(const QString &fileName, const QString &baseFolder)
{
    SetBaseFolder(baseFolder);
    SetFileName(fileName);
    Load();
    LoadLogSettings();
}

void CSystemIni::SetFileName(const QString &fileName)
{
    m_ini.SetFileName(fileName);
}

QString CSystemIni::GetFileName() const
{
    return m_ini.GetFileName();
}

void CSystemIni::SetBaseFolder(const QString &baseFolder)
{
    std::lock_guard lock(m_mutex);
    m_baseFolder = baseFolder;
}

void CSystemIni::Load()
{
    SystemSettings settings;
    loadOptions(settings);
    loadExOptions(settings);
    loadExContents(settings);
    settings.User = m_ini.GetInt(kContentIndex, QStringLiteral("User"), 0);

    std::array<int, 12> counters{};
    for (int type : kCountedTypes)
        counters[counterSlot(type)] = counterFromFile(type);
    std::array<int, 12> maxCounts{};
    for (size_t slot = 0; slot < maxCounts.size(); ++slot) {
        const MaxCountKey &entry = kMaxCountKeys[slot];
        if (entry.key) {
            const int value = m_ini.GetInt(kExContents, QLatin1String(entry.key), entry.defaultValue);
            maxCounts[slot] = std::clamp(value, 0, kMaxCountLimit);
        }
    }

    std::lock_guard lock(m_mutex);
    // The log keys belong to LoadLogSettings and keep their values.
    settings.LogFolder = m_settings.LogFolder;
    settings.LogLevel = m_settings.LogLevel;
    settings.LogKeepDay = m_settings.LogKeepDay;
    m_settings = settings;
    m_counters = counters;
    m_maxCounts = maxCounts;
    for (size_t i = 0; i < m_typeUsed.size(); ++i)
        m_typeUsed[i] = m_ini.GetBool(kContentUse, QLatin1String(kTypeKeys[i]), true);
    for (size_t i = 0; i < m_layerUsed.size(); ++i)
        m_layerUsed[i] = m_ini.GetBool(kContentLayer, QLatin1String(kLayerKeys[i]), false);
}

void CSystemIni::LoadLogSettings()
{
    const QString folder = m_ini.GetString(kExOption, QStringLiteral("LogFolder")).trimmed();
    const int level = clampLogLevel(m_ini.GetInt(kExOption, QStringLiteral("LogLevel"), 5));
    // Zero or fewer days would make the cleaner delete the log being written.
    const int keepDays = readPositive(kExOption, QStringLiteral("LogKeepDay"), 30);
    std::lock_guard lock(m_mutex);
    m_settings.LogFolder = folder.isEmpty() ? defaultLogFolder() : folder;
    m_settings.LogLevel = level;
    m_settings.LogKeepDay = keepDays;
}

SystemSettings CSystemIni::Settings() const
{
    std::lock_guard lock(m_mutex);
    return m_settings;
}

bool CSystemIni::SaveSettings(const SystemSettings &settings)
{
    const auto flag = [](bool on) { return QString::number(on ? 1 : 0); };
    const QString logFolder = settings.LogFolder == defaultLogFolder() ? QString() : settings.LogFolder;
    const QList<ProfileChange> changes{
        {kOption, QStringLiteral("AutoSend"), flag(settings.AutoSend)},
        {kOption, QStringLiteral("AutoSendStartTime"), FormatTimeText(settings.AutoSendStartTime, false)},
        {kOption, QStringLiteral("NotSendStartTime"), FormatTimeText(settings.NotSendStartTime, false)},
        {kOption, QStringLiteral("NotSendEndTime"), FormatTimeText(settings.NotSendEndTime, false)},
        {kExOption, QStringLiteral("R40RetryEnable"), flag(settings.R40RetryEnable)},
        {kExOption, QStringLiteral("R40RetryInterval"), QString::number(settings.R40RetryInterval)},
        {kExOption, QStringLiteral("LogFolder"), logFolder},
        {kExOption, QStringLiteral("LogLevel"), QString::number(clampLogLevel(settings.LogLevel))},
        {kExOption, QStringLiteral("LogKeepDay"), QString::number(settings.LogKeepDay)},
        {kExContents, QStringLiteral("ColorTransparent"), 
         QStringLiteral("0x") + QString::number(settings.ColorTransparent & 0xFFFFFF, 16).toUpper().rightJustified(6, u'0')},
    };
    if (!m_ini.WriteChanges(changes))
        return false;
    Load();
    LoadLogSettings();
    return true;
}

bool CSystemIni::SaveContentTypes(const QList<QPair<int, bool>> &used, const QList<QPair<int, int>> &maxCounts)
{
    QList<ProfileChange> changes;
    for (const auto &[type, on] : used) {
        if (!hasUseFlag(type)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        changes.append({kContentUse, counterKey(type), QString::number(on ? 1 : 0)});
    }
    for (const auto &[type, limit] : maxCounts) {
        if (!hasMaxCount(type) || limit < 0 || limit > kMaxCountLimit) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        changes.append({kExContents, QLatin1String(kMaxCountKeys[counterSlot(type)].key), QString::number(limit)});
    }
    if (!m_ini.WriteChanges(changes))
        return false;
    Load();
    return true;
}

int CSystemIni::GetContentIndex(int type) const
{
    const int slot = counterSlot(type);
    if (slot < 0)
        return 0;
    std::lock_guard lock(m_mutex);
    return m_counters[slot];
}

bool CSystemIni::SetContentIndex(int type, int value)
{
    const int slot = counterSlotOrError(type);
    if (slot < 0)
        return false;
    std::lock_guard lock(m_mutex);
    m_counters[slot] = value;
    return true;
}

bool CSystemIni::AdvanceContentIndex(int type)
{
    const int slot = counterSlotOrError(type);
    if (slot < 0)
        return false;
    std::lock_guard lock(m_mutex);
    m_counters[slot] = NextContentIndex(type, m_counters[slot]);
    return true;
}

bool CSystemIni::SaveContentIndex(int type)
{
    const int slot = counterSlotOrError(type);
    if (slot < 0)
        return false;
    std::lock_guard lock(m_mutex);
    return m_ini.WriteInt(kContentIndex, counterKey(type), m_counters[slot]);
}

int CSystemIni::NextContentIndex(int type, int value)
{
    const int slot = counterSlot(type);
    if (slot < 0)
        return -1;
    const qint64 next = qint64(value) + 1;
    return isInCounterRange(type, next) ? int(next) : counterStart(type);
}

ColorRef CSystemIni::GetContentColor(int type)
{
    for (const ContentColor &entry : kContentColors) {
        if (entry.type == type)
            return entry.color;
    }
    return 0xFFFFFF;
}

int CSystemIni::GetMaxCount(int type) const
{
    if (!hasMaxCount(type))
        return 0;
    std::lock_guard lock(m_mutex);
    return m_maxCounts[counterSlot(type)];
}

int CSystemIni::GetTextSpeed(int index) const
{
    std::lock_guard lock(m_mutex);
    switch (index) {
    case 0:
        return m_settings.TextSpeedLow;
    case 1:
        return m_settings.TextSpeedMiddle;
    case 2:
        return m_settings.TextSpeedHigh;
    default:
        return 100;
    }
}

int CSystemIni::GetTextSize(int index) const
{
    std::lock_guard lock(m_mutex);
    switch (index) {
    case 0:
        return m_settings.TextSizeSmall;
    case 1:
        return m_settings.TextSizeMiddle;
    case 2:
        return m_settings.TextSizeLarge;
    default:
        return -1;
    }
}

bool CSystemIni::IsContentTypeUsed(int type) const
{
    if (type >= CONTENT_CALENDAR && type <= CONTENT_BGMLIST)
        return true;
    if (!hasUseFlag(type))
        return false;
    std::lock_guard lock(m_mutex);
    return m_typeUsed[counterSlot(type)];
}

bool CSystemIni::IsContentLayerUsed(ContentLayer layer) const
{
    std::lock_guard lock(m_mutex);
    return m_layerUsed[size_t(layer)];
}

QString CSystemIni::GetColorName(int index) const
{
    if (index < 0 || index >= kCalendarColorCount)
        return QString();
    return m_ini.GetString(kContentCalendar, QStringLiteral("ColorName_%1").arg(index));
}

bool CSystemIni::SetColorName(int index, const QString &name)
{
    if (index < 0 || index >= kCalendarColorCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return m_ini.WriteString(kContentCalendar, QStringLiteral("ColorName_%1").arg(index), name);
}

int CSystemIni::counterSlot(int type)
{
    if (isMediaType(type))
        return type - CONTENT_MOVIE;
    switch (type) {
    case CONTENT_PINP:
        return kSlotPinP;
    case CONTENT_SCHEDULE:
    case CONTENT_SEQUENCE:
        return kSlotSchedule;
    case CONTENT_PLAYLIST:
        return kSlotPlaylist;
    case CONTENT_BGMLIST:
        return kSlotBgmList;
    default:
        return -1;
    }
}

int CSystemIni::counterSlotOrError(int type)
{
    const int slot = counterSlot(type);
    if (slot < 0)
        SetLastError(ERROR_INVALID_PARAMETER);
    return slot;
}

QString CSystemIni::counterKey(int type)
{
    return QLatin1String(kTypeKeys[counterSlot(type)]);
}

int CSystemIni::counterStart(int type)
{
    return counterSlot(type) == kSlotSchedule ? kScheduleIndexStart : 1;
}

int CSystemIni::counterWrap(int type)
{
    switch (counterSlot(type)) {
    case kSlotSchedule:
        return kScheduleIndexWrap;
    case kSlotPlaylist:
    case kSlotBgmList:
        return kPlaylistIndexWrap;
    default:
        return kMediaIndexWrap;
    }
}

bool CSystemIni::isInCounterRange(int type, qint64 value)
{
    return value >= counterStart(type) && value < counterWrap(type);
}

int CSystemIni::counterFromFile(int type) const
{
    const int start = counterStart(type);
    const int value = m_ini.GetInt(kContentIndex, counterKey(type), start);
    // A stored counter outside its range starts over, as stepping would.
    return isInCounterRange(type, value) ? value : start;
}

quint64 CSystemIni::readByteCount(const QString &section, const QString &key, quint64 defaultValue, quint64 unit) const
{
    const QString text = m_ini.GetString(section, key);
    bool ok = false;
    const quint64 value = text.toULongLong(&ok, 10);
    if (!ok || !IsDecimalDigits(text) || value > std::numeric_limits<quint64>::max() / unit)
        return defaultValue;
    return value * unit;
}

int CSystemIni::readPositive(const QString &section, const QString &key, int defaultValue) const
{
    const int value = m_ini.GetInt(section, key, defaultValue);
    return value > 0 ? value : defaultValue;
}

void CSystemIni::loadOptions(SystemSettings &settings) const
{
    settings.AutoSend = m_ini.GetBool(kOption, QStringLiteral("AutoSend"), settings.AutoSend);
    settings.AutoSendStartTime = m_ini.GetTime(kOption, QStringLiteral("AutoSendStartTime"), settings.AutoSendStartTime);
    settings.NotSendStartTime = m_ini.GetTime(kOption, QStringLiteral("NotSendStartTime"), settings.NotSendStartTime);
    settings.NotSendEndTime = m_ini.GetTime(kOption, QStringLiteral("NotSendEndTime"), settings.NotSendEndTime);
    settings.RemotePowerOn = m_ini.GetBool(kOption, QStringLiteral("RemotePowerOn"), settings.RemotePowerOn);
    settings.ScheduleConf = m_ini.GetBool(kOption, QStringLiteral("ScheduleConf"), settings.ScheduleConf);
}

void CSystemIni::loadExOptions(SystemSettings &settings) const
{
    settings.R40AppendEnable = m_ini.GetBool(kExOption, QStringLiteral("R40AppendEnable"), settings.R40AppendEnable);
    settings.R40RetryEnable = m_ini.GetBool(kExOption, QStringLiteral("R40RetryEnable"), settings.R40RetryEnable);
    // A negative interval would make the retry wait end at once, every pass.
    settings.R40RetryInterval = m_ini.GetInt(kExOption, QStringLiteral("R40RetryInterval"), settings.R40RetryInterval);
    if (settings.R40RetryInterval < 0)
        settings.R40RetryInterval = SystemSettings().R40RetryInterval;
    settings.R40CheckFreeThreshold = readByteCount(kExOption, QStringLiteral("R40CheckFreeThreshold"), settings.R40CheckFreeThreshold, 1);
    settings.R40CheckFreeThresholdAV = readByteCount(kExOption, QStringLiteral("R40CheckFreeThresholdAV"), settings.R40CheckFreeThresholdAV, 1);
    settings.FlashThumbDelay = readPositive(kExOption, QStringLiteral("FlashThumbDelay"), settings.FlashThumbDelay);
    settings.UrlThumbDelay = readPositive(kExOption, QStringLiteral("UrlThumbDelay"), settings.UrlThumbDelay);
    settings.UrlThumbWidth = readPositive(kExOption, QStringLiteral("UrlThumbWidth"), settings.UrlThumbWidth);
    settings.UrlThumbHeight = readPositive(kExOption, QStringLiteral("UrlThumbHeight"), settings.UrlThumbHeight);
    settings.UpdateContNoChgInfo = m_ini.GetBool(kExOption, QStringLiteral("UpdateContNoChgInfo"), settings.UpdateContNoChgInfo);
    settings.RegContMinFree = readByteCount(kExOption, QStringLiteral("RegContMinFree"), settings.RegContMinFree, kMegabyte);
    settings.AutoDelOffsetDay = m_ini.GetInt(kExOption, QStringLiteral("AutoDelOffsetDay"), settings.AutoDelOffsetDay);
    if (settings.AutoDelOffsetDay < 0)
        settings.AutoDelOffsetDay = SystemSettings().AutoDelOffsetDay;
    settings.TelopThumbHeight = readPositive(kExOption, QStringLiteral("TelopThumbHeight"), settings.TelopThumbHeight);
    settings.FontFilter = m_ini.GetBool(kExOption, QStringLiteral("FontFilter"), settings.FontFilter);
}

void CSystemIni::loadExContents(SystemSettings &settings) const
{
    settings.TextSpeedLow = readPositive(kExContents, QStringLiteral("TextSpeedLow"), settings.TextSpeedLow);
    settings.TextSpeedMiddle = readPositive(kExContents, QStringLiteral("TextSpeedMiddle"), settings.TextSpeedMiddle);
    settings.TextSpeedHigh = readPositive(kExContents, QStringLiteral("TextSpeedHigh"), settings.TextSpeedHigh);
    settings.TextSizeSmall = readPositive(kExContents, QStringLiteral("TextSizeSmall"), settings.TextSizeSmall);
    settings.TextSizeMiddle = readPositive(kExContents, QStringLiteral("TextSizeMiddle"), settings.TextSizeMiddle);
    settings.TextSizeLarge = readPositive(kExContents, QStringLiteral("TextSizeLarge"), settings.TextSizeLarge);
    settings.Text24BitColor = m_ini.GetBool(kExContents, QStringLiteral("Text24BitColor"), settings.Text24BitColor);
    settings.ColorTransparent = ColorRef(m_ini.GetInt(kExContents, QStringLiteral("ColorTransparent"), int(settings.ColorTransparent)))
                                & 0xFFFFFF;
}

QString CSystemIni::defaultLogFolder() const
{
    return DataFolderOf(m_baseFolder) + QStringLiteral("/Log");
}

CSystemIni &GetSystemIni()
{
    static CSystemIni instance;
    return instance;
}
