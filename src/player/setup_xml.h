#pragma once
// A player setup document: the settings a player loads from its setup file,
// as sections of named values (<setup><network><ipaddress>...). The stored
// setup "kdp-r40_setup.xml" and its details "detail_setup.xml" live in the
// folder of the setup's number below "TelvData/Q9Data/Setup"; the file sent
// to a player is "kdp-r40_setup_send.xml". The network setup
// "kdp-r40_setup_net.xml" and its send form lie in the Setup folder itself.
// The format is described in docs/file-formats.md.

#include "core/win_types.h"

#include <QList>
#include <QPair>
#include <QString>

// Sections and values the program itself fills.
namespace SetupKey {
inline constexpr char kNetwork[] = "network";   // name, ipaddress, hostname, dhcp, subnetmask, gateway, dns1, dns2
inline constexpr char kHttp[] = "http";         // port, password
inline constexpr char kDisplay[] = "display";   // resolution, orientation
inline constexpr char kClock[] = "clock";       // timezone, summertime
inline constexpr char kPower[] = "power";       // poweronuse, poweron, poweroffuse, poweroff
inline constexpr char kOption[] = "option";     // text
} // namespace SetupKey

// The setup documents' names; each may hold the player's HTTP password.
inline constexpr char kSetupFileName[] = "kdp-r40_setup.xml";
inline constexpr char kSetupSendFileName[] = "kdp-r40_setup_send.xml";
inline constexpr char kSetupNetFileName[] = "kdp-r40_setup_net.xml";
inline constexpr char kSetupNetSendFileName[] = "kdp-r40_setup_net_send.xml";

// The player's path of the setup file it loads.
inline constexpr char kSetupSendRemotePath[] = "/import/kdp-r40_setup_send.xml";

class SetupData {
public:
    struct Section {
        QString name;
        QList<QPair<QString, QString>> values;

        friend bool operator==(const Section &, const Section &) = default;
    };

    // The value, or a null text when the section or name is absent.
    QString Value(const QString &section, const QString &name) const;
    // Sets a value, adding the section and name at the end when new. False
    // with last error 87 when a name is not an element name.
    bool SetValue(const QString &section, const QString &name, const QString &value);
    // Takes every value of other over this data's (details over a setup).
    void MergeFrom(const SetupData &other);
    const QList<Section> &Sections() const { return m_sections; }
    bool IsEmpty() const { return m_sections.isEmpty(); }

    friend bool operator==(const SetupData &, const SetupData &) = default;

private:
    QList<Section> m_sections;
};

class CSetupXml {
public:
    // Reads a setup document. False with last error 2 (3) when the file (its
    // folder) is missing, 13 when it is not a setup document; the data are
    // then empty.
    bool Load(const QString &path);
    // Writes the stored form atomically, readable by its user only: a setup
    // holds the player's HTTP password.
    bool Save(const QString &path) const;
    // Writes the form sent to a player atomically: the same values, with the
    // date and time it was made on the root; private as the stored form.
    bool SaveForSend(const QString &path, const SystemTime &time) const;

    void GetSetupData(SetupData &data) const { data = m_data; }
    void SetSetupData(const SetupData &data) { m_data = data; }

private:
    QByteArray document(const SystemTime *time) const;

    SetupData m_data;
};

// "<base>/TelvData/Q9Data/Setup/<number>/kdp-r40_setup.xml"; the paths are
// empty with last error 87 for an empty base folder or a negative number.
QString MakeSetupFilePath(const QString &baseFolder, int setupNumber);
// "<base>/TelvData/Q9Data/Setup/<number>/detail_setup.xml"
QString MakeDetailSetupFilePath(const QString &baseFolder, int setupNumber);
// "<folder>/kdp-r40_setup_send.xml": the send file made in a folder.
QString MakeSetupSendFilePath(const QString &folder);
// "<base>/TelvData/Q9Data/Setup/<number>/File": files sent with the setup.
QString MakeSetupFileFolderPath(const QString &baseFolder, int setupNumber);
// "<base>/TelvData/Q9Data/Setup/kdp-r40_setup_net.xml", or with forSend
// "kdp-r40_setup_net_send.xml".
QString MakeSetupNetFilePath(const QString &baseFolder, bool forSend);
