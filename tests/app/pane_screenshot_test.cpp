// A pane as the program shows it: in its child frame, with a list-style tool
// bar over the placeholder and an owner-drawn list anchored below it. The
// picture is checked for the parts being drawn, and written to the file that
// TELV_SCREENSHOT names, when it names one.
#include "app/child_frame.h"
#include "widgets/telv_list_ctrl.h"
#include "widgets/telv_list_model.h"
#include "app/telv_pane_dlg.h"
#include "app/telv_tool_bar_ctrl.h"
#include "app_test_support.h"

#include <QMdiArea>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const ToolBarButton kScreenshotButtons[] = {
    {4017, TBSTATE_ENABLED, BTNS_BUTTON, {}, 804, 804, 803},
    {-1, 0, 0, {}, 0, 0, 0},
    {4037, TBSTATE_ENABLED, BTNS_BUTTON, {}, 804, 804, 803},
    {4042, TBSTATE_ENABLED, BTNS_BUTTON, {}, 803, 803, 804},
};

struct Row {
    const char *index;
    const char *category;
    const char *title;
    const char *time;
};
const Row kRows[] = {
    {"101000001", "店内", "春のキャンペーン", "00:00:30"},
    {"101000002", "店内", "新商品のご案内", "00:01:15"},
    {"101000003", "屋外", "営業時間のお知らせ", "00:00:20"},
    {"101000004", "屋外", "イベント告知", "00:02:00"},
};

class SampleList : public CTelvListCtrl {
public:
    QString GetItemText(int item, int columnId) const override
    {
        const Row &row = kRows[item];
        switch (columnId) {
        case 1:
            return QString::fromUtf8(row.index);
        case 2:
            return QString::fromUtf8(row.category);
        case 3:
            return QString::fromUtf8(row.title);
        default:
            return QString::fromUtf8(row.time);
        }
    }

protected:
    void DrawSubItem(QPainter &painter, int item, int columnId, const QRect &cell) const override
    {
        const int position = FindColumn(columnId);
        const int align = GetColumnAlign(columnId);
        const Qt::Alignment h = align == 2 ? Qt::AlignRight : align == 1 ? Qt::AlignHCenter : Qt::AlignLeft;
        painter.drawText(cell.adjusted(4, 0, -4, 0), h | Qt::AlignVCenter, GetItemText(item, columnId));
        Q_UNUSED(position);
    }
};

class SamplePane : public CTelvPaneDlg {
public:
    SamplePane() : CTelvPaneDlg(3001) {}
    void OnUpdateCommand(CCmdUI &cmdUi) override { cmdUi.Enable(cmdUi.id != 4042); }
    SampleList *list = nullptr;

protected:
    bool OnInitDialog() override
    {
        resize(560, 240);
        auto *placeholder = new QWidget(this);
        placeholder->setObjectName(QString::number(kToolBarPlaceholderId));
        placeholder->setGeometry(4, 2, 300, 26);
        list = new SampleList;
        list->setParent(this);
        list->setGeometry(4, 34, 552, 202);
        list->InsertColumnById(0, 4102, 100, 1, LVCFMT_LEFT);
        list->InsertColumnById(1, 4103, 70, 2, LVCFMT_CENTER);
        list->InsertColumnById(2, 4104, 220, 3, LVCFMT_LEFT);
        list->InsertColumnById(3, 4106, 90, 4, LVCFMT_RIGHT);
        list->SetItemCount(4);
        list->SetOwnerDraw(true);
        list->SetSortMark(2, true, true);
        GetAnchorLayout().AddControl(list, ANCHOR_RIGHT | ANCHOR_BOTTOM);
        return true;
    }
};

} // namespace

TEST(PaneScreenshot, ToolBarAndListAreDrawn)
{
    FakePaneFrame frame;
    QMdiArea client;
    client.resize(620, 330);
    client.setBackground(QColor(128, 128, 128));
    auto *pane = new SamplePane;
    auto *child = new CChildFrame(pane);
    ASSERT_TRUE(child->Create(&client, QStringLiteral("コンテンツ管理"), CChildFrame::kFramedStyle,
                              QRect(10, 10, 0, 0)));
    ASSERT_TRUE(pane->CreateToolBar(kScreenshotButtons, 4, true));
    client.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&client));
    pane->GetToolBar()->OnIdleUpdateCmdUI();
    pane->list->SetItemSelected(1, true);
    pane->list->setFocus();
    QTest::qWait(50);

    const QImage image = client.grab().toImage();
    const QByteArray target = qgetenv("TELV_SCREENSHOT");
    if (!target.isEmpty())
        image.save(QString::fromLocal8Bit(target));

    // The tool bar sits at the placeholder and shows its three buttons.
    const QRect bar = pane->GetToolBar()->geometry();
    EXPECT_EQ(bar.topLeft(), QPoint(4, 2));
    EXPECT_GT(bar.width(), 3 * 16);
    EXPECT_FALSE(pane->GetToolBar()->FindButton(4042)->isEnabled());
    // The selected row is drawn in the highlight colour.
    const QRect row = pane->list->visualRect(pane->list->model()->index(1, 2));
    const QPoint inRow = pane->list->viewport()->mapTo(&client, QPoint(row.right() - 4, row.center().y()));
    EXPECT_EQ(image.pixelColor(inRow), pane->list->palette().color(QPalette::Highlight));
}
