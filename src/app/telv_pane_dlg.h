#pragma once
// The base of every pane of the main frame: a modeless dialog shown in a
// child frame (or, for a few panes, in a window of its own). It joins the
// frame's pane list while it exists, keeps its anchored controls in place on
// every restored resize, owns the pane's tool bar (control 1500, placed over
// the placeholder control 1311), and declares the notifications through which
// the frame tells every pane that shared data changed. Each notification does
// nothing by default, so a pane overrides only those that concern it.
//
// Enter and Escape never close a pane. Controls keep their numeric ids as
// their objectName.

#include "widgets/anchor_layout.h"
#include "app/cmd_ui.h"

#include <QDialog>
#include <QSize>

struct ToolBarButton;
class CTelvToolBarCtrl;

// The window that hosts a pane as its client (a child frame of the main
// frame); a pane with any other parent is a window of its own.
class IPaneHost {
public:
    virtual ~IPaneHost() = default;
    // Lets go of the pane, which calls it as its own destruction begins.
    virtual void DetachPane() = 0;
    // The host size that gives the pane a client area of the given size.
    virtual QSize FrameSizeForClient(const QSize &clientSize) const = 0;
};

class CTelvPaneDlg : public QDialog, public ICmdUiTarget {
    Q_OBJECT
public:
    // The placeholder control that marks where the tool bar goes.
    static constexpr int kToolBarPlaceholderId = 1311;

    // Size types of OnSize.
    enum SizeType : int { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

    explicit CTelvPaneDlg(int templateId);
    CTelvPaneDlg(int templateId, QWidget *parent);
    ~CTelvPaneDlg() override;

    int GetTemplateId() const { return m_templateId; }

    // Places the pane in parent (a child frame hosts it as its client; any
    // other parent owns it as a window of its own), runs OnInitDialog the
    // first time, records the initial size and joins the frame's pane list,
    // moving to its end when it is there already. False when the
    // initialisation fails; the pane then joins no list.
    bool Create(QWidget *parent);
    bool IsCreated() const { return m_created; }

    // The pane's size after OnInitDialog; (0, 0) before.
    QSize GetInitialSize() const { return m_initialSize; }

    // Makes the pane's client area the given size: the hosting child frame is
    // resized to hold it, then the pane. Never moves or activates a window.
    void ResizeFrameToClient(const QSize &clientSize);

    // Builds the tool bar from a button table: a button for each entry of id
    // 0 or more that CanExecuteCommand allows, a separator for each negative
    // id. List style shows each button's text beside its image. The bar goes
    // to the top-left corner of control 1311 when the pane has one. False for
    // an empty table or a button that cannot be added.
    bool CreateToolBar(const ToolBarButton *buttons, int count, bool listStyle);
    CTelvToolBarCtrl *GetToolBar() const { return m_toolBar; }

    CAnchorLayout &GetAnchorLayout() { return m_anchors; }

    // Notifications from the main frame.
    virtual void OnFrameActivate(bool active);
    virtual void OnContentsChanged(QWidget *sender);
    virtual void OnColorChanged();
    virtual void OnSettingChanged(int settingId); // negative: all settings
    virtual void OnContentPicked(int viewKind, int index);
    virtual void OnLayoutChanged(QWidget *sender, int flag);
    virtual void OnCheckPlaylistSelected(int listIndex);
    virtual void OnEditPlaylistSelected(int listIndex, int flag);
    virtual void OnPlayerChanged();
    virtual void OnGroupChanged();
    // Asked by the hosting child frame before it hides the pane.
    virtual bool QueryClose();
    virtual void OnContentsListChanged(int contentType, int index, int flag);
    virtual void OnRefreshLists();
    virtual void OnCheckListChanged(int contentType, int flag);
    virtual void OnEditListChanged(int contentType, int flag);
    virtual void OnCheckScheduleChanged();
    virtual void OnEditScheduleChanged(int flag);
    // Asked once per button by CreateToolBar: false leaves the button out.
    virtual bool CanExecuteCommand(int commandId);

    // Commands of the pane's tool bar. The state of a command the pane
    // handles is set on cmdUi (which marks it handled); others go on to the
    // main frame.
    void OnUpdateCommand(CCmdUI &cmdUi) override;
    // Runs a command; false when the pane has no handler for it.
    virtual bool OnCommand(int commandId);

protected:
    // Builds the pane's controls; false makes Create fail.
    virtual bool OnInitDialog();
    // Enter and Escape: nothing, so a pane is never closed by a key.
    virtual void OnOK();
    virtual void OnCancel();
    // After every resize; the anchors follow only a restored size.
    virtual void OnSize(int sizeType, int width, int height);

    void accept() override;
    void reject() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int currentSizeType() const;
    void routeCommand(int commandId);

    int m_templateId;
    bool m_created = false;
    QSize m_initialSize{0, 0};
    CAnchorLayout m_anchors;
    CTelvToolBarCtrl *m_toolBar = nullptr;
};
