#include "ops/telop_document.h"

#include "core/last_error.h"
#include "ops/telop_font.h"

#include <QFontMetrics>

namespace {

constexpr quint32 kCarriageReturn = 13;
constexpr quint32 kLineFeed = 10;

bool isHighSurrogate(quint32 c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(quint32 c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

bool CTelopTextDoc::isRangeInside(int index, int count) const
{
    if (count < 1 || index < 0 || index >= GetCellCount() || qint64(index) + count > GetCellCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

int CTelopTextDoc::LineFromChar(int position) const
{
    for (int line = 0; line < GetLineCount(); ++line) {
        if (m_lines[line].start <= position && position <= m_lines[line].end)
            return line;
    }
    return -1;
}

int CTelopTextDoc::GetLineStart(int line) const
{
    if (line < 0 || line >= GetLineCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return m_lines[line].start;
}

int CTelopTextDoc::GetLineLength(int line) const
{
    if (line < 0 || line >= GetLineCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return m_lines[line].end - m_lines[line].start;
}

int CTelopTextDoc::GetLineText(int line, QString &text) const
{
    if (line < 0 || line >= GetLineCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // A last line without LF ends at the cell count, one past its last cell.
    const int last = qMin(m_lines[line].end, GetCellCount() - 1);
    text.clear();
    for (int i = m_lines[line].start; i <= last; ++i)
        text.append(QChar(char16_t(m_cells[i].character)));
    return 1;
}

int CTelopTextDoc::GetLineWidth(int line) const
{
    if (line < 0 || line >= GetLineCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const bool lastLine = line == GetLineCount() - 1;
    const int last = qMin(m_lines[line].end, GetCellCount() - 1);
    int width = 0;
    for (int i = m_lines[line].start; i <= last; ++i) {
        if (lastLine && m_cells[i].character == kLineFeed)
            continue;
        width += m_cells[i].width;
    }
    return width;
}

int CTelopTextDoc::GetTotalWidth() const
{
    int width = 0;
    for (int line = 0; line < GetLineCount(); ++line)
        width += GetLineWidth(line);
    return width;
}

int CTelopTextDoc::GetText(int from, QString &text, int count) const
{
    if (from < 0 || from >= GetCellCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int end = count > 0 ? qMin(GetCellCount(), from + count) : GetCellCount();
    text.clear();
    text.reserve(end - from);
    for (int i = from; i < end; ++i)
        text.append(QChar(char16_t(m_cells[i].character)));
    return 1;
}

QString CTelopTextDoc::GetText() const
{
    QString text;
    if (!m_cells.isEmpty())
        GetText(0, text);
    return text;
}

int CTelopTextDoc::GetCell(int index, TelopCell &cell) const
{
    if (index < 0 || index >= GetCellCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    cell = m_cells[index];
    return 1;
}

int CTelopTextDoc::GetRun(int index, quint32 *flags, ColorRef *color, int *length) const
{
    if (index < 0 || index >= GetCellCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const TelopCell &first = m_cells[index];
    if (flags)
        *flags = first.flags;
    if (color)
        *color = first.color;
    if (length) {
        int n = 1;
        for (int i = index + 1; i < GetCellCount(); ++i) {
            const TelopCell &cell = m_cells[i];
            if (flags && (cell.flags & TELOP_STYLE_MASK) != (first.flags & TELOP_STYLE_MASK))
                break;
            if (color && cell.color != first.color)
                break;
            if (flags && color && cell.character == kLineFeed)
                break;
            ++n;
        }
        *length = n;
    }
    return 1;
}

int CTelopTextDoc::SetColor(int index, int count, ColorRef color)
{
    if (!isRangeInside(index, count))
        return 0;
    for (int i = index; i < index + count; ++i)
        m_cells[i].color = color;
    return 1;
}

// Measures the advance of each cell of the range in the font of its style. A
// surrogate pair is measured as one character on its first half; a CR takes
// no room of its own, the LF after it stands for the break as one blank.
void CTelopTextDoc::measure(int index, int count)
{
    if (count <= 0)
        return;
    const quint32 style = m_cells[index].flags & TELOP_STYLE_MASK;
    const QFont font = m_faceName.isEmpty() ? m_ownerFont : MakeTelopFont(m_faceName, m_fontSize, style, false);
    const QFontMetrics metrics(font);
    for (int i = index; i < index + count; ++i) {
        TelopCell &cell = m_cells[i];
        const quint32 c = cell.character;
        if (c == kCarriageReturn) {
            cell.width = 0;
        } else if (c == kLineFeed) {
            cell.width = metrics.horizontalAdvance(QStringLiteral(" "));
        } else if (isLowSurrogate(c) && i > 0 && isHighSurrogate(m_cells[i - 1].character)) {
            cell.width = 0;
        } else if (isHighSurrogate(c) && i + 1 < GetCellCount() && isLowSurrogate(m_cells[i + 1].character)) {
            const QChar pair[2] = {QChar(char16_t(c)), QChar(char16_t(m_cells[i + 1].character))};
            cell.width = metrics.horizontalAdvance(QString(pair, 2));
        } else {
            cell.width = metrics.horizontalAdvance(QChar(char16_t(c)));
        }
    }
}

int CTelopTextDoc::ApplyStyle(int index, int count, quint32 style)
{
    if (!isRangeInside(index, count))
        return 0;
    for (int i = index; i < index + count; ++i)
        m_cells[i].flags = (m_cells[i].flags & ~quint32(TELOP_STYLE_MASK)) | (style & TELOP_STYLE_MASK);
    measure(index, count);
    return RecalcLines();
}

int CTelopTextDoc::InsertText(int index, const QString &text, const TelopCell *templateCell)
{
    if (text.isEmpty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    index = qBound(0, index, GetCellCount());
    TelopCell model;
    if (m_cells.isEmpty())
        model = m_defaultAttr;
    else if (templateCell)
        model = *templateCell;
    else
        model = m_cells[qMax(0, index - 1)];
    QList<TelopCell> inserted(text.size(), model);
    for (int i = 0; i < text.size(); ++i)
        inserted[i].character = text.at(i).unicode();
    m_cells.insert(index, text.size(), model);
    std::copy(inserted.cbegin(), inserted.cend(), m_cells.begin() + index);
    return ApplyStyle(index, int(text.size()), model.flags);
}

int CTelopTextDoc::DeleteCells(int index, int count)
{
    if (index < 0 || index >= GetCellCount()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    m_cells.remove(index, qBound(0, count, GetCellCount() - index));
    return RecalcLines();
}

void CTelopTextDoc::Clear()
{
    m_cells.clear();
    m_lines.clear();
}

int CTelopTextDoc::CopyFrom(const CTelopTextDoc &other)
{
    m_cells = other.m_cells;
    m_lines = other.m_lines;
    m_faceName = other.m_faceName;
    m_fontSize = other.m_fontSize;
    m_ownerFont = other.m_ownerFont;
    return 1;
}

int CTelopTextDoc::SetFont(const QString &face, int size)
{
    m_faceName = face;
    m_fontSize = size;
    return remeasureAll();
}

int CTelopTextDoc::GetFont(QString &face, int &size) const
{
    face = m_faceName;
    size = m_fontSize;
    return 1;
}

int CTelopTextDoc::remeasureAll()
{
    for (int index = 0; index < GetCellCount();) {
        quint32 flags = 0;
        int length = 0;
        if (!GetRun(index, &flags, nullptr, &length) || !ApplyStyle(index, length, flags))
            return 0;
        index += length;
    }
    return 1;
}

// Lines are not limited in count or length: starts and ends are full ints.
int CTelopTextDoc::RecalcLines()
{
    m_lines.clear();
    int start = 0;
    for (int i = 0; i < GetCellCount(); ++i) {
        if (m_cells[i].character == kLineFeed) {
            m_lines.append({start, i});
            start = i + 1;
        }
    }
    if (start < GetCellCount())
        m_lines.append({start, GetCellCount()});
    return 1;
}
