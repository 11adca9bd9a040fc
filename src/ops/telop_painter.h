#pragma once
// Drawing of a telop's cells, shared by the editor's window and the rendering
// of the telop bitmap. Each cell is drawn at the position its measured width
// gives, so what is drawn lines up with the caret and a rendered line is
// exactly as wide as the sum of its cells.

#include "core/win_types.h"
#include "ops/telop_files.h"

#include <QColor>

class CTelopTextDoc;
class QPainter;

struct TelopDrawOptions {
    int height = 0;          // cell height of the font to draw with
    bool paletteMode = false; // the bitmap's palette colours: no antialiasing, colours of the palette only
    bool color24 = false;    // the 24-bit colour setting of the system
    int paletteCount = 16;   // entries searched for a run's colour in palette mode
    int selStart = 0;        // selected cells: selStart <= index < selEnd
    int selEnd = 0;
    QColor highlight;        // selected cells' background and text
    QColor highlightText;
    // Cells past the width limit are drawn inverted: from a cell index in the
    // editor (-1 for none), or where the running width passes the limit.
    int overflowIndex = -1;
    int overflowWidth = 0;    // 0: no running-width check
};

class CTelopPainter {
public:
    CTelopPainter(const CTelopTextDoc &doc, const TelopPalette &palette, ColorRef transparent);

    // Draws cells index..end-1 from (x, y), grouped into runs of equal colour,
    // style, selection and overflow; x moves past them, runningWidth (the width
    // of all cells drawn so far) grows by them.
    void DrawCells(QPainter &painter, int &x, int y, int index, int end, const TelopDrawOptions &options,
                   int &runningWidth) const;
    // Draws the line-break cell at index as one blank in its style and colour.
    void DrawBreakCell(QPainter &painter, int &x, int y, int index, const TelopDrawOptions &options) const;

private:
    struct Run {
        int index = 0;
        int end = 0;
        quint32 style = 0;
        ColorRef color = 0;
        bool selected = false;
        bool overflow = false;
    };
    void DrawRun(QPainter &painter, int &x, int y, const Run &run, const TelopDrawOptions &options) const;
    bool antialiased(const TelopDrawOptions &options) const;

    const CTelopTextDoc &m_doc;
    const TelopPalette &m_palette;
    ColorRef m_transparent;
};

// A QColor of a 0x00BBGGRR value.
QColor ColorFromRef(ColorRef color);
