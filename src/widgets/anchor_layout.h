#pragma once
// Keeps the child controls of a resizable window in place relative to its
// edges. A control is registered with its anchor flags; its distances to the
// four edges of the parent's client area are taken at that moment and kept
// by Apply for the edges it is anchored to.
//
// Horizontally: anchored right (ANCHOR_RIGHT), the right edge keeps its
// distance to the parent's right edge and the control stretches, or, with
// ANCHOR_KEEP_WIDTH, moves with its width kept; not anchored right, it stays
// where it was registered. Vertically the same with ANCHOR_BOTTOM and
// ANCHOR_KEEP_HEIGHT. ANCHOR_LEFT and ANCHOR_TOP name the default.

#include <QMargins>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

enum AnchorFlags : unsigned {
    ANCHOR_LEFT = 1,
    ANCHOR_RIGHT = 2,
    ANCHOR_TOP = 4,
    ANCHOR_BOTTOM = 8,
    ANCHOR_KEEP_WIDTH = 16,
    ANCHOR_KEEP_HEIGHT = 32,
};

class CAnchorLayout {
public:
    // Registers a child control with its flags, measuring its margins to the
    // parent's client area now. A control registered again takes the new
    // flags and margins. False for a control without a parent.
    bool AddControl(QWidget *control, unsigned flags);
    // The same for the child with the numeric id (its objectName) in parent.
    bool AddControl(QWidget *parent, int controlId, unsigned flags);
    void RemoveAll();
    int GetCount() const { return int(m_entries.size()); }

    // Moves the registered controls of parent to follow its current size.
    // Controls that have gone or belong to another parent are skipped.
    void Apply(QWidget *parent) const;

    // Where a control registered with margins and flags goes in a client
    // area of the given size.
    static QRect PlaceControl(const QRect &current, const QMargins &margins, unsigned flags, const QSize &client);

private:
    struct Entry {
        QPointer<QWidget> control;
        unsigned flags = 0;
        QMargins margins; // distances to the left, top, right and bottom edges
    };
    std::vector<Entry> m_entries;
};
