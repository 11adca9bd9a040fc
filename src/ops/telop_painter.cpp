#include "ops/telop_painter.h"

#include "ops/telop_document.h"
#include "ops/telop_font.h"

#include <QFontMetrics>
#include <QPainter>

QColor ColorFromRef(ColorRef color)
{
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

CTelopPainter::CTelopPainter(const CTelopTextDoc &doc, const TelopPalette &palette, ColorRef transparent)
    : m_doc(doc)
    , m_palette(palette)
    , m_transparent(transparent)
{
}

// A bitmap in palette colours must hold no blended pixels; on a transparent
// background blended edges would show as a fringe on the player.
bool CTelopPainter::antialiased(const TelopDrawOptions &options) const
{
    if (options.paletteMode && !options.color24)
        return false;
    return m_palette[0] != m_transparent;
}

void CTelopPainter::DrawCells(QPainter &painter, int &x, int y, int index, int end, const TelopDrawOptions &options,
                              int &runningWidth) const
{
    const QList<TelopCell> &cells = m_doc.Cells();
    end = qMin(end, m_doc.GetCellCount());
    Run run;
    bool open = false;
    for (int i = qMax(0, index); i < end; ++i) {
        const TelopCell &cell = cells[i];
        runningWidth += cell.width;
        const bool selected = options.selStart != options.selEnd && options.selStart <= i && i < options.selEnd;
        const bool overflow = (options.overflowIndex >= 0 && i >= options.overflowIndex)
                              || (options.overflowWidth > 0 && runningWidth > options.overflowWidth);
        const quint32 style = cell.flags & TELOP_STYLE_MASK;
        if (open && run.style == style && run.color == cell.color && run.selected == selected
            && run.overflow == overflow) {
            run.end = i + 1;
            continue;
        }
        if (open)
            DrawRun(painter, x, y, run, options);
        run = {i, i + 1, style, cell.color, selected, overflow};
        open = true;
    }
    if (open)
        DrawRun(painter, x, y, run, options);
}

void CTelopPainter::DrawRun(QPainter &painter, int &x, int y, const Run &run, const TelopDrawOptions &options) const
{
    const QList<TelopCell> &cells = m_doc.Cells();
    int width = 0;
    for (int i = run.index; i < run.end; ++i)
        width += cells[i].width;

    QColor text = ColorFromRef(run.color);
    QColor back;
    if (run.selected) {
        text = options.highlightText;
        back = options.highlight;
    } else if (run.overflow) {
        text = ColorFromRef(m_palette[0]);
        back = ColorFromRef(m_palette[1]);
    } else if (options.paletteMode && !options.color24) {
        text = ColorFromRef(m_palette[TelopPaletteIndex(m_palette, run.color, options.paletteCount)]);
    }
    if (back.isValid())
        painter.fillRect(x, y, width, options.height, back);

    const QFont font = m_doc.GetFaceName().isEmpty()
                           ? m_doc.GetOwnerFont()
                           : MakeTelopFont(m_doc.GetFaceName(), options.height, run.style, antialiased(options));
    painter.save();
    painter.setFont(font);
    painter.setPen(text);
    const int baseline = y + QFontMetrics(font).ascent();
    int cellX = x;
    for (int i = run.index; i < run.end; ++i) {
        const char16_t c = char16_t(cells[i].character);
        if (QChar::isHighSurrogate(c) && i + 1 < m_doc.GetCellCount()) {
            const QChar pair[2] = {QChar(c), QChar(char16_t(cells[i + 1].character))};
            painter.drawText(cellX, baseline, QString(pair, 2));
        } else if (c == u'\n') {
            painter.drawText(cellX, baseline, QStringLiteral(" "));
        } else if (c != u'\r' && !QChar::isLowSurrogate(c)) {
            painter.drawText(cellX, baseline, QString(QChar(c)));
        }
        cellX += cells[i].width;
    }
    painter.restore();
    x += width;
}

void CTelopPainter::DrawBreakCell(QPainter &painter, int &x, int y, int index, const TelopDrawOptions &options) const
{
    TelopCell cell;
    if (!m_doc.GetCell(index, cell))
        return;
    Run run{index, index + 1, cell.flags & TELOP_STYLE_MASK, cell.color, false, false};
    DrawRun(painter, x, y, run, options);
}
