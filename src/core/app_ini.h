#pragma once
// The per-user state file "Q9A.ini" of the data folder: window rectangles and
// list columns ([Window_n]), the active pane of each view and the last view
// ([Window]), the last choices of the small dialogs ([Playlist], [Contents],
// [Config]) and the telop editor's last settings ([Telop]).
// Most values are read from the file when asked for and written at once; the
// telop settings and their colour list are held in memory between
// LoadTelopSettings and SaveTelopSettings. Thread-safe.

#include "core/profile_ini.h"
#include "core/win_types.h"

#include <QList>
#include <QString>

#include <mutex>

// The file's name in the data folder.
constexpr const char *kAppIniFileName = "Q9A.ini";

// The telop editor's last choices ([Telop]).
struct TelopSettings {
    QString LastFont;      // face name; empty: the editor's first face
    int LastFontSize = 60; // pixels
    int LastEffect = 0;    // 0, 1, 2 for effect types 1, 2, 3
    int LastSpeed = 1;     // 0 low, 1 middle, 2 high
    bool LastTransparent = false;
};

class CAppIni {
public:
    CAppIni() = default;
    CAppIni(const CAppIni &) = delete;
    CAppIni &operator=(const CAppIni &) = delete;

    // Sets the file and the base folder (the default of the folder choices),
    // then LoadOptions and LoadTelopSettings.
    void Open(const QString &fileName, const QString &baseFolder);
    void SetFileName(const QString &fileName);
    QString GetFileName() const;
    void SetBaseFolder(const QString &baseFolder);
    // The file exists but is not an INI file (see CProfileIni::IsDamaged).
    bool IsFileDamaged() const { return m_ini.IsDamaged(); }

    // [Window_id] WindowLeft, WindowTop, WindowWidth, WindowHeight. A window
    // without a section (or without a positive size) gives an empty rectangle
    // and false.
    bool GetWindowRect(int id, WinRect &rect) const;
    // A negative left or top is stored as 0, keeping the size.
    bool SetWindowRect(int id, const WinRect &rect);
    // [Window] WindowActive_<view> (default 0): the pane on top in a view.
    int GetWindowActive(int viewId) const;
    bool SetWindowActive(int viewId, int window);
    // [Window] LastGuideSelect (default -1): the view left last.
    int GetLastGuideSelect() const;
    bool SetLastGuideSelect(int viewId);
    // [Window] SettingsOpen (default 1): whether the settings group was open.
    bool GetSettingsOpen() const;
    bool SetSettingsOpen(bool open);
    // [Window_mode] ColumnDisp_<type>_<column>: whether a list column is shown.
    bool GetColumnDisp(int mode, int type, int column, bool defaultValue) const;
    bool SetColumnDisp(int mode, int type, int column, bool shown);
    // [Window_mode] ListWidth_<type>_<column>: a list column's width.
    int GetListWidth(int mode, int type, int column, int defaultWidth) const;
    bool SetListWidth(int mode, int type, int column, int width);

    // [Playlist] LastResolution and LastOrientation (default 0).
    int GetLastResolution() const;
    int GetLastOrientation() const;
    bool SetLastResolution(int resolution);
    bool SetLastOrientation(int orientation);

    // [Contents] LastFolder_<type> (default the base folder) and LastExt_<type>
    // (default empty): where the file dialog of a type opens.
    void GetLastFolder(int type, QString &folder, QString &extension) const;
    bool SetLastFolder(int type, const QString &folder, const QString &extension);
    // [Contents] LastPreviewSet (default -1): the preview player's number.
    int GetLastPreviewSet() const;
    bool SetLastPreviewSet(int playerNumber);
    // [Contents] LastThumbDisp_<type> (default 1): thumbnails instead of the list.
    bool GetLastThumbDisp(int type) const;
    bool SetLastThumbDisp(int type, bool thumbnails);
    // [Contents] RecoverContIndex_<group> (default -1): the substitute still.
    int GetRecoverContIndex(int group) const;
    bool SetRecoverContIndex(int group, int contentIndex);
    // [Contents] ScSaverContIndex_<group> (default -1): the user screen saver.
    int GetScSaverContIndex(int group) const;
    bool SetScSaverContIndex(int group, int contentIndex);
    // [Contents] LastPlayMode_<type> (default 0; 1 = play for a given time).
    int GetLastPlayMode(int type) const;
    bool SetLastPlayMode(int type, int mode);
    // [Contents] LastPlayTime_<type> (default "00:00:10").
    PlayLength GetLastPlayTime(int type) const;
    bool SetLastPlayTime(int type, const PlayLength &length);
    // [Contents] LastPlayTelopPosSel and LastPlayTelopPosY (default 0).
    int GetLastPlayTelopPosSel() const;
    bool SetLastPlayTelopPosSel(int selection);
    int GetLastPlayTelopPosY() const;
    bool SetLastPlayTelopPosY(int position);

    // [Config] LastExportFolder (empty gives the base folder).
    QString GetLastExportFolder() const;
    bool SetLastExportFolder(const QString &folder);
    // [Config] LastUpdateFolder (default empty): where firmware files were chosen.
    QString GetLastUpdateFolder() const;
    bool SetLastUpdateFolder(const QString &folder);

    // [Telop] LastTextFolder (default the data folder).
    void GetLastTextFolder(QString &folder) const;
    bool SetLastTextFolder(const QString &folder);
    // Reads [Telop] EditFontSize (points, default 24).
    void LoadOptions();
    int GetEditFontSize() const;

    // Reads / writes [Telop] LastFont, LastFontSize, LastEffect, LastSpeed,
    // LastTransparent and the colour list LastColor_0, LastColor_1, ...
    void LoadTelopSettings();
    bool SaveTelopSettings();
    TelopSettings GetTelopSettings() const;
    void SetTelopSettings(const TelopSettings &settings);

    // The remembered telop colour list (in memory until SaveTelopSettings).
    int GetTelopColorCount() const;
    bool GetTelopColor(int index, ColorRef &color) const;
    bool SetTelopColor(int index, ColorRef color);
    void AddTelopColor(ColorRef color);
    void ClearTelopColors();

private:
    int getContentsInt(const QString &key, int defaultValue) const;
    bool setContentsInt(const QString &key, int value);

    mutable std::mutex m_mutex;
    CProfileIni m_ini;
    QString m_baseFolder;
    int m_editFontSize = 24;
    TelopSettings m_telop;
    QList<ColorRef> m_telopColors;
};

// The per-user state store of the program.
CAppIni &GetAppIni();
