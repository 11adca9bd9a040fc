// The time-code entry: per-key rules with the beep for a refused key,
// auto-advance, Home and End, Tab commit, setters and their ranges, pasted
// text, and the time edit dialog.
#include "widgets/beep.h"
#include "widgets/time_code_ctrl.h"
#include "widgets/time_code_edit.h"
#include "widgets/time_code_spin.h"
#include "widgets/time_edit_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct TimeFixture {
    TimeFixture(bool frames = true, bool spin = true)
    {
        SetBeepHook([this] { ++beeps; });
        ctrl = new CTimeCodeCtrl(&host);
        ctrl->Create(true, true, true, frames, spin);
        ctrl->SetNotifyHandler([this](int code) {
            codes.append(code);
            return handleCommit && code == CTimeCodeCtrl::TCN_COMMIT;
        });
        after = new QLineEdit(&host);
        after->move(0, 60);
        host.resize(300, 120);
        host.show();
        host.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    ~TimeFixture()
    {
        // The window closes after the recorders are gone: stop listening first.
        ctrl->SetNotifyHandler({});
        SetBeepHook({});
    }

    CTimeCodeEdit *field(int i) const { return ctrl->GetField(i); }
    void type(int i, const char *keys)
    {
        for (const char *k = keys; *k; ++k)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : field(i), *k);
    }

    QWidget host;
    CTimeCodeCtrl *ctrl = nullptr;
    QLineEdit *after = nullptr;
    int beeps = 0;
    bool handleCommit = false;
    QList<int> codes;
};

} // namespace

TEST(TimeCode, DigitsOutsideTheRangeAreRefusedWithABeep)
{
    TimeFixture f;
    f.field(0)->setFocus();
    f.field(0)->clear();
    QTest::keyClick(f.field(0), Qt::Key_3);
    QTest::keyClick(f.field(0), Qt::Key_5); // 35 hours
    EXPECT_EQ(f.field(0)->text(), QStringLiteral("3"));
    EXPECT_EQ(f.beeps, 1);
    QTest::keyClick(f.field(0), Qt::Key_A);
    EXPECT_EQ(f.beeps, 2);

    // With the whole text selected a digit replaces it.
    f.field(0)->selectAll();
    QTest::keyClick(f.field(0), Qt::Key_5);
    EXPECT_EQ(f.field(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(f.beeps, 2);
    // A digit typed at the start goes in front: 15, not 51.
    f.field(0)->setCursorPosition(0);
    QTest::keyClick(f.field(0), Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(f.ctrl->GetHours(), 15);
}

TEST(TimeCode, AFullFieldMovesOnAndTheLastOneCommits)
{
    TimeFixture f;
    f.ctrl->SetMinute(7);
    f.field(1)->setFocus();
    f.field(1)->selectAll();
    QTest::keyClick(f.field(1), Qt::Key_4);
    QTest::keyClick(f.field(1), Qt::Key_2);
    EXPECT_EQ(f.ctrl->GetMinutes(), 42);
    EXPECT_EQ(QApplication::focusWidget(), f.field(2));
    EXPECT_EQ(f.field(2)->selectedText(), f.field(2)->text());
    EXPECT_TRUE(f.codes.contains(CTimeCodeCtrl::TCN_CHANGE));
    EXPECT_EQ(f.ctrl->GetActiveField(), CTimeCodeCtrl::FIELD_SECONDS);

    f.codes.clear();
    f.field(3)->setFocus();
    f.field(3)->selectAll();
    QTest::keyClick(f.field(3), Qt::Key_2);
    QTest::keyClick(f.field(3), Qt::Key_9);
    EXPECT_EQ(f.ctrl->GetFrames(), 29);
    EXPECT_EQ(f.codes.last(), CTimeCodeCtrl::TCN_COMMIT);
}

TEST(TimeCode, HomeEndArrowsAndTab)
{
    TimeFixture f(false); // no frames field
    f.ctrl->SetHour(1);
    f.ctrl->SetMinute(2);
    f.ctrl->SetSecond(3);
    f.field(1)->setFocus();
    QTest::keyClick(f.field(1), Qt::Key_End);
    EXPECT_EQ(QApplication::focusWidget(), f.field(2)) << "End goes to the last shown field";
    EXPECT_EQ(f.field(2)->cursorPosition(), 2);
    QTest::keyClick(f.field(2), Qt::Key_Home);
    EXPECT_EQ(QApplication::focusWidget(), f.field(0));
    EXPECT_EQ(f.field(0)->cursorPosition(), 0);
    // Right at the end of a field goes on to the next one, caret at its start.
    f.field(0)->setCursorPosition(2);
    QTest::keyClick(f.field(0), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), f.field(1));
    EXPECT_EQ(f.field(1)->cursorPosition(), 0);
    QTest::keyClick(f.field(1), Qt::Key_Left);
    EXPECT_EQ(QApplication::focusWidget(), f.field(0));

    // Tab moves between fields and reformats the field left; past the last
    // field it commits, and an unhandled commit reports a lost focus.
    f.field(0)->setText(QStringLiteral("4"));
    QSignalSpy lost(f.ctrl, &CTimeCodeCtrl::lostFocus);
    f.codes.clear();
    QTest::keyClick(f.field(0), Qt::Key_Tab);
    EXPECT_EQ(f.field(0)->text(), QStringLiteral("04"));
    EXPECT_EQ(QApplication::focusWidget(), f.field(1));
    QTest::keyClick(f.field(1), Qt::Key_Tab);
    QTest::keyClick(f.field(2), Qt::Key_Tab);
    EXPECT_EQ(f.codes, (QList<int>{CTimeCodeCtrl::TCN_COMMIT}));
    EXPECT_EQ(lost.count(), 1);
    f.handleCommit = true;
    QTest::keyClick(f.field(2), Qt::Key_Tab);
    EXPECT_EQ(lost.count(), 1);
    QTest::keyClick(f.field(0), Qt::Key_Backtab);
    EXPECT_EQ(f.codes.size(), 3);

    // Enter commits too; focus leaving the control commits.
    QTest::keyClick(f.field(1), Qt::Key_Return);
    EXPECT_EQ(f.codes.size(), 4);
    f.after->setFocus();
    EXPECT_EQ(f.codes.size(), 5);
    EXPECT_EQ(f.beeps, 0);
}

TEST(TimeCode, SettersKeepToTheRanges)
{
    TimeFixture f(false);
    ASSERT_TRUE(f.ctrl->SetMinute(59));
    EXPECT_FALSE(f.ctrl->SetMinute(60));
    EXPECT_EQ(f.ctrl->GetMinutes(), 59);
    EXPECT_EQ(f.field(1)->text(), QStringLiteral("59"));
    EXPECT_FALSE(f.ctrl->SetHour(24));
    EXPECT_TRUE(f.codes.isEmpty()) << "setters do not notify";

    // A field that is not shown keeps a preset value.
    EXPECT_TRUE(f.ctrl->SetFrame(12));
    EXPECT_EQ(f.ctrl->GetFrames(), 12);
    EXPECT_FALSE(f.ctrl->SetFrame(30));
    EXPECT_EQ(f.ctrl->GetField(3), nullptr);

    f.ctrl->SetRange(0, 48);
    EXPECT_TRUE(f.ctrl->SetHour(47));
    EXPECT_EQ(f.ctrl->GetHours(), 47);
    f.field(0)->selectAll();
    f.field(0)->insert(QStringLiteral("x"));
    EXPECT_EQ(f.ctrl->GetHours(), 47) << "a refused text leaves the number";
}

TEST(TimeCode, PastedOrComposedTextStaysInRange)
{
    TimeFixture f;
    f.ctrl->SetSecond(30);
    CTimeCodeEdit *seconds = f.field(2);
    seconds->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("75"));
    seconds->paste();
    EXPECT_EQ(seconds->text(), QStringLiteral("30"));
    QApplication::clipboard()->setText(QStringLiteral("4x"));
    seconds->paste();
    EXPECT_EQ(seconds->text(), QStringLiteral("30"));
    QApplication::clipboard()->setText(QStringLiteral("45"));
    seconds->paste();
    EXPECT_EQ(seconds->text(), QStringLiteral("45"));

    // An input method's commit goes through the same check.
    seconds->selectAll();
    QInputMethodEvent compose;
    compose.setCommitString(QStringLiteral("99"));
    QCoreApplication::sendEvent(seconds, &compose);
    EXPECT_EQ(seconds->text(), QStringLiteral("45"));
}

TEST(TimeCode, SpinFollowsTheActiveField)
{
    TimeFixture f;
    f.ctrl->SetMinute(58);
    f.field(1)->setFocus();
    CTimeCodeSpin *spin = f.ctrl->GetSpin();
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->GetMaximum(), 59);
    EXPECT_EQ(spin->GetPos(), 58);
    emit spin->positionChanged(59);
    EXPECT_EQ(f.ctrl->GetMinutes(), 59);

    f.ctrl->SetReadOnly(true);
    EXPECT_TRUE(f.field(1)->isReadOnly());
    f.ctrl->SetReadOnly(false);
    f.ctrl->EnableWindow(false);
    EXPECT_TRUE(f.field(1)->isReadOnly());
    f.ctrl->EnableWindow(true);
    EXPECT_FALSE(f.field(1)->isReadOnly());
}

TEST(TimeEditDlg, AcceptsTimesPastMidnightAndEnterConfirms)
{
    CTimeEditDlg dialog(nullptr, -1, true);
    EXPECT_EQ(dialog.objectName(), QStringLiteral("2031"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("時間の変更"));
    dialog.SetTime(47, 59, 59);
    CTimeCodeCtrl *time = dialog.GetTimeCtrl();
    EXPECT_EQ(time->objectName(), QStringLiteral("1153"));
    EXPECT_EQ(time->GetHours(), 47);
    EXPECT_EQ(time->GetField(3), nullptr);

    QTimer::singleShot(0, &dialog, [&] {
        // The focus starts in the seconds field; Enter there confirms.
        EXPECT_EQ(QApplication::focusWidget(), time->GetField(2));
        QTest::keyClick(time->GetField(2), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetHours(), 47);
    EXPECT_EQ(dialog.GetMinutes(), 59);
    EXPECT_EQ(dialog.GetSeconds(), 59);

    CTimeEditDlg day(nullptr, -1, false);
    day.SetTime(23, 0, 0);
    EXPECT_FALSE(day.GetTimeCtrl()->SetHour(24));
}
