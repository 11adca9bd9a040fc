// The telop edit control's layout, caret, keyboard, mouse and painting.

#include "ui/contents/telop_edit_ctrl.h"

#include "ops/telop_font.h"
#include "ops/telop_painter.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kCaretWidth = 2;

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---- Layout ---------------------------------------------------------------------

int CTelopEditCtrl::lineHeight() const
{
    if (m_text.GetFontSize() > 0)
        return m_text.GetFontSize();
    const QFontMetrics metrics(m_windowFont);
    return qMax(1, metrics.ascent() + metrics.descent());
}

// Lines are those of the text, plus an empty one after a final line break.
// The preview shows everything on one line.
int CTelopEditCtrl::lineOf(int position) const
{
    if (!m_editing)
        return 0;
    const int line = m_text.LineFromChar(position);
    return line >= 0 ? line : m_text.GetLineCount();
}

static int lineStartOf(const CTelopTextDoc &text, int line)
{
    return line < text.GetLineCount() ? text.GetLineStart(line) : text.GetCellCount();
}

// The position after a line's last character (before its CR LF).
static int lineVisibleEnd(const CTelopTextDoc &text, int line)
{
    if (line >= text.GetLineCount())
        return text.GetCellCount();
    const int end = text.GetLineStart(line) + text.GetLineLength(line);
    if (end >= text.GetCellCount())
        return text.GetCellCount();
    return end > 0 && text.Cells()[end - 1].character == CTelopEditCtrl::kCr ? end - 1 : end;
}

static int lastLineOf(const CTelopTextDoc &text)
{
    const int count = text.GetCellCount();
    if (count == 0)
        return 0;
    return text.Cells()[count - 1].character == CTelopEditCtrl::kLf ? text.GetLineCount() : text.GetLineCount() - 1;
}

int CTelopEditCtrl::xOfPosition(int position) const
{
    const int from = m_editing ? lineStartOf(m_text, lineOf(position)) : 0;
    int x = 0;
    for (int i = from; i < position && i < m_text.GetCellCount(); ++i)
        x += m_text.Cells()[i].width;
    return x;
}

int CTelopEditCtrl::positionFromPoint(const QPoint &point) const
{
    int line = 0;
    if (m_editing)
        line = qBound(0, verticalScrollBar()->value() + point.y() / lineHeight(), lastLineOf(m_text));
    const int start = m_editing ? lineStartOf(m_text, line) : 0;
    const int end = m_editing ? lineVisibleEnd(m_text, line) : m_text.GetCellCount();
    const int x = point.x() + horizontalScrollBar()->value();
    int sum = 0;
    for (int i = start; i < end; ++i) {
        const int width = m_text.Cells()[i].width;
        if (sum + width / 2 >= x)
            return i;
        sum += width;
    }
    return end;
}

int CTelopEditCtrl::stepBack(int position) const
{
    if (position <= 0)
        return 0;
    const QList<TelopCell> &cells = m_text.Cells();
    if (position >= 2 && ((cells[position - 1].character == kLf && cells[position - 2].character == kCr)
                          || (QChar::isLowSurrogate(cells[position - 1].character)
                              && QChar::isHighSurrogate(cells[position - 2].character))))
        return position - 2;
    return position - 1;
}

int CTelopEditCtrl::stepForward(int position) const
{
    const int count = m_text.GetCellCount();
    if (position >= count)
        return count;
    const QList<TelopCell> &cells = m_text.Cells();
    if (position + 1 < count && ((cells[position].character == kCr && cells[position + 1].character == kLf)
                                 || (QChar::isHighSurrogate(cells[position].character)
                                     && QChar::isLowSurrogate(cells[position + 1].character))))
        return position + 2;
    return position + 1;
}

QRect CTelopEditCtrl::caretRect() const
{
    const int line = lineOf(m_caret) - (m_editing ? verticalScrollBar()->value() : 0);
    const int x = xOfPosition(m_caret) - horizontalScrollBar()->value();
    return QRect(x, line * lineHeight(), kCaretWidth, lineHeight());
}

void CTelopEditCtrl::updateScrollBars()
{
    const int height = lineHeight();
    int widest = 0;
    if (m_editing) {
        for (int line = 0; line < m_text.GetLineCount(); ++line)
            widest = qMax(widest, m_text.GetLineWidth(line));
        const int visibleLines = qMax(1, viewport()->height() / height);
        verticalScrollBar()->setRange(0, qMax(0, lastLineOf(m_text) + 1 - visibleLines));
        verticalScrollBar()->setPageStep(visibleLines);
        verticalScrollBar()->setSingleStep(1);
        // Room for the caret and the break mark after the widest line.
        widest += 2 * QFontMetrics(m_windowFont).horizontalAdvance(u' ');
    } else {
        widest = GetTotalWidth();
    }
    horizontalScrollBar()->setRange(0, qMax(0, widest - viewport()->width()));
    horizontalScrollBar()->setPageStep(qMax(1, viewport()->width()));
    horizontalScrollBar()->setSingleStep(qMax(1, height / 2));
}

void CTelopEditCtrl::ensureCaretVisible()
{
    if (m_editing) {
        const int line = lineOf(m_caret);
        const int visibleLines = qMax(1, viewport()->height() / lineHeight());
        QScrollBar *vertical = verticalScrollBar();
        if (line < vertical->value())
            vertical->setValue(line);
        else if (line >= vertical->value() + visibleLines)
            vertical->setValue(line - visibleLines + 1);
    }
    const int x = xOfPosition(m_caret);
    QScrollBar *horizontal = horizontalScrollBar();
    if (x < horizontal->value())
        horizontal->setValue(x);
    else if (x + kCaretWidth > horizontal->value() + viewport()->width())
        horizontal->setValue(x + kCaretWidth - viewport()->width());
}

void CTelopEditCtrl::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

// ---- Keyboard ------------------------------------------------------------------

void CTelopEditCtrl::moveCaret(int position, bool extend)
{
    m_caret = snapPosition(position);
    if (!extend)
        m_anchor = m_caret;
    ensureCaretVisible();
    SyncInputAttr();
    viewport()->update();
    emit Changed();
}

int CTelopEditCtrl::snapPosition(int position) const
{
    position = qBound(0, position, m_text.GetCellCount());
    return position > 0 && stepForward(stepBack(position)) != position ? stepBack(position) : position;
}

bool CTelopEditCtrl::handleNavigation(QKeyEvent *event)
{
    const int key = event->key();
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int line = lineOf(m_caret);
    const int visibleLines = qMax(1, viewport()->height() / lineHeight());
    auto toLine = [&](int target) {
        target = qBound(0, target, m_editing ? lastLineOf(m_text) : 0);
        const int x = xOfPosition(m_caret) - horizontalScrollBar()->value();
        const int y = (target - (m_editing ? verticalScrollBar()->value() : 0)) * lineHeight();
        return positionFromPoint(QPoint(x, y));
    };
    int position = m_caret;
    switch (key) {
    case Qt::Key_Left:
        position = stepBack(m_caret);
        break;
    case Qt::Key_Right:
        position = stepForward(m_caret);
        break;
    case Qt::Key_Home:
        position = ctrl || !m_editing ? 0 : lineStartOf(m_text, line);
        break;
    case Qt::Key_End:
        position = ctrl || !m_editing ? m_text.GetCellCount() : lineVisibleEnd(m_text, line);
        break;
    case Qt::Key_Up:
        position = toLine(line - 1);
        break;
    case Qt::Key_Down:
        position = toLine(line + 1);
        break;
    case Qt::Key_PageUp:
        position = toLine(line - visibleLines);
        break;
    case Qt::Key_PageDown:
        position = toLine(line + visibleLines);
        break;
    default:
        return false;
    }
    moveCaret(position, extend);
    return true;
}

void CTelopEditCtrl::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    event->accept();
    if (isNavigationKey(key)) {
        handleNavigation(event);
    } else if (event->modifiers() & Qt::ControlModifier) {
        // The edit shortcuts; every other Ctrl key is swallowed.
        switch (key) {
        case Qt::Key_Z:
            OnEditUndo();
            break;
        case Qt::Key_X:
            OnEditCut();
            break;
        case Qt::Key_C:
            OnEditCopy();
            break;
        case Qt::Key_V:
            OnEditPaste();
            break;
        case Qt::Key_A:
            OnEditSelectAll();
            break;
        case Qt::Key_D:
            OnEditClear();
            break;
        case Qt::Key_Tab:
            InsertTabSpaces();
            break;
        default:
            break;
        }
    } else if (key == Qt::Key_Delete) {
        if (m_editing) {
            if (m_lastKey != Qt::Key_Delete)
                snapshot();
            int start = 0;
            int end = 0;
            GetSel(start, end);
            DeleteRange(start, end, false);
        }
    } else if (key == Qt::Key_Backspace) {
        OnChar(QChar(u'\b'));
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        OnChar(QChar(u'\r'));
    } else if (key == Qt::Key_Escape) {
        event->ignore(); // the dialog's
    } else if (!event->text().isEmpty()) {
        const QString text = event->text();
        if (text.size() == 1)
            OnChar(text.at(0));
        else if (text.at(0).unicode() >= 32)
            TypeText(text);
    }
    m_lastKey = key;
}

void CTelopEditCtrl::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        TypeText(event->commitString());
    event->accept();
}

// The input method places its composition window at the caret.
QVariant CTelopEditCtrl::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle)
        return caretRect().translated(viewport()->pos());
    if (query == Qt::ImFont)
        return m_windowFont;
    return QAbstractScrollArea::inputMethodQuery(query);
}

// ---- Mouse ---------------------------------------------------------------------

void CTelopEditCtrl::setCaretFromPoint(const QPoint &point, bool extend)
{
    const int position = positionFromPoint(point);
    if (position == m_caret && (extend || m_anchor == m_caret))
        return;
    moveCaret(position, extend);
}

void CTelopEditCtrl::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    m_selecting = true;
    setCaretFromPoint(event->position().toPoint(), event->modifiers() & Qt::ShiftModifier);
}

void CTelopEditCtrl::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting)
        return;
    const QRect inside = viewport()->rect().adjusted(1, 1, -1, -1);
    const QPoint point(qBound(inside.left(), int(event->position().x()), inside.right()),
                       qBound(inside.top(), int(event->position().y()), inside.bottom()));
    setCaretFromPoint(point, true);
}

void CTelopEditCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_selecting = false;
        emit Changed();
    }
}

// No word selection: a double click only places the caret.
void CTelopEditCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        setCaretFromPoint(event->position().toPoint(), false);
}

void CTelopEditCtrl::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    emit Changed();
}

void CTelopEditCtrl::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- Context menu --------------------------------------------------------------

QMenu *CTelopEditCtrl::buildContextMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("3024"));
    auto add = [this](QMenu *target, const QString &text, void (CTelopEditCtrl::*slot)()) {
        return target->addAction(text, this, slot);
    };
    add(menu, QStringLiteral("元に戻す(&U) \tCtrl+Z"), &CTelopEditCtrl::OnEditUndo);
    menu->addSeparator();
    add(menu, QStringLiteral("切り取り(&T) \tCtrl+X"), &CTelopEditCtrl::OnEditCut);
    add(menu, QStringLiteral("コピー(&C) \tCtrl+C"), &CTelopEditCtrl::OnEditCopy);
    add(menu, QStringLiteral("貼り付け(&P) \tCtrl+V"), &CTelopEditCtrl::OnEditPaste);
    menu->addSeparator();
    add(menu, QStringLiteral("削除(&D) \tDel"), &CTelopEditCtrl::OnEditClear);
    menu->addSeparator();
    add(menu, QStringLiteral("文字色の変更(&E)"), &CTelopEditCtrl::OnTextColor)->setData(int(ID_TEXT_COLOR));

    int start = 0;
    int end = 0;
    GetSel(start, end);
    TelopCell cell;
    if (start == end || !m_text.GetCell(start, cell))
        inputAttrAt(start, cell);
    QMenu *format = menu->addMenu(QStringLiteral("書式(&F)"));
    const struct {
        int id;
        const char *text;
        quint32 bit;
    } styles[] = {{ID_STYLE_NORMAL, "標準(&S)", 0},
                  {ID_STYLE_BOLD, "太字(&B)", TELOP_STYLE_BOLD},
                  {ID_STYLE_ITALIC, "斜体(&I)", TELOP_STYLE_ITALIC},
                  {ID_STYLE_UNDERLINE, "下線(&U)", TELOP_STYLE_UNDERLINE}};
    for (const auto &style : styles) {
        QAction *action = format->addAction(QString::fromUtf8(style.text));
        action->setData(style.id);
        action->setCheckable(style.bit != 0);
        action->setChecked(style.bit != 0 && (cell.flags & style.bit));
        const quint32 bit = style.bit;
        connect(action, &QAction::triggered, this, [this, bit] { ChangeStyle(bit, bit != 0); });
    }
    menu->addSeparator();
    add(menu, QStringLiteral("全て選択(&A) \tCtrl+A"), &CTelopEditCtrl::OnEditSelectAll);
    return menu;
}

void CTelopEditCtrl::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_editing)
        return;
    QPoint at = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard)
        at = viewport()->mapToGlobal(QPoint(5, 5));
    QMenu *menu = buildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

// ---- Painting ------------------------------------------------------------------

TelopDrawOptions CTelopEditCtrl::drawOptions() const
{
    TelopDrawOptions options;
    options.height = lineHeight();
    GetSel(options.selStart, options.selEnd);
    options.highlight = palette().color(QPalette::Highlight);
    options.highlightText = palette().color(QPalette::HighlightedText);
    if (m_editing)
        options.overflowIndex = m_overflowPos;
    else
        options.overflowWidth = kWidthLimit;
    return options;
}

void CTelopEditCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), ColorFromRef(m_palette[0]));
    if (m_editing)
        paintEditing(painter);
    else
        paintPreview(painter);
}

void CTelopEditCtrl::paintEditing(QPainter &painter)
{
    const CTelopPainter cells(m_text, m_palette, m_transparent);
    const TelopDrawOptions options = drawOptions();
    const int height = lineHeight();
    const int first = verticalScrollBar()->value();
    for (int line = first, y = 0; line <= lastLineOf(m_text) && y < viewport()->height(); ++line, y += height) {
        const int start = lineStartOf(m_text, line);
        const int end = lineVisibleEnd(m_text, line);
        int x = -horizontalScrollBar()->value();
        int running = 0;
        cells.DrawCells(painter, x, y, start, end, options, running);
        if (end < m_text.GetCellCount() && m_text.Cells()[end].character == kCr)
            DrawBreakMark(painter, x, y);
        else if (end == m_text.GetCellCount())
            DrawEndMark(painter, x, y);
    }
    if (hasFocus() && m_anchor == m_caret)
        painter.fillRect(caretRect(), ColorFromRef(m_palette[1]));
}

// Only the cells in view are drawn; the running width starts with the cells
// scrolled past, so characters beyond the width limit show inverted.
void CTelopEditCtrl::paintPreview(QPainter &painter)
{
    const int position = horizontalScrollBar()->value();
    const int right = position + viewport()->width();
    const QList<TelopCell> &cells = m_text.Cells();
    int first = 0;
    int skipped = 0;
    while (first < cells.size() && skipped + cells[first].width <= position)
        skipped += cells[first++].width;
    int end = first;
    for (int x = skipped; end < cells.size() && x < right; ++end)
        x += cells[end].width;
    int x = skipped - position;
    int running = skipped;
    TelopDrawOptions options = drawOptions();
    options.selStart = options.selEnd = 0;
    CTelopPainter(m_text, m_palette, m_transparent).DrawCells(painter, x, 0, first, end, options, running);
}

void CTelopEditCtrl::DrawBreakMark(QPainter &painter, int x, int y) const
{
    const int w = QFontMetrics(m_windowFont).horizontalAdvance(u' ');
    const int h = lineHeight();
    painter.fillRect(x, y, 2 * w, h, ColorFromRef(m_palette[1]));
    painter.setPen(QPen(ColorFromRef(m_palette[0]), 1));
    painter.drawLine(x + w, y + 1, x + w, y + h - 1);
    painter.drawLine(x + w, y + h - 1, x + w - 2, y + h - 6);
    painter.drawLine(x + w, y + h - 1, x + w + 2, y + h - 6);
}

void CTelopEditCtrl::DrawEndMark(QPainter &painter, int x, int y) const
{
    const int w = QFontMetrics(m_windowFont).horizontalAdvance(u' ');
    const int h = lineHeight();
    painter.fillRect(x, y, 2 * w, h, ColorFromRef(m_palette[1]));
    painter.setPen(QPen(ColorFromRef(m_palette[0]), 1));
    painter.drawLine(x + 2 * w - 4, y + 5, x + 2 * w - 4, y + h - 5);
    painter.drawLine(x + 2 * w - 4, y + h - 5, x + 4, y + h - 5);
    painter.drawLine(x + 4, y + h - 5, x + 9, y + h - 7);
    painter.drawLine(x + 4, y + h - 5, x + 9, y + h - 3);
}
