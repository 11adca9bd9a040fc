#pragma once
// The application data: the data root and the documents kept beside the
// content lists (players, groups, displays, named setups, display filters),
// the screen-resolution table, and the values other parts ask for by player
// or by group.

#include "model/disp_filter_xml.h"
#include "model/harl_player_xml.h"
#include "model/layout_template_store.h"
#include "model/q9_display_xml.h"
#include "model/q9_group_xml.h"
#include "model/q9_setup_list_xml.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <map>
#include <memory>

// One entry of the screen-resolution table: the total picture of a player's
// displays in landscape.
struct ResolutionEntry {
    qint32 Id;
    qint32 Width;
    qint32 Height;
};

class CAppData {
public:
    static constexpr int kResolutionCount = 14;

    CAppData();
    ~CAppData();
    CAppData(const CAppData &) = delete;
    CAppData &operator=(const CAppData &) = delete;

    // Sets the data root (the base folder), creates the data folder tree and
    // derives the paths of the data files. False with the last error when a
    // folder cannot be created.
    bool SetDataRoot(const QString &baseFolder);
    const QString &GetDataRoot() const { return m_dataRoot; }
    // "<root>/TelvData/Q9Data"
    const QString &GetDataFolder() const { return m_dataFolder; }

    // Opens the settings files and reads the players, groups, displays,
    // setups and display filters, then the content lists. False when any file
    // failed to load (each is logged; the others are read all the same).
    bool LoadAll();
    // The player, group, display and setup-list files the last LoadAll found
    // there but unreadable or damaged; their lists stay empty and each file
    // is set aside as "<file>.damaged", so a save starts it afresh.
    QStringList GetDamagedFiles() const { return m_damagedFiles; }

    CHarlPlayerXml &GetPlayerXml() { return m_players; }
    QString GetPlayerFilePath() const;
    CQ9GroupXml &GetGroupXml() { return m_groups; }
    QString GetGroupFilePath() const;
    CQ9DisplayXml &GetDisplayXml() { return m_displays; }
    QString GetDisplayFilePath() const;
    CQ9SetupListXml &GetSetupListXml() { return m_setups; }
    QString GetSetupListFilePath() const;
    // The screen layout templates, kept in the Template folder, and the
    // layout in use.
    CLayoutTemplateStore &GetLayoutTemplates() { return m_layouts; }
    QString GetTemplateFolder() const;
    CurrentLayout &GetCurrentLayout() { return m_currentLayout; }

    // The display filter of a type (1-8, 52, 53); null for other types.
    CDispFilterXml *GetDispFilter(int type);
    QString GetDispFilterPath(int type) const;
    bool SaveDispFilter(int type);
    // Reads every display filter from its file again.
    bool LoadDispFilters();

    // The screen-resolution table.
    static const ResolutionEntry *GetResolutionTable();
    // Position of an id in the table, or -1.
    static int FindResolution(qint32 id);
    // Total width and height of a resolution id (entry 0 for an unknown id),
    // swapped for the portrait orientation (1).
    static void GetResolutionSize(qint32 id, qint32 orientation, qint32 &width, qint32 &height);

    // Numbers of all players; with skipNoComm the players set not to
    // communicate are left out.
    QList<qint32> GetPlayerNumbers(bool skipNoComm) const;
    // The player's local folder "<data>/KDP-R40/<name>", created. False
    // (logged, error 87) when the name is not one safe folder name.
    bool MakePlayerFolder(const QString &playerName, QString &path) const;
    // The distinct (resolution id, orientation) pairs of the players, sorted.
    QList<QPair<qint32, qint32>> GetResolutionPairs() const;

    // The initial set-up: its step, and whether it is complete.
    int GetInitSeq() const;
    bool IsInitialSetupDone() const;
    // How many streaming contents may be registered.
    int GetStreamingLimit() const;

private:
    // Reads the layout templates, or writes the program's own into a
    // Template folder that has none.
    bool loadLayoutTemplates();

    QString m_dataRoot;
    QString m_dataFolder;
    QStringList m_damagedFiles;
    CHarlPlayerXml m_players;
    CQ9GroupXml m_groups;
    CQ9DisplayXml m_displays;
    CQ9SetupListXml m_setups;
    CLayoutTemplateStore m_layouts;
    CurrentLayout m_currentLayout;
    std::map<int, std::unique_ptr<CDispFilterXml>> m_filters;
};

// The program's application data.
CAppData &GetAppData();
