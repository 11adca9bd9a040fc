#pragma once
// The list of one content type on a page of the contents pane: the records
// of a content list of the store in its display order, either as an
// owner-drawn report with the type's columns or as thumbnails. Rows hold no
// data of their own; texts and pictures are made when a row is shown.
//
// The same class serves the library lists (pane modes 10 to 16) and the
// lists fetched from one player (mode 17). Its commands never change stored
// data themselves: each goes to an operation of the main frame, and a command
// whose operation the frame does not offer is disabled.

#include "widgets/telv_list_ctrl.h"

#include <QList>

#include <memory>

class CContentsList;
struct ContentsColumn;
class CContentsThumbView;
class CPropertyBase;
class QMenu;
class QMimeData;

// Flags of GetSelectedIndexes.
enum SelectFlag : quint32 {
    SELECT_CHECK_TRANSFER = 0x1,   // refuse contents in the running transfer
    SELECT_ALLOW_EMPTY = 0x4,
    SELECT_NO_VOD_DELETE = 0x8,    // refuse touch-panel playlists (5269)
    SELECT_NO_VOD_COPY = 0x10,     // (5252)
    SELECT_NO_VOD_DEL_DATE = 0x20, // (5411)
    SELECT_NO_PERIOD = 0x40,       // refuse no-play periods (5360)
    SELECT_SILENT = 0x10000000,
};

class CContentsListCtrl : public CTelvListCtrl {
    Q_OBJECT
public:
    static constexpr int kControlId = 1098;
    // Menu resources, by type; 3015 serves every list of mode 17.
    static constexpr int kPlayerMenuId = 3015;

    CContentsListCtrl(int contentType, QWidget *parent);
    ~CContentsListCtrl() override;

    int GetContentType() const { return m_type; }
    int GetMode() const { return m_mode; }
    bool IsRemote() const { return m_mode == 17; }
    // The list shown (player-side in mode 17); null when the store has none.
    CContentsList *GetList() const;

    // Takes the mode, and with it the library or the player-side list.
    void SetMode(int mode);
    // Switches between the report and the thumbnails; rows and columns are
    // dropped (the caller inserts the columns and refreshes).
    void SetThumbnailMode(bool on);
    bool IsThumbnailMode() const { return m_thumbnails; }
    CContentsThumbView *GetThumbView() const { return m_thumbView; }
    // The shown view: the thumbnails or the report.
    QAbstractItemView *GetActiveView();

    // Inserts the columns that the mode allows and the settings show, with
    // their stored widths, and the sort mark.
    void InsertColumns();
    // Drops every column and inserts them again.
    void ReinsertColumns();
    // The row count from the list's display order; every row is shown anew.
    void Refresh();
    void ApplySortMark();
    // The column kind and direction of the list's remembered sort key.
    void GetCurrentSort(int &kind, bool &ascending) const;
    // Sorts by a column kind: a new column ascending, the same one reversed.
    // The selected contents stay selected.
    void SortByColumn(int kind);

    // Selection by content number.
    QList<qint32> GetSelectedContentIndexes() const;
    void SelectContentIndexes(const QList<qint32> &indexes);
    QList<int> GetSelectedRows() const;
    int GetTopRow() const;
    void ScrollToTopRow(int row);
    // The content numbers of the selected rows, checked as the flags ask;
    // false (with its message unless silent) when the selection is refused.
    bool GetSelectedIndexes(QList<qint32> &indexes, quint32 flags);

    // The record of a display row (owned by the list); null outside.
    CPropertyBase *GetRecordAt(int row) const;

    // Commands (menus, tool bar of the pane, keys).
    bool CanExecute(int commandId) const;
    void OnCommand(int commandId);
    // The popup menu of the type for the mode, pruned by CanExecute; each
    // item's data is its command id.
    void BuildContextMenu(QMenu &menu) const;
    // Opens it at global; from the keyboard under the header.
    void ShowContextMenu(const QPoint &global, bool fromKeyboard);
    // The header menu: the columns that the mode allows.
    void ShowHeaderMenu(const QPoint &global);

    // The dragged contents, 48 bytes per selected row; null when a drag may
    // not start here (mode, tab or empty selection).
    QMimeData *CreateDragData() const;
    bool CanStartDrag() const;

    // Row height (owner-drawn report, telop thumbnails).
    int MeasureItem() const;
    // The details of a row as the thumbnail tool tip shows them.
    QString ThumbnailToolTip(int row) const;
    // The row's title in the thumbnail view.
    QString ThumbnailTitle(int row) const;
    // Red for a missing content file, blue for the group's substitute still
    // or screen saver; invalid for the default colour.
    QColor RowTextColor(int row) const;

    // Runs a key that the list handles (Delete, Ctrl+C, Ctrl+V); false for others.
    bool HandleKey(QKeyEvent *event);
    void OnItemEnter(int item) override;

    QString GetItemText(int item, int columnId) const override;

protected:
    void DrawSubItem(QPainter &painter, int item, int columnId, const QRect &cell) const override;
    void DrawSubItems(QPainter &painter, int item, const ListItemColors &colors) const override;
    void OnColumnWidthChanged(int position, int width) override;

    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    bool modeAllowsDrag() const;
    bool isTelopThumbnails() const { return m_thumbnails && m_type == 3; }
    bool isColumnShown(int kind, bool defaultShown) const;
    void updateMarkedIndex();
    void onHeaderClicked(int position);
    void fitTelopColumn();
    int fittingWidth(const ContentsColumn &column) const;
    // Commands.
    bool isRefusedInMode(int commandId) const;
    bool isOperationOffered(int commandId) const;
    bool isCom2Allowed() const;
    bool singleSelection(qint32 &index);
    CPropertyBase *loadRecord(qint32 index);
    QList<quint32> positionsOf(const QList<qint32> &indexes) const;
    void onCopy();
    void onPaste();
    void onNewOrEdit(bool isNew);
    void onEditPlaylistOrBgm();
    void onDelete();
    void onPlay(int commandId);
    void onSend();
    void onSwitchView(bool thumbnails);
    void onReplaceMaterial();
    void onCopyCategory();
    void onToggleColumn(int headerId);
    void openContent();
    void buildSortMenu(QMenu *menu) const;

    int m_type;
    int m_mode = 10;
    bool m_thumbnails = false;
    CContentsThumbView *m_thumbView = nullptr;
    std::unique_ptr<CPropertyBase> m_record; // the buffer handed to operations
    qint32 m_markedIndex = -1;               // substitute still or screen saver in mode 14
};
