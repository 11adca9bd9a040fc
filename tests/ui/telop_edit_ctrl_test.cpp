// The telop edit control driven through the keyboard and the mouse: typing,
// line breaks, selection, colouring a selection, undo and redo, pasting with
// tabs and breaks, the edit limit and the refusals with their messages.
#include "ops/telop_font.h"
#include "support/scripted_prompter.h"
#include "ui/contents/telop_edit_ctrl.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr ColorRef kRed = 0x0000FF;

class TelopEditCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_edit.resize(400, 120);
        m_edit.SetFont(QStringLiteral("IPAGothic"), 30);
        m_edit.show();
        m_edit.setFocus();
    }

    QString text() const { return m_edit.GetText(); }
    QPair<int, int> selection() const
    {
        int start = 0;
        int end = 0;
        m_edit.GetSel(start, end);
        return {start, end};
    }
    // The viewport point in the middle of the cell at index on the first line.
    QPoint pointOfCell(int index) const
    {
        int x = 0;
        for (int i = 0; i < index; ++i)
            x += m_edit.GetTextDoc().Cells()[i].width;
        return QPoint(x + m_edit.GetTextDoc().Cells()[index].width / 2, 10);
    }

    ScriptedPrompter m_prompter;
    CTelopEditCtrl m_edit{true};
};

} // namespace

TEST_F(TelopEditCtrlTest, TypingSelectingColouringAndUndo)
{
    QTest::keyClicks(&m_edit, QStringLiteral("abcd"));
    EXPECT_EQ(text(), QStringLiteral("abcd"));
    EXPECT_EQ(selection(), qMakePair(4, 4));
    EXPECT_TRUE(m_edit.CanUndo());

    QTest::keyClick(&m_edit, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&m_edit, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(selection(), qMakePair(2, 4));
    m_edit.ChangeColor(kRed);
    const QList<TelopCell> &cells = m_edit.GetTextDoc().Cells();
    EXPECT_EQ(cells[1].color, 0xFFFFFFu);
    EXPECT_EQ(cells[2].color, kRed);
    EXPECT_EQ(cells[3].color, kRed);
    EXPECT_EQ(m_edit.GetCurrentColor(), kRed);

    // Typing over the selection takes the attributes of what it replaces.
    QTest::keyClicks(&m_edit, QStringLiteral("X"));
    EXPECT_EQ(text(), QStringLiteral("abX"));
    EXPECT_EQ(m_edit.GetTextDoc().Cells()[2].color, kRed);
    QTest::keyClicks(&m_edit, QStringLiteral("Y"));
    EXPECT_EQ(m_edit.GetTextDoc().Cells()[3].color, kRed);

    // One undo takes back the typing in one place; the next one redoes it.
    QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abcd"));
    EXPECT_EQ(m_edit.GetTextDoc().Cells()[2].color, kRed);
    QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abXY"));

    m_edit.ClearUndo();
    m_prompter.expect(5327, IDOK);
    QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abXY"));

    // Bold on a selection measures its cells again.
    m_edit.SetSel(0, 2);
    const int before = m_edit.GetTotalWidth();
    m_edit.ChangeStyle(TELOP_STYLE_BOLD, true);
    EXPECT_EQ(m_edit.GetTextDoc().Cells()[0].flags, quint32(TELOP_STYLE_BOLD));
    EXPECT_GE(m_edit.GetTotalWidth(), before);
    m_edit.ChangeStyle(TELOP_STYLE_BOLD, true); // toggles off again
    EXPECT_EQ(m_edit.GetTextDoc().Cells()[0].flags, 0u);
}

TEST_F(TelopEditCtrlTest, LineBreaksGoAndComeAsPairs)
{
    QTest::keyClicks(&m_edit, QStringLiteral("ab"));
    QTest::keyClick(&m_edit, Qt::Key_Return);
    EXPECT_EQ(text(), QStringLiteral("ab")); // no line breaks without want-return

    m_edit.SetWantReturn(true);
    QTest::keyClick(&m_edit, Qt::Key_Return);
    QTest::keyClicks(&m_edit, QStringLiteral("cd"));
    EXPECT_EQ(text(), QStringLiteral("ab\r\ncd"));
    EXPECT_EQ(m_edit.GetTextDoc().GetLineCount(), 2);

    // Left over a break is one step; Backspace after it and Delete before it
    // take both cells.
    m_edit.SetSel(4, 4);
    QTest::keyClick(&m_edit, Qt::Key_Left);
    EXPECT_EQ(selection(), qMakePair(2, 2));
    QTest::keyClick(&m_edit, Qt::Key_Delete);
    EXPECT_EQ(text(), QStringLiteral("abcd"));
    QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("ab\r\ncd"));
    m_edit.SetSel(4, 4);
    QTest::keyClick(&m_edit, Qt::Key_Backspace);
    EXPECT_EQ(text(), QStringLiteral("abcd"));

    // Up and Down keep to the lines; End stops before the break.
    QTest::keyClick(&m_edit, Qt::Key_Z, Qt::ControlModifier);
    m_edit.SetSel(0, 0);
    QTest::keyClick(&m_edit, Qt::Key_End);
    EXPECT_EQ(selection(), qMakePair(2, 2));
    QTest::keyClick(&m_edit, Qt::Key_Down);
    EXPECT_EQ(selection(), qMakePair(6, 6));
}

TEST_F(TelopEditCtrlTest, PasteTurnsTabsIntoBlanksAndKeepsToTheLimitSayingSo)
{
    QApplication::clipboard()->setText(QStringLiteral("a\tb\nc"));
    QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("a        b\r\nc"));

    m_edit.SetSel(0, m_edit.GetTextDoc().GetCellCount());
    QTest::keyClick(&m_edit, Qt::Key_Delete);
    m_edit.SetLimitText(5);
    QApplication::clipboard()->setText(QStringLiteral("abcd\r\nef"));
    m_prompter.expect(7101, IDOK); // the cut is told
    QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("abcd")); // a lone CR is dropped
    EXPECT_EQ(m_prompter.pendingAnswers(), 0);
    QTest::keyClicks(&m_edit, QStringLiteral("xy"));
    EXPECT_EQ(text(), QStringLiteral("abcdx"));

    // Copy and cut want a selection; an empty clipboard is said so.
    m_edit.SetSel(1, 1);
    m_prompter.expect(5328, IDOK);
    QTest::keyClick(&m_edit, Qt::Key_C, Qt::ControlModifier);
    m_edit.SetSel(1, 3);
    QTest::keyClick(&m_edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("adx"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("bc"));
    QApplication::clipboard()->clear();
    m_prompter.expect(5331, IDOK);
    QTest::keyClick(&m_edit, Qt::Key_V, Qt::ControlModifier);
}

TEST_F(TelopEditCtrlTest, MousePlacesTheCaretAndDragsASelection)
{
    QTest::keyClicks(&m_edit, QStringLiteral("ABCDEF"));
    QWidget *view = m_edit.viewport();
    // A click on the right half of a cell puts the caret after it.
    QTest::mouseClick(view, Qt::LeftButton, {}, pointOfCell(2) + QPoint(2, 0));
    EXPECT_EQ(selection(), qMakePair(3, 3));
    QTest::mouseClick(view, Qt::LeftButton, {}, pointOfCell(1) - QPoint(2, 0));
    EXPECT_EQ(selection(), qMakePair(1, 1));
    QTest::mouseClick(view, Qt::LeftButton, Qt::ShiftModifier, pointOfCell(4) + QPoint(2, 0));
    EXPECT_EQ(selection(), qMakePair(1, 5));

    QTest::mousePress(view, Qt::LeftButton, {}, pointOfCell(0) - QPoint(2, 0));
    QMouseEvent move(QEvent::MouseMove, pointOfCell(3) + QPoint(2, 0), view->mapToGlobal(pointOfCell(3)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, pointOfCell(3) + QPoint(2, 0));
    EXPECT_EQ(selection(), qMakePair(0, 4));
}

TEST_F(TelopEditCtrlTest, PreviewJoinsLinesAndTakesNoEdits)
{
    m_edit.SetWantReturn(true);
    QTest::keyClicks(&m_edit, QStringLiteral("ab"));
    QTest::keyClick(&m_edit, Qt::Key_Return);
    QTest::keyClicks(&m_edit, QStringLiteral("cd"));
    QString records;
    ASSERT_TRUE(m_edit.GetTextData(records));

    CTelopEditCtrl preview(false);
    preview.resize(200, 60);
    ASSERT_TRUE(preview.SetTextData(records));
    QList<int> breaks;
    preview.JoinLines(breaks);
    EXPECT_EQ(preview.GetText(), QStringLiteral("ab cd"));
    EXPECT_EQ(breaks, QList<int>{2});
    QTest::keyClicks(&preview, QStringLiteral("zz"));
    EXPECT_EQ(preview.GetText(), QStringLiteral("ab cd"));
    preview.SplitLines(breaks);
    EXPECT_EQ(preview.GetText(), QStringLiteral("ab\r\ncd"));
    QString again;
    ASSERT_TRUE(preview.GetTextData(again));
    EXPECT_EQ(again, records);
}
