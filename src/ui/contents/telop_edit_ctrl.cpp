#include "ui/contents/telop_edit_ctrl.h"

#include "widgets/color_dialog.h"
#include "core/message_box.h"
#include "ops/telop_bitmap.h"
#include "ops/telop_font.h"
#include "ops/telop_painter.h"
#include "ui/contents/color_change_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr quint32 kMsgNoUndo = 5327;
constexpr quint32 kMsgNoSelection = 5328;
constexpr quint32 kMsgClipboardEmpty = 5331;
constexpr quint32 kMsgOverLimit = 7101;

constexpr char16_t kBackspace = 8;
constexpr char16_t kTab = u'\t';
const QString kLineBreak = QStringLiteral("\r\n");

} // namespace

CTelopEditCtrl::CTelopEditCtrl(bool editing, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_editing(editing)
    , m_palette(DefaultTelopPalette())
{
    setObjectName(QString::number(kControlId));
    TelopCell attr;
    attr.color = 0xFFFFFF;
    m_text.SetDefaultAttr(attr);
    m_text.SetInputAttr(attr);
    m_windowFont = font();
    m_text.SetOwnerFont(m_windowFont);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, editing);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(editing ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(editing ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn);
}

// ---- Font and colours -----------------------------------------------------------

int CTelopEditCtrl::SetFont(const QString &face, int size)
{
    m_text.SetFont(face, size);
    SetDisplayFont(face, size);
    updateScrollBars();
    viewport()->update();
    return 1;
}

void CTelopEditCtrl::SetDisplayFont(const QString &face, int size)
{
    const int height = size < 0 ? lineHeight() : size;
    m_windowFont = MakeTelopFont(face.isEmpty() ? m_windowFont.family() : face, qMax(1, height), 0, true);
    m_text.SetOwnerFont(m_windowFont);
    viewport()->update();
}

void CTelopEditCtrl::GetFont(QString &face, int &size) const
{
    m_text.GetFont(face, size);
}

ColorRef CTelopEditCtrl::GetPaletteColor(int index) const
{
    return index >= 0 && index < int(m_palette.size()) ? m_palette[size_t(index)] : 0;
}

void CTelopEditCtrl::SetPaletteColor(int index, ColorRef color)
{
    if (index >= 0 && index < int(m_palette.size()))
        m_palette[size_t(index)] = color;
}

void CTelopEditCtrl::SetBackColor(ColorRef color)
{
    m_palette[0] = color;
    viewport()->update();
}

void CTelopEditCtrl::SetTextColor(ColorRef color)
{
    m_palette[1] = color;
    TelopCell attr = m_text.GetDefaultAttr();
    attr.color = color;
    m_text.SetDefaultAttr(attr);
    viewport()->update();
}

void CTelopEditCtrl::SetOverflowPos(int index)
{
    m_overflowPos = index;
    viewport()->update();
}

int CTelopEditCtrl::FindWidthOverflow(int &width) const
{
    width = 0;
    const QList<TelopCell> &cells = m_text.Cells();
    for (int i = 0; i < cells.size(); ++i) {
        width += cells[i].width;
        if (width > kWidthLimit)
            return i;
    }
    width = GetTotalWidth();
    return 0;
}

// ---- Records, plain text and bitmap --------------------------------------------

int CTelopEditCtrl::GetTextData(QString &out) const
{
    return FormatTelopRecords(m_text, m_depth, m_palette, out);
}

int CTelopEditCtrl::SetTextData(const QString &records)
{
    snapshot();
    const int result = ParseTelopRecords(records, m_text, m_depth, m_palette);
    SetDisplayFont(m_text.GetFaceName(), m_text.GetFontSize());
    m_anchor = m_caret = 0;
    updateScrollBars();
    viewport()->update();
    return result;
}

int CTelopEditCtrl::SetPlainText(const QString &text)
{
    QString plain = text;
    plain.replace(QChar(kTab), QString(m_tabWidth, u' '));
    snapshot();
    m_text.Clear();
    if (!ReplaceText(0, 0, plain, false, true))
        return 0;
    if (!plain.isEmpty()) {
        m_text.ApplyStyle(0, int(plain.size()), TELOP_STYLE_NORMAL);
        m_text.SetColor(0, int(plain.size()), m_palette[1]);
    }
    m_anchor = m_caret = 0;
    changed();
    return 1;
}

void CTelopEditCtrl::JoinLines(QList<int> &positions)
{
    positions.clear();
    for (int i = 0; i + 1 < m_text.GetCellCount(); ++i) {
        const QList<TelopCell> &cells = m_text.Cells();
        if (cells[i].character != kCr || cells[i + 1].character != kLf)
            continue;
        const TelopCell model = cells[qMax(0, i - 1)];
        m_text.DeleteCells(i, 2);
        m_text.InsertText(i, QStringLiteral(" "), &model);
        positions.append(i);
    }
    m_anchor = m_caret = 0;
    updateScrollBars();
    viewport()->update();
}

void CTelopEditCtrl::SplitLines(const QList<int> &positions)
{
    for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
        TelopCell blank;
        if (!m_text.GetCell(*it, blank) || blank.character != u' ')
            continue;
        m_text.DeleteCells(*it, 1);
        m_text.InsertText(*it, kLineBreak, &blank);
    }
}

bool CTelopEditCtrl::GetBmpData(QByteArray &bytes, bool color24) const
{
    return ::GetBmpData(m_text, m_palette, {m_depth, color24, m_transparent}, bytes);
}

// ---- Selection and attributes -----------------------------------------------------

void CTelopEditCtrl::GetSel(int &start, int &end) const
{
    start = qMin(m_anchor, m_caret);
    end = qMax(m_anchor, m_caret);
}

void CTelopEditCtrl::SetSel(int start, int end)
{
    m_anchor = snapPosition(start);
    m_caret = snapPosition(end);
    ensureCaretVisible();
    viewport()->update();
}

TelopCell &CTelopEditCtrl::inputAttrAt(int position, TelopCell &storage) const
{
    storage = position == 0 ? m_text.GetDefaultAttr() : m_text.GetInputAttr();
    return storage;
}

void CTelopEditCtrl::setInputAttrAt(int position, const TelopCell &cell)
{
    if (position == 0)
        m_text.SetDefaultAttr(cell);
    else
        m_text.SetInputAttr(cell);
}

void CTelopEditCtrl::SyncInputAttr()
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    TelopCell cell;
    if (start > 0 && m_text.GetCell(start - 1, cell))
        m_text.SetInputAttr(cell);
    else
        m_text.SetInputAttr(m_text.GetDefaultAttr());
}

ColorRef CTelopEditCtrl::GetCurrentColor() const
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    TelopCell cell;
    if (start == end)
        return inputAttrAt(start, cell).color;
    return m_text.GetCell(start, cell) ? cell.color : 0;
}

void CTelopEditCtrl::ChangeColor(ColorRef color)
{
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (start != end) {
        snapshot();
        m_text.SetColor(start, end - start, color);
    } else {
        TelopCell cell;
        inputAttrAt(start, cell).color = color;
        setInputAttrAt(start, cell);
    }
    viewport()->update();
}

void CTelopEditCtrl::ChangeStyle(quint32 bit, bool toggle)
{
    if (!m_editing)
        return;
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (start != end) {
        snapshot();
        const bool setMode = !toggle || !(m_text.Cells()[start].flags & bit);
        for (int i = start; i < end; ++i) {
            const quint32 style = m_text.Cells()[i].flags & TELOP_STYLE_MASK;
            m_text.ApplyStyle(i, 1, bit == 0 ? 0 : setMode ? (style | bit) : (style & ~bit));
        }
        updateScrollBars();
    } else {
        TelopCell cell;
        inputAttrAt(start, cell);
        if (bit == 0)
            cell.flags &= ~quint32(TELOP_STYLE_MASK);
        else if (toggle)
            cell.flags ^= bit;
        else
            cell.flags |= bit;
        setInputAttrAt(start, cell);
    }
    viewport()->update();
    if (start != end)
        emit Modified();
    emit Changed();
}

void CTelopEditCtrl::OnTextColor()
{
    if (!m_editing)
        return;
    CColorChangeDlg dialog(this);
    for (int i = 0; i < CColorChangeDlg::kSwatchCount; ++i)
        dialog.SetColor(i, m_palette[size_t(i + 1)]);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    TelopCell cell;
    dialog.SetSelectedColor(m_text.GetCell(start, cell) ? cell.color : GetCurrentColor());
    dialog.SetTransparentColor(m_transparent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (int i = 0; i < CColorChangeDlg::kSwatchCount; ++i)
        dialog.GetColor(i, m_palette[size_t(i + 1)]);
    ChangeColor(dialog.GetSelectedColor());
    emit Modified();
    emit Changed();
}

// ---- Undo ---------------------------------------------------------------------

void CTelopEditCtrl::snapshot()
{
    m_undo.CopyFrom(m_text);
    m_undoAvailable = true;
}

void CTelopEditCtrl::ClearUndo()
{
    m_undo.Clear();
    m_undoAvailable = false;
}

void CTelopEditCtrl::OnEditUndo()
{
    if (!m_editing)
        return;
    if (!m_undoAvailable) {
        ShowMessage(this, kMsgNoUndo, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Undo();
}

// The text and its copy change places, so the next undo redoes.
void CTelopEditCtrl::Undo()
{
    CTelopTextDoc current;
    current.CopyFrom(m_text);
    m_text.CopyFrom(m_undo);
    m_undo.CopyFrom(current);
    m_anchor = 0;
    m_caret = m_text.GetCellCount();
    std::swap(m_typedSel, m_typedSelSaved);
    m_lastChar = QChar();
    m_lastKey = 0;
    changed();
}

void CTelopEditCtrl::changed()
{
    updateScrollBars();
    ensureCaretVisible();
    viewport()->update();
    emit Modified();
    emit Changed();
}

// ---- Editing --------------------------------------------------------------------

bool CTelopEditCtrl::ReplaceText(int start, int end, QString &text, bool useTemplate, bool tellCut)
{
    TelopCell removed;
    bool haveRemoved = false;
    if (start >= 0 && end >= 0 && start != end) {
        haveRemoved = m_text.GetCell(start, removed);
        m_text.DeleteCells(start, end - start);
    }
    const int room = qMax(0, m_limit - m_text.GetCellCount());
    if (text.size() > room) {
        text.truncate(room);
        if (!text.isEmpty() && (text.back() == QChar(kCr) || text.back().isHighSurrogate()))
            text.chop(1);
        if (tellCut)
            ShowMessageFormat(this, kTitleCaption, MB_OK | MB_ICONEXCLAMATION, kMsgOverLimit, m_limit);
    }
    if (text.isEmpty())
        return true;
    if (!useTemplate)
        return m_text.InsertText(start, text);
    TelopCell model;
    if (haveRemoved)
        model = removed;
    else
        inputAttrAt(start, model);
    return m_text.InsertText(start, text, &model);
}

bool CTelopEditCtrl::DeleteRange(int start, int end, bool backspace)
{
    if (start < 0 || m_text.GetCellCount() == 0)
        return false;
    if (start == end) {
        if (backspace) {
            if (start == 0)
                return false;
            start = stepBack(start);
        } else {
            if (start >= m_text.GetCellCount())
                return false;
            end = stepForward(start);
        }
    }
    m_text.DeleteCells(start, end - start);
    m_anchor = m_caret = start;
    changed();
    return true;
}

void CTelopEditCtrl::OnChar(QChar ch)
{
    if (ch.unicode() == kBackspace) {
        if (!m_editing)
            return;
        if (m_lastChar.unicode() != kBackspace)
            snapshot();
        int start = 0;
        int end = 0;
        GetSel(start, end);
        DeleteRange(start, end, true);
        m_lastChar = ch;
        m_typedSel = {m_anchor, m_caret};
        return;
    }
    if (ch == QChar(kCr) || ch == QChar(kLf)) {
        if (m_wantReturn)
            TypeText(kLineBreak);
        return;
    }
    if (ch.unicode() < 32)
        return; // tabs and other control characters never enter a telop
    TypeText(QString(ch));
}

void CTelopEditCtrl::TypeText(const QString &typed)
{
    if (!m_editing || typed.isEmpty())
        return;
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (m_typedSel != qMakePair(m_anchor, m_caret))
        snapshot();
    QString text = typed;
    if (ReplaceText(start, end, text, true)) {
        m_anchor = m_caret = start + int(text.size());
        SyncInputAttr();
    }
    m_lastChar = typed.back();
    m_typedSel = {m_anchor, m_caret};
    changed();
}

void CTelopEditCtrl::InsertTabSpaces()
{
    for (int i = 0; i < m_tabWidth; ++i)
        OnChar(QChar(u' '));
}

void CTelopEditCtrl::OnEditPaste()
{
    if (!m_editing)
        return;
    QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) {
        ShowMessage(this, kMsgClipboardEmpty, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    text.replace(QChar(kTab), QString(m_tabWidth, u' '));
    text = NormalizeLineBreaks(text);
    snapshot();
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (!ReplaceText(start, end, text, false, true))
        return;
    m_anchor = m_caret = start + int(text.size());
    SyncInputAttr();
    changed();
}

// The selection for an edit command; an empty one is said so (5328).
bool CTelopEditCtrl::selectionForCommand(int &start, int &end)
{
    GetSel(start, end);
    if (start != end)
        return true;
    ShowMessage(this, kMsgNoSelection, kTitleCaption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CTelopEditCtrl::OnEditCopy()
{
    int start = 0;
    int end = 0;
    if (!selectionForCommand(start, end))
        return;
    QString text;
    m_text.GetText(start, text, end - start);
    QGuiApplication::clipboard()->setText(text);
}

void CTelopEditCtrl::OnEditClear()
{
    int start = 0;
    int end = 0;
    if (!m_editing || !selectionForCommand(start, end))
        return;
    snapshot();
    DeleteRange(start, end, false);
}

void CTelopEditCtrl::OnEditCut()
{
    int start = 0;
    int end = 0;
    if (!m_editing || !selectionForCommand(start, end))
        return;
    OnEditCopy();
    OnEditClear();
}

void CTelopEditCtrl::OnEditSelectAll()
{
    m_anchor = 0;
    m_caret = m_text.GetCellCount();
    ensureCaretVisible();
    viewport()->update();
}
