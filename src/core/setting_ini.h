#pragma once
// The system options file "Y5.ini" of the data folder: the set-up step of a
// first installation, the players' daily operating hours, the transfer limits,
// the password switches, the passwords and the optional features. The file
// holds the passwords as typed, so it is created, and kept, with mode 0600. The section of the set-up
// and operating-hour keys is spelled "Sysytem" in the file, and stays so.
// Load reads the options into a record that callers copy (Options()); Save
// writes the record back. A value that does not parse falls back to its key's
// default. Thread-safe.

#include "core/profile_ini.h"
#include "core/win_types.h"

#include <QString>

#include <mutex>

// The file's name in the data folder.
constexpr const char *kSettingIniFileName = "Y5.ini";

// The options of "Y5.ini". Fields carry the key names.
struct SystemOptions {
    // [Sysytem]
    int InitSeq = 0; // set-up step of a first installation; 7 = complete
    TimeValue PowerOnTime{10, 0, 0, 0};
    TimeValue PowerOffTime{18, 0, 0, 0};

    // [Option]
    int MaxSession = 5;  // players served at once (1 or more)
    int HttpPort = 4980; // player port when a player record has none (1-65535)
    bool RunPassUse = false;
    bool SetupPassUse = false;
    bool SILocalUrl = false; // as stored; see CSettingIni::IsLocalUrlEnabled
    bool SIUse = false;
    bool SILayer = false;
    bool SIControl = false;
    bool VODUse = false;
    // The start-up and settings passwords, stored as typed (other programs
    // read them so); the file is kept readable by its user only.
    QString RunPassword;
    QString SetupPassword;
};

class CSettingIni {
public:
    static constexpr int kSetupComplete = 7;

    CSettingIni() = default;
    CSettingIni(const CSettingIni &) = delete;
    CSettingIni &operator=(const CSettingIni &) = delete;

    // Sets the file, then Load.
    void Open(const QString &fileName);
    void SetFileName(const QString &fileName);
    QString GetFileName() const;
    // The file exists but is not an INI file (see CProfileIni::IsDamaged).
    bool IsFileDamaged() const { return m_ini.IsDamaged(); }

    void Load();
    // Writes every option of the record to the file; false with the last
    // error when the file cannot be saved.
    bool Save();

    SystemOptions Options() const;
    void SetOptions(const SystemOptions &options);
    void SetInitSeq(int step);

    // Local web-page files may be registered: SILocalUrl, forced on by SIUse.
    bool IsLocalUrlEnabled() const;

private:
    mutable std::mutex m_mutex;
    CProfileIni m_ini;
    SystemOptions m_options;
};

// The system options store of the program.
CSettingIni &GetSettingIni();
