#pragma once
// The system settings file "Q9S.ini" of the data folder: transfer, registration,
// thumbnail, telop and log options, the content limits, the next-number
// counters of the content types and the names of the calendar colours.
// Load reads the options into a record that callers copy (Settings()); the
// counters are kept in memory and written one by one with SaveContentIndex.
// A value that does not parse falls back to its key's default.
// Thread-safe: the transfer engine reads the record from worker threads.

#include "core/profile_ini.h"
#include "core/win_types.h"

#include <QList>
#include <QPair>
#include <QString>

#include <array>
#include <mutex>

// The file's name in the data folder.
constexpr const char *kSystemIniFileName = "Q9S.ini";

// The options of "Q9S.ini" that Load reads. Fields carry the key names.
struct SystemSettings {
    // [Option]
    bool AutoSend = false;
    TimeValue AutoSendStartTime{1, 0, 0, 0};
    TimeValue NotSendStartTime{};
    TimeValue NotSendEndTime{};
    bool RemotePowerOn = false;
    bool ScheduleConf = false;

    // [ExOption]
    bool R40AppendEnable = true;
    bool R40RetryEnable = true;
    int R40RetryInterval = 300; // seconds
    quint64 R40CheckFreeThreshold = 10485760;   // bytes kept free on the player
    quint64 R40CheckFreeThresholdAV = 10485760; // bytes kept free on its AV disk
    int FlashThumbDelay = 1000; // ms
    int UrlThumbDelay = 1000;   // ms
    int UrlThumbWidth = 1920;
    int UrlThumbHeight = 1080;
    bool UpdateContNoChgInfo = false;
    quint64 RegContMinFree = 100ull * 1024 * 1024; // stored in megabytes, kept in bytes
    int AutoDelOffsetDay = 30;
    int TelopThumbHeight = 20;
    bool FontFilter = true;
    QString LogFolder; // "<base>/TelvData/Q9Data/Log" unless set
    int LogLevel = 5;
    int LogKeepDay = 30;

    // [ExContents]
    int TextSpeedLow = 100;
    int TextSpeedMiddle = 150;
    int TextSpeedHigh = 200;
    int TextSizeSmall = 30;
    int TextSizeMiddle = 60;
    int TextSizeLarge = 100;
    bool Text24BitColor = false;
    ColorRef ColorTransparent = 0xFF00FF;

    // [Content\Index]
    int User = 0; // this PC's send number
};

// Layers of [Content\Layer], read when the layer option of the system options is on.
enum class ContentLayer { Audio, Volume, Display, Com1, Com2 };

class CSystemIni {
public:
    // Counter ranges: types 1-8 and 10 count from 1, playlists and BGM lists
    // (52, 53) from 1, schedules and sequences (51, 54 share one counter) from
    // 900001. A counter that reaches its wrap value starts again.
    static constexpr int kMediaIndexWrap = 998999;
    static constexpr int kPlaylistIndexWrap = 98999;
    static constexpr int kScheduleIndexStart = 900001;
    static constexpr int kScheduleIndexWrap = 998999;
    static constexpr int kCalendarColorCount = 8;
    static constexpr int kMaxCountLimit = 9999;

    CSystemIni() = default;
    CSystemIni(const CSystemIni &) = delete;
    CSystemIni &operator=(const CSystemIni &) = delete;

    // Sets the file and the base folder (for the default log folder), then
    // Load and LoadLogSettings.
    void Open(const QString &fileName, const QString &baseFolder);
    void SetFileName(const QString &fileName);
    // The file exists but is not an INI file (see CProfileIni::IsDamaged).
    bool IsFileDamaged() const { return m_ini.IsDamaged(); }
    QString GetFileName() const;
    void SetBaseFolder(const QString &baseFolder);

    // Reads [Option], [ExOption] (all but the log keys), [ExContents],
    // [Content\Index], [Content\Use] and [Content\Layer].
    void Load();
    // Reads [ExOption] LogFolder, LogLevel (0-7) and LogKeepDay.
    void LoadLogSettings();
    // A copy of the loaded options.
    SystemSettings Settings() const;
    // Writes the options the settings pages edit, all in one save: [Option]
    // AutoSend, AutoSendStartTime, NotSendStartTime, NotSendEndTime;
    // [ExOption] R40RetryEnable, R40RetryInterval, LogFolder (empty when it is
    // the default folder, so it follows the base folder), LogLevel,
    // LogKeepDay; [ExContents] ColorTransparent; then reads the options
    // again. The log keys take effect when the log is next opened.
    bool SaveSettings(const SystemSettings &settings);
    // Writes the [Content\Use] flags of the types given (1-8, 10) and the
    // [ExContents] limits of the types given (1-8, 51-53; 0-9999) in one
    // save, then reads the file again. False (87) for another type or a
    // limit out of range, with nothing written.
    bool SaveContentTypes(const QList<QPair<int, bool>> &used, const QList<QPair<int, int>> &maxCounts);

    // The next-number counter of a content type (0 for types without one).
    int GetContentIndex(int type) const;
    // Sets the counter of a type; false (ERROR_INVALID_PARAMETER) for a type
    // without a counter. The value is kept as given until it is stepped.
    bool SetContentIndex(int type, int value);
    // Steps the counter by one, starting again at its wrap value.
    bool AdvanceContentIndex(int type);
    // Writes the counter of the type to the file at once.
    bool SaveContentIndex(int type);
    // The counter after value, with the type's wrap; -1 for a type without a counter.
    static int NextContentIndex(int type, int value);

    // The list colour of a content type; 0xFFFFFF for other types.
    static ColorRef GetContentColor(int type);
    // [ExContents] limit of the type clamped to 0..9999; 0 for types other
    // than 1-8 and 51-53.
    int GetMaxCount(int type) const;
    // TextSpeedLow (0), TextSpeedMiddle (1), TextSpeedHigh (2); 100 otherwise.
    int GetTextSpeed(int index) const;
    // TextSizeSmall (0), TextSizeMiddle (1), TextSizeLarge (2); -1 otherwise.
    int GetTextSize(int index) const;
    // [Content\Use] flag for types 1-8 and 10 (default on); 50-53 always true;
    // other types false.
    bool IsContentTypeUsed(int type) const;
    // [Content\Layer] flag (default off).
    bool IsContentLayerUsed(ContentLayer layer) const;

    // [Content\Calendar] ColorName_n for n 0-7 (empty when unset or out of range).
    QString GetColorName(int index) const;
    bool SetColorName(int index, const QString &name);

private:
    static int counterSlot(int type);
    static int counterSlotOrError(int type);
    static QString counterKey(int type);
    static int counterStart(int type);
    static int counterWrap(int type);
    static bool isInCounterRange(int type, qint64 value);
    int counterFromFile(int type) const;
    quint64 readByteCount(const QString &section, const QString &key, quint64 defaultValue, quint64 unit) const;
    int readPositive(const QString &section, const QString &key, int defaultValue) const;
    void loadOptions(SystemSettings &settings) const;
    void loadExOptions(SystemSettings &settings) const;
    void loadExContents(SystemSettings &settings) const;
    void loadContentFlags();
    QString defaultLogFolder() const;

    mutable std::mutex m_mutex;
    CProfileIni m_ini;
    QString m_baseFolder;
    SystemSettings m_settings;
    std::array<int, 12> m_counters{};
    std::array<int, 12> m_maxCounts{};
    std::array<bool, 9> m_typeUsed{};
    std::array<bool, 5> m_layerUsed{};
};

// The system settings store of the program.
CSystemIni &GetSystemIni();
