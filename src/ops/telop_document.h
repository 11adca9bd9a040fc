#pragma once
// The text of one telop: a sequence of character cells, each with its own
// style, colour and measured pixel width, the lines they form, and the font
// face and size of the whole text. It owns no window and draws nothing; it
// measures characters so that the editor can place its caret, draw styled
// runs, keep the telop within the players' width limit and render its bitmap.
// The editor keeps two of them: the live text and an undo copy.
//
// Indexes are zero-based cell indexes. A line break is two cells, CR then LF.
// Failures leave the last error (87 for a bad index or range) and return 0 or
// -1 as each operation says.

#include "core/win_types.h"

#include <QFont>
#include <QList>
#include <QString>

struct TelopCell {
    quint32 character = 0; // one UTF-16 code unit
    quint32 flags = 0;     // bits 0-3 the style (TelopStyle); the rest never leaves memory
    ColorRef color = 0;    // 0x00BBGGRR
    qint32 width = 0;      // advance in pixels as last measured; an LF measures as a blank

    friend bool operator==(const TelopCell &, const TelopCell &) = default;
};

// One line: cells start..end inclusive, end being the LF that closes it, or the
// cell count for a last line without one.
struct TelopLine {
    int start = 0;
    int end = 0;
};

class CTelopTextDoc {
public:
    CTelopTextDoc() = default;

    int GetCellCount() const { return int(m_cells.size()); }
    const QList<TelopCell> &Cells() const { return m_cells; }

    int GetLineCount() const { return int(m_lines.size()); }
    // The first line with start <= position <= end; -1 when none.
    int LineFromChar(int position) const;
    int GetLineStart(int line) const;
    // End minus start; -1 out of range.
    int GetLineLength(int line) const;
    // Characters start..end inclusive (a closing LF included); 0 on error.
    int GetLineText(int line, QString &text) const;
    // The sum of the line's cell widths; the closing LF counts (as a blank)
    // except in the last line. -1 out of range.
    int GetLineWidth(int line) const;
    // The sum of every line's width.
    int GetTotalWidth() const;
    // The characters from `from` to the end, or at most count of them when
    // count > 0; 0 for a start outside the text.
    int GetText(int from, QString &text, int count = 0) const;
    // The whole text.
    QString GetText() const;
    int GetCell(int index, TelopCell &cell) const;
    // The run of cells from index with the same style bits (when flags is
    // asked) and colour (when colour is asked); with both, a following LF
    // ends it. 0 out of range.
    int GetRun(int index, quint32 *flags, ColorRef *color, int *length) const;

    // Colour of cells index..index+count-1; 0 when the range is not inside the text.
    int SetColor(int index, int count, ColorRef color);
    // Sets the style bits of the range and measures its cells again.
    int ApplyStyle(int index, int count, quint32 style);
    // Inserts one cell per character before index (clamped to the text): an
    // empty text takes the default input attributes, else the passed template
    // or the cell before index (the first cell at 0). Measures the new cells.
    // All or nothing: 0 (text unchanged) for an empty string.
    int InsertText(int index, const QString &text, const TelopCell *templateCell = nullptr);
    // Removes up to count cells from index; 0 for an index outside the text.
    int DeleteCells(int index, int count);
    void Clear();
    int CopyFrom(const CTelopTextDoc &other);

    // Stores the face and the size (the cell height in pixels) and measures
    // every cell again.
    int SetFont(const QString &face, int size);
    int GetFont(QString &face, int &size) const;
    QString GetFaceName() const { return m_faceName; }
    int GetFontSize() const { return m_fontSize; }
    // The font measured with while the face name is empty (the owner window's).
    void SetOwnerFont(const QFont &font) { m_ownerFont = font; }
    const QFont &GetOwnerFont() const { return m_ownerFont; }

    TelopCell GetDefaultAttr() const { return m_defaultAttr; }
    void SetDefaultAttr(const TelopCell &cell) { m_defaultAttr = cell; }
    TelopCell GetInputAttr() const { return m_inputAttr; }
    void SetInputAttr(const TelopCell &cell) { m_inputAttr = cell; }

    int RecalcLines();

private:
    bool isRangeInside(int index, int count) const;
    void measure(int index, int count);
    int remeasureAll();

    QList<TelopCell> m_cells;
    QList<TelopLine> m_lines;
    QString m_faceName;
    int m_fontSize = 0;
    QFont m_ownerFont;
    TelopCell m_defaultAttr;
    TelopCell m_inputAttr;
};
