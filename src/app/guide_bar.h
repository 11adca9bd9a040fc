#pragma once
// The navigation bar down the left edge of the main frame: a scrollable column
// of bitmap buttons, one per main view, with pictures between them and a
// collapsible group of settings pages. The button of the current view is
// drawn pushed.
//
// Each item has a state: 0 shown, 1 hidden (its group is closed, or hidden by
// the frame), 2 shown but disabled, 3 hidden for good (its view is switched
// off in the settings).

#include "widgets/telv_dlg_bar.h"

#include <vector>

class CTelvBmpButton;
class QScrollBar;

class CGuideBar : public CTelvDlgBar {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 2007;
    static constexpr int kBarId = 1502;
    static constexpr quint32 kBarStyle = 0x1402;
    // The command range of the navigation buttons.
    static constexpr int kFirstCommand = 1503;
    static constexpr int kLastCommand = 1538;
    // The settings group: 1524 opens it, 1530 (inside it) closes it.
    static constexpr int kSettingsGroup = 1524;
    static constexpr int kSettingsClose = 1530;

    enum ItemKind : int { KIND_VIEW = 0, KIND_TOGGLE = 1, KIND_PICTURE = 2 };
    enum ItemState : int { STATE_SHOWN = 0, STATE_HIDDEN = 1, STATE_DISABLED = 2, STATE_OFF = 3 };

    // One entry of the fixed button table.
    struct Entry {
        int id;
        int kind;
        int parent;  // -1: none
        int bitmaps[3]; // normal, pressed, current view; -1: none
    };
    static const std::vector<Entry> &ButtonTable();

    // Scroll requests, as a scroll bar sends them.
    enum ScrollCode : int {
        SB_LINEUP = 0,
        SB_LINEDOWN = 1,
        SB_PAGEUP = 2,
        SB_PAGEDOWN = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_BOTTOM = 7,
    };

    CGuideBar();

    bool Create(QWidget *parent);

    // The item position of a command id, or -1.
    int FindItem(int id) const;
    int GetItemState(int id) const; // -1 for an unknown id
    void SetItemState(int id, int state);
    // True when the item's state is 0 or 2.
    bool IsItemAvailable(int id) const;
    // The command state of a navigation command: enabled exactly when its
    // item is shown and enabled.
    bool IsCommandEnabled(int id) const;
    // The command id of the first item drawn pushed; -1 when none.
    int GetCurrentView() const;
    // Draws that item pushed and every other released.
    void Highlight(int id);
    // Opens the group that holds the view (or the toggle's own group).
    void Select(int id);
    // Hides the items of state 1 and 3, lays out the others and shows them.
    void Relayout();
    // Gives every item its state from the table and the settings again (the
    // main views become available once the first set-up is complete), then
    // relays out.
    void RebuildItems();
    CTelvBmpButton *GetButton(int id) const;

    // A click on a navigation button.
    void OnGuideCommand(int id);

    QSize CalcFixedLayout(bool stretch, bool horizontal) const override;

    // Scrolling of the button column, in pixels.
    void OnVScroll(int code, int thumbPosition = 0);
    int GetScrollPos() const { return m_scrollPos; }
    int GetScrollLimit() const; // the largest scroll position
    int GetContentHeight() const { return m_contentHeight; }
    int GetLineStep() const { return m_lineStep; }
    int GetVisibleHeight() const { return m_visibleHeight; }

protected:
    void OnInitDialogBar() override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Item {
        int id = 0;
        int kind = KIND_PICTURE;
        int parent = -1;
        int state = STATE_SHOWN;
        CTelvBmpButton *button = nullptr;
        int height = 0;
    };

    void createButtons();
    void buildItems();
    int initialState(const Entry &entry) const;
    void hideItems();
    void layoutItems();
    void showItems();
    void placeButtons();
    void updateScrollRange();
    void scrollTo(int position);
    void toggleChildren(int parentId);
    bool isShownState(int state) const;

    std::vector<Item> m_items;
    QScrollBar *m_scrollBar = nullptr;
    int m_contentHeight = 0;
    int m_lineStep = 0;
    int m_visibleHeight = 0;
    int m_scrollPos = 0;
};
