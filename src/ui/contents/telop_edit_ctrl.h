#pragma once
// The telop edit control: shows and edits a telop with per-character style
// and colour. It holds the text as a CTelopTextDoc and paints every
// character itself from it, places the caret and hit-tests the mouse from the
// measured cell widths, and keeps one level of undo (a second undo redoes).
// The same class serves the telop editor (editing) and its preview, where
// the whole text is one horizontal line and nothing can be changed.
//
// After every change, caret moves included, it emits Changed; after every
// change of the text, its styles or its colours also Modified.

#include "core/win_types.h"
#include "ops/telop_document.h"
#include "ops/telop_files.h"

#include <QAbstractScrollArea>
#include <QList>

class QMenu;
struct TelopDrawOptions;

class CTelopEditCtrl : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kControlId = 1151;
    static constexpr int kWidthLimit = 20000;
    // A line of the text ends in CR LF.
    static constexpr char16_t kCr = u'\r';
    static constexpr char16_t kLf = u'\n';
    // Context-menu and tool commands.
    enum Command : int {
        ID_TEXT_COLOR = 4053,
        ID_STYLE_BOLD = 4054,
        ID_STYLE_ITALIC = 4055,
        ID_STYLE_NORMAL = 4056,
        ID_STYLE_UNDERLINE = 4057,
    };

    explicit CTelopEditCtrl(bool editing, QWidget *parent = nullptr);

    bool IsEditing() const { return m_editing; }
    CTelopTextDoc &GetTextDoc() { return m_text; }
    const CTelopTextDoc &GetTextDoc() const { return m_text; }

    // Face and size (cell height in pixels) of the text and of the window.
    int SetFont(const QString &face, int size);
    void SetDisplayFont(const QString &face, int size);
    void GetFont(QString &face, int &size) const;

    ColorRef GetBackColor() const { return m_palette[0]; }
    ColorRef GetTextColor() const { return m_palette[1]; }
    ColorRef GetPaletteColor(int index) const;
    void SetPaletteColor(int index, ColorRef color);
    const TelopPalette &GetPalette() const { return m_palette; }
    void SetBackColor(ColorRef color);
    // Palette entry 1, and the colour of text typed into an empty telop.
    void SetTextColor(ColorRef color);
    void SetTransparentColor(ColorRef color) { m_transparent = color; }
    ColorRef GetTransparentColor() const { return m_transparent; }
    int GetColorDepth() const { return m_depth; }
    void SetColorDepth(int depth) { m_depth = depth; }
    int GetTabWidth() const { return m_tabWidth; }

    // The most characters the text takes from typing, pasting and importing.
    void SetLimitText(int limit) { m_limit = limit; }
    int GetLimitText() const { return m_limit; }
    // Whether Enter breaks the line (scrolling telops only).
    void SetWantReturn(bool wantReturn) { m_wantReturn = wantReturn; }
    bool GetWantReturn() const { return m_wantReturn; }
    // Characters from this index on are drawn inverted in the editor; -1 none.
    void SetOverflowPos(int index);

    // The plain text with CR LF line breaks.
    QString GetText() const { return m_text.GetText(); }
    int GetTotalWidth() const { return m_text.GetTotalWidth(); }
    bool IsWithinWidthLimit() const { return GetTotalWidth() <= kWidthLimit; }
    // The first cell at which the running width passes the limit with that
    // width, or index 0 and the total width.
    int FindWidthOverflow(int &width) const;

    // The telop text records (appended to out); 0 when a run cannot be read.
    int GetTextData(QString &out) const;
    // Loads records; 0 when a record is malformed (what came before stays).
    int SetTextData(const QString &records);
    // Replaces the whole text: tabs become blanks, then style 0 and the text colour.
    int SetPlainText(const QString &text);
    // One line: every CR LF becomes a blank, the CR positions are recorded;
    // SplitLines puts the breaks back at them.
    void JoinLines(QList<int> &positions);
    void SplitLines(const QList<int> &positions);
    // The rendered telop bitmap.
    bool GetBmpData(QByteArray &bytes, bool color24) const;

    // Selection as start and end (start <= end).
    void GetSel(int &start, int &end) const;
    void SetSel(int start, int end);
    ColorRef GetCurrentColor() const;
    void ChangeColor(ColorRef color);
    void ChangeStyle(quint32 bit, bool toggle);
    void ClearUndo();
    bool CanUndo() const { return m_undoAvailable; }

    // Edit commands (also on the context menu and Ctrl keys).
    void OnEditClear();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditSelectAll();
    void OnEditUndo();
    // The colour palette on the selection or the input colour.
    void OnTextColor();
    // Types the character as the keyboard would.
    void OnChar(QChar ch);

signals:
    void Changed();
    void Modified();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Model changes
    // What is cut at the limit is told when tellCut is set (a paste or a
    // text read in); a typed character past the limit is simply not taken.
    bool ReplaceText(int start, int end, QString &text, bool useTemplate, bool tellCut = false);
    bool DeleteRange(int start, int end, bool backspace);
    void TypeText(const QString &text);
    void InsertTabSpaces();
    void SyncInputAttr();
    void Undo();
    void snapshot();
    bool selectionForCommand(int &start, int &end);
    void changed();
    TelopCell &inputAttrAt(int position, TelopCell &storage) const;
    void setInputAttrAt(int position, const TelopCell &cell);

    // Caret and selection
    bool handleNavigation(QKeyEvent *event);
    int lineHeight() const;
    int lineOf(int position) const;
    int xOfPosition(int position) const;
    int positionFromPoint(const QPoint &point) const;
    int snapPosition(int position) const;
    int stepBack(int position) const;
    int stepForward(int position) const;
    void setCaretFromPoint(const QPoint &point, bool extend);
    void moveCaret(int position, bool extend);
    void ensureCaretVisible();
    QRect caretRect() const;
    void updateScrollBars();

    // Painting
    TelopDrawOptions drawOptions() const;
    void paintEditing(QPainter &painter);
    void paintPreview(QPainter &painter);
    void DrawBreakMark(QPainter &painter, int x, int y) const;
    void DrawEndMark(QPainter &painter, int x, int y) const;
    QMenu *buildContextMenu();

    bool m_editing;
    CTelopTextDoc m_text;
    CTelopTextDoc m_undo;
    bool m_undoAvailable = false;
    TelopPalette m_palette;
    ColorRef m_transparent = 0xFF00FF;
    int m_tabWidth = 8;
    int m_depth = 4;
    int m_limit = 30000;
    bool m_wantReturn = false;
    QFont m_windowFont;
    int m_anchor = 0;
    int m_caret = 0;
    bool m_selecting = false;
    // Typing in one place, and runs of Backspace or Delete, share one undo
    // snapshot: the selection after the last typed character tells the place.
    QPair<int, int> m_typedSel{-1, -1};
    QPair<int, int> m_typedSelSaved{-1, -1};
    QChar m_lastChar;
    int m_lastKey = 0;
    int m_overflowPos = -1;
};
