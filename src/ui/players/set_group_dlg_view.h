#pragma once
// The group settings page (view 1527): the groups of "Q9Group.xml" in a
// list with the fields of one group (name, resolution, orientation) and,
// beside them, the players with a check mark on those in the selected group.
// Add, Change (rename) and Remove work on the list; removing a group that
// has players asks first and leaves its players without a group. Ticking a
// player moves it into the selected group. OK saves the groups and the
// players' group names together; until then nothing is stored.

#include "ui/players/player_group_page_dlg_view.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

class CSetGroupDlgView : public CPlayerGroupPageDlgView {
    Q_OBJECT
public:
    // Controls of the page, by their ids.
    static constexpr int kListId = 1430;
    static constexpr int kNameId = 1431;
    static constexpr int kResolutionId = 1432;
    static constexpr int kOrientationId = 1433;
    static constexpr int kAddId = 1441;
    static constexpr int kChangeId = 1442;
    static constexpr int kRemoveId = 1443;
    static constexpr int kMembersId = 1450;

    enum Column : int { COL_NUMBER, COL_NAME, COL_RESOLUTION, COL_PLAYERS, COL_COUNT };

    CSetGroupDlgView();

    void OnAdd() override;
    void OnChange() override;

protected:
    bool OnInitDialog() override;
    void refill() override;
    void showSelected() override;
    bool confirmRemove(int row) override;
    void removeAt(int row) override;

private:
    QLayout *makeFields();
    void fillMembers();
    void updateMembers();
    void onMemberChanged(QListWidgetItem *item);
    CGroupRecord groupFromFields() const;

    QLineEdit *m_name = nullptr;
    QComboBox *m_resolution = nullptr;
    QComboBox *m_orientation = nullptr;
    QListWidget *m_members = nullptr;
    bool m_filling = false;
};
