#pragma once
// The contents pane: one tab per content type, each tab page the list of
// that type. One instance follows the navigation modes 10 to 16 (contents
// management, playlist, BGM list and schedule editing, delivery in advance,
// schedule delivery, interrupt playback); a second serves mode 17, the
// contents held on one player. The pane builds the tab set of its mode,
// keeps the group (or player) choice, counts the listed records in the frame
// title and routes every command to the list of the visible tab.

#include "app/pane_roles.h"
#include "app/telv_pane_dlg.h"

#include <QPointer>

#include <array>
#include <optional>
#include <vector>

class CContentsListDlg;
class CContentsListCtrl;
class CContentsTabCtrl;
class CFilterDlg;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedLayout;

class CContentsDlgView : public CTelvPaneDlg, public IContentsView {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2003;
    static constexpr quint32 kTitleId = 5501;
    static constexpr int kPageCount = 12;

    // Control ids.
    enum : int {
        IDC_COMBO_LABEL = 1222,
        IDC_SEPARATOR = 1224,
        IDC_COMBO = 1082,
        IDC_ACTION = 1030,
        IDC_STOP = 1032,
        IDC_RESOLUTION = 6430,
    };

    explicit CContentsDlgView(int mode);
    ~CContentsDlgView() override;

    // IContentsView: the first call starts the mode, later ones change it.
    void SetViewMode(int mode) override;
    int GetViewMode() const override { return m_mode; }
    void SetPlaylistFilter(bool on) override;
    bool IsPlaylistFilterOn() const { return m_playlistFilter; }

    void InitMode(int mode);
    void ChangeMode(int mode);
    // Makes a tab current and shows its page; false without tabs or page.
    bool SelectTab(int index);
    int GetVisibleTab() const { return m_visibleTab; }
    CContentsTabCtrl *GetTabCtrl() const { return m_tabs; }
    // The page of a content type (null for a type without one).
    CContentsListDlg *GetPage(int type) const;
    // The list of the visible tab; null when no page is visible.
    CContentsListCtrl *GetVisibleList() const;
    QString GetFrameTitle() const { return m_title; }
    CFilterDlg *GetFilterDlg() const;

    // Notifications.
    void OnSettingChanged(int settingId) override;
    void OnPlayerChanged() override;
    void OnGroupChanged() override;
    void OnContentsListChanged(int contentType, int index, int flag) override;
    void OnRefreshLists() override;
    bool CanExecuteCommand(int commandId) override;
    void OnUpdateCommand(CCmdUI &cmdUi) override;
    bool OnCommand(int commandId) override;

protected:
    bool OnInitDialog() override;

private:
    struct TabEntry {
        quint32 captionId; // 0 for a separator
        int type;          // 0 for a separator
    };
    struct SavedSelection {
        int type = 0;
        int topRow = 0;
        QList<qint32> indexes;
    };

    void createControls();
    void createPages();
    std::vector<TabEntry> tabSetOf(int mode);
    void buildTabSet();
    void fillTabControl();
    void fillCombo();
    void showModeControls();
    void rebuildToolBar(int type);
    bool isUsed(const TabEntry &entry) const;
    int visibleType() const;
    void updateFrameTitle();
    void onComboConfirmed(int index);
    void onTabChanged(int index);
    void onActionButton();
    void onStopButton();
    void updateStopButton();
    void registerFiles();
    void openFilter();
    void exploreLastFolder();
    void saveSelections(int mode);
    void restoreSelections(int mode);
    void forEachPage(const std::function<void(CContentsListDlg &)> &action);
    bool isListCommand(int commandId) const;
    bool isCommandEnabled(int commandId) const;
    static int modeSlot(int mode);

    QWidget *m_captionBand = nullptr;
    QLabel *m_comboLabel = nullptr;
    QComboBox *m_combo = nullptr;
    QPushButton *m_action = nullptr;
    QPushButton *m_stop = nullptr;
    QLabel *m_resolution = nullptr;
    int m_lastComboSel = -1;
    CContentsTabCtrl *m_tabs = nullptr;
    QWidget *m_pageArea = nullptr;
    QStackedLayout *m_pageStack = nullptr;
    bool m_initialized = false;
    int m_visibleTab = -1;
    int m_mode;
    QPointer<CFilterDlg> m_filterDlg;
    std::array<CContentsListDlg *, kPageCount> m_pages{};
    std::vector<CContentsListDlg *> m_tabPages;
    std::array<std::vector<std::optional<SavedSelection>>, 7> m_savedSelections;
    std::array<int, 7> m_lastTypes{};
    bool m_playlistFilter = false;
    QString m_title;
};
