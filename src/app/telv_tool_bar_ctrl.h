#pragma once
// The tool bar of a pane. Each button has a normal, a hot (mouse over) and a
// disabled image from the icon resources, a tool tip with the string whose id
// is its command id, and, in list style, that string as its text beside the
// image. While the bar is visible its buttons' states are kept up to date, on
// the program's idle beat, by asking the pane and then the main frame about
// each command.

#include <QSize>
#include <QToolBar>

struct CCmdUI;

// One entry of a pane's button table, laid out as the tables are stored.
struct ToolBarButton {
    qint32 command;    // command id; negative: a separator
    quint8 state;      // TBSTATE_* bits
    quint8 style;      // BTNS_* bits
    quint8 reserved[2];
    qint32 normalIcon; // icon resource ids
    qint32 hotIcon;
    qint32 disabledIcon;
};
static_assert(sizeof(ToolBarButton) == 20, "button table entries are 20 bytes");

// Button state bits.
enum : quint8 {
    TBSTATE_CHECKED = 0x01,
    TBSTATE_ENABLED = 0x04,
    TBSTATE_HIDDEN = 0x08,
};
// Button style bits.
enum : quint8 {
    BTNS_BUTTON = 0x00,
    BTNS_CHECK = 0x02,
};

class CTelvToolBarCtrl : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kControlId = 1500;

    explicit CTelvToolBarCtrl(QWidget *parent = nullptr);

    // Sets the image size and the text placement. False for an empty size.
    bool Initialize(const QSize &buttonSize, bool listStyle);
    bool IsListStyle() const { return m_listStyle; }

    bool AddButton(const ToolBarButton &button);
    void AddSeparator();
    // Removes separators at the start, at the end and after another one.
    void RemoveExtraSeparators();

    // The button of a command (its objectName is the command id); null when
    // there is none.
    QAction *FindButton(int commandId) const;
    int GetButtonCount() const; // buttons and separators
    // The size that shows every button.
    QSize GetMaxSize() const;

    // Brings every button's enabled and checked state up to date: the pane
    // (the bar's parent) is asked first, then the main frame; with
    // disableIfNoHandler a command that neither knows is disabled.
    void OnIdleUpdateCmdUI(bool disableIfNoHandler = true);

signals:
    // A button was clicked.
    void commandTriggered(int commandId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void updateCommandState(CCmdUI &cmdUi) const;

    bool m_listStyle = false;
};
