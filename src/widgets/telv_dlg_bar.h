#pragma once
// The base of the main frame's two dialog bars: a bar window with controls,
// docked at one edge of the frame. The frame asks CalcFixedLayout for the
// size to give it; a bar docked at the top or bottom stretches across the
// frame, one docked at the left or right down it.

#include <QSize>
#include <QWidget>

class CTelvDlgBar : public QWidget {
    Q_OBJECT
public:
    // Bar styles: the edge the bar is docked at.
    static constexpr quint32 CBRS_ALIGN_LEFT = 0x1000;
    static constexpr quint32 CBRS_ALIGN_TOP = 0x2000;
    static constexpr quint32 CBRS_ALIGN_RIGHT = 0x4000;
    static constexpr quint32 CBRS_ALIGN_BOTTOM = 0x8000;
    // The length the frame stretches a bar to.
    static constexpr int kStretchLength = 32767;

    // The bar's design size in dialog units.
    explicit CTelvDlgBar(const QSize &templateUnits);

    // Makes the bar a child of parent with its id (its objectName), style and
    // design size, then runs the bar's own initialisation. Returns true.
    bool Create(QWidget *parent, int templateId, quint32 barStyle, int barId);

    int GetTemplateId() const { return m_templateId; }
    quint32 GetBarStyle() const { return m_barStyle; }
    bool IsHorizontal() const { return m_barStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM); }
    // The design size in pixels.
    QSize GetTemplateSize() const;

    // The size the frame gives the bar: the design size, with the length
    // along the docked edge stretched when asked.
    virtual QSize CalcFixedLayout(bool stretch, bool horizontal) const;
    QSize sizeHint() const override;

protected:
    // The bar's own initialisation; nothing by default.
    virtual void OnInitDialogBar();

private:
    QSize m_templateUnits;
    int m_templateId = 0;
    quint32 m_barStyle = 0;
};
