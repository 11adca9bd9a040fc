// The list base: columns by id, sort marks, divider double-click and end of
// a drag, Enter and double-click, owner-drawn colours.
#include "widgets/telv_list_ctrl.h"
#include "widgets/telv_list_model.h"
#include "core/string_table.h"

#include <QHeaderView>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Column ids and header text ids of a small list.
constexpr int kIndexColumn = 0;
constexpr int kTitleColumn = 2;
constexpr int kSizeColumn = 4;
constexpr quint32 kIndexText = 4102;
constexpr quint32 kTitleText = 4104;
constexpr quint32 kSizeText = 4105;

class TestList : public CTelvListCtrl {
public:
    QString GetItemText(int item, int columnId) const override
    {
        if (columnId == kTitleColumn)
            return QStringLiteral("a rather long title of row %1").arg(item);
        return QString::number(item);
    }
    void OnItemEnter(int item) override { entered.append(item); }
    void OnColumnWidthChanged(int position, int width) override { widths.append({position, width}); }
    void DrawSubItem(QPainter &painter, int item, int columnId, const QRect &) const override
    {
        drawn.append({item, columnId});
        pens.append(painter.pen().color());
    }
    using CTelvListCtrl::GetItemColors;

    QList<int> entered;
    QList<QPair<int, int>> widths;
    mutable QList<QPair<int, int>> drawn;
    mutable QList<QColor> pens;
};

QList<int> columnIds(const CTelvListCtrl &list)
{
    QList<int> ids;
    for (int i = 0; i < list.GetColumnCount(); ++i)
        ids.append(list.GetColumnId(i));
    return ids;
}

void fill(TestList &list, int rows)
{
    list.InsertColumnById(0, kIndexText, 60, kIndexColumn, LVCFMT_LEFT);
    list.InsertColumnById(1, kTitleText, 50, kTitleColumn, LVCFMT_LEFT);
    list.SetItemCount(rows);
    list.resize(400, 300);
}

} // namespace

TEST(ListColumns, InsertDeleteAndFindById)
{
    TestList list;
    EXPECT_FALSE(list.InsertColumnById(-1, kTitleText, 50, kTitleColumn, LVCFMT_LEFT));
    ASSERT_TRUE(list.InsertColumnById(0, kTitleText, 120, kTitleColumn, LVCFMT_LEFT));
    ASSERT_TRUE(list.InsertColumnById(9, kIndexText, 60, kIndexColumn, LVCFMT_CENTER)); // past the end: appended
    // A right-aligned column inserted first keeps its alignment; no spacer remains.
    ASSERT_TRUE(list.InsertColumnById(0, kSizeText, 80, kSizeColumn, LVCFMT_RIGHT));
    EXPECT_EQ(columnIds(list), (QList<int>{kSizeColumn, kTitleColumn, kIndexColumn}));
    EXPECT_EQ(list.GetColumnAlign(kSizeColumn), 2);
    EXPECT_EQ(list.GetColumnAlign(kIndexColumn), 1);
    EXPECT_EQ(list.GetColumnAlign(kTitleColumn), 0);
    EXPECT_EQ(list.GetColumnAlign(77), 0);
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal).toString(), LoadString(kSizeText));
    EXPECT_EQ(list.model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    // An id that exists only takes the new width.
    ASSERT_TRUE(list.InsertColumnById(0, kIndexText, 33, kTitleColumn, LVCFMT_RIGHT));
    EXPECT_EQ(list.GetColumnCount(), 3);
    EXPECT_EQ(list.GetColumnWidth(list.FindColumn(kTitleColumn)), 33);
    EXPECT_EQ(list.GetColumnAlign(kTitleColumn), 0);

    EXPECT_TRUE(list.DeleteColumnById(kTitleColumn));
    EXPECT_FALSE(list.DeleteColumnById(kTitleColumn));
    EXPECT_EQ(list.FindColumn(kTitleColumn), -1);
    EXPECT_EQ(columnIds(list), (QList<int>{kSizeColumn, kIndexColumn}));
    list.DeleteAllColumns();
    EXPECT_EQ(list.GetColumnCount(), 0);
}

TEST(ListColumns, DividerDoubleClickFitsOrRestoresAndReports)
{
    TestList list;
    fill(list, 3);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));

    emit list.header()->sectionHandleDoubleClicked(1);
    const int fitted = list.GetColumnWidth(1);
    EXPECT_GT(fitted, 50) << "fitted to the long titles";
    ASSERT_EQ(list.widths.size(), 1);
    EXPECT_EQ(list.widths.last(), qMakePair(1, fitted));

    list.SetFixedWidths(true);
    emit list.header()->sectionHandleDoubleClicked(1);
    EXPECT_EQ(list.GetColumnWidth(1), 50) << "the inserted width comes back";
    EXPECT_EQ(list.widths.last(), qMakePair(1, 50));

    // Dragging a divider reports once, when the mouse lets go.
    QWidget *headerArea = list.header()->viewport();
    const int divider = list.header()->sectionViewportPosition(0) + list.GetColumnWidth(0) - 1;
    list.widths.clear();
    QTest::mousePress(headerArea, Qt::LeftButton, {}, QPoint(divider, 5));
    QTest::mouseMove(headerArea, QPoint(divider + 30, 5));
    QTest::mouseMove(headerArea, QPoint(divider + 40, 5));
    EXPECT_TRUE(list.widths.isEmpty());
    QTest::mouseRelease(headerArea, Qt::LeftButton, {}, QPoint(divider + 40, 5));
    ASSERT_EQ(list.widths.size(), 1);
    EXPECT_EQ(list.widths.first().first, 0);
    EXPECT_EQ(list.widths.first().second, list.GetColumnWidth(0));
    EXPECT_GT(list.GetColumnWidth(0), 60);
}

TEST(ListSortMark, CyclesAndMovesBetweenColumns)
{
    TestList list;
    fill(list, 0);
    auto *model = static_cast<const TelvListModel *>(list.model());

    EXPECT_TRUE(list.SetSortMark(1, false, false));
    EXPECT_EQ(model->ColumnAt(1).mark, TelvListModel::MARK_ASCENDING);
    EXPECT_FALSE(list.SetSortMark(1, false, false));
    EXPECT_EQ(model->ColumnAt(1).mark, TelvListModel::MARK_DESCENDING);
    EXPECT_TRUE(list.SetSortMark(1, false, false));
    EXPECT_EQ(list.GetSortColumnId(), kTitleColumn);

    // Another column: the old mark goes, the new one shows the given direction.
    EXPECT_FALSE(list.SetSortMark(0, true, false));
    EXPECT_EQ(model->ColumnAt(1).mark, TelvListModel::MARK_NONE);
    EXPECT_EQ(model->ColumnAt(0).mark, TelvListModel::MARK_DESCENDING);

    // Outside the header: no column is marked.
    EXPECT_FALSE(list.SetSortMark(-1, false, false));
    EXPECT_EQ(model->ColumnAt(0).mark, TelvListModel::MARK_NONE);
    EXPECT_EQ(list.GetSortColumnId(), -1);
}

TEST(ListSortMark, DeletedColumnLeavesNothingBehind)
{
    TestList list;
    fill(list, 0);
    list.InsertColumnById(2, kSizeText, 50, kSizeColumn, LVCFMT_RIGHT);
    auto *model = static_cast<const TelvListModel *>(list.model());
    list.SetSortMark(1, true, true);
    ASSERT_TRUE(list.DeleteColumnById(kTitleColumn));
    EXPECT_EQ(list.GetSortColumnId(), -1);
    // The column now at position 1 was never marked: a toggle starts ascending.
    EXPECT_TRUE(list.SetSortMark(1, false, false));
    EXPECT_EQ(model->ColumnAt(0).mark, TelvListModel::MARK_NONE);
    EXPECT_EQ(model->ColumnAt(1).mark, TelvListModel::MARK_ASCENDING);
    // A position past the columns marks nothing.
    EXPECT_FALSE(list.SetSortMark(5, true, true));
    EXPECT_EQ(model->ColumnAt(1).mark, TelvListModel::MARK_NONE);
}

TEST(ListEnter, LowestSelectedRowAndNeverMinusOne)
{
    TestList list;
    fill(list, 8);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.setFocus();

    // Nothing selected: Enter goes on to the default handling.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &enter);
    EXPECT_TRUE(list.entered.isEmpty());

    list.SetItemSelected(5, true);
    list.SetItemSelected(2, true);
    EXPECT_EQ(list.GetSelectedItems(), (QList<int>{2, 5}));
    QKeyEvent enter2(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&list, &enter2);
    EXPECT_TRUE(enter2.isAccepted());
    EXPECT_EQ(list.entered, (QList<int>{2}));

    // A double-click on a row enters that row; below the rows it enters nothing.
    list.entered.clear();
    const QPoint row3 = list.visualRect(list.model()->index(3, 0)).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, row3);
    EXPECT_EQ(list.entered, (QList<int>{3}));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, QPoint(5, list.viewport()->height() - 3));
    EXPECT_EQ(list.entered, (QList<int>{3}));
}

TEST(ListOwnerDraw, ColoursFollowSelectionAndFocus)
{
    TestList list;
    fill(list, 2);
    const QPalette &pal = list.palette();
    QImage image(10, 10, QImage::Format_ARGB32);
    QPainter painter(&image);
    const QRect rect(0, 0, 10, 10);
    EXPECT_EQ(list.GetItemColors(painter, rect, 0, true).background, pal.color(QPalette::Base));
    EXPECT_EQ(list.GetItemColors(painter, rect, LVIS_SELECTED, false).background, pal.color(QPalette::Midlight));
    const ListItemColors focused = list.GetItemColors(painter, rect, LVIS_SELECTED, true);
    EXPECT_EQ(focused.background, pal.color(QPalette::Highlight));
    EXPECT_EQ(focused.text, pal.color(QPalette::HighlightedText));
    EXPECT_EQ(painter.pen().color(), pal.color(QPalette::HighlightedText));
    painter.end();

    // Owner drawing visits every column of every row with its id.
    list.SetOwnerDraw(true);
    list.SetItemSelected(1, true);
    list.grab();
    EXPECT_TRUE(list.drawn.contains(qMakePair(0, kIndexColumn)));
    EXPECT_TRUE(list.drawn.contains(qMakePair(1, kTitleColumn)));
    EXPECT_FALSE(list.drawn.contains(qMakePair(2, kIndexColumn)));
}
