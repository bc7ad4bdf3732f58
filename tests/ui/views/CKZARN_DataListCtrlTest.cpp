#include "ui/views/CKZARN_DataListCtrl.h"

#include "platform/qt/WindowMessageHandler.h"
#include "tests/ui/views/ViewImageProbe.h"
#include "ui/views/ZarnDrawing.h"

#include <QHeaderView>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// The grid's parent: records every message and answers edits with a set reply, reading the typed
// text while it is asked.
class GridParent final : public QWidget, public WindowMessageHandler {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::string edited;
    };
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        messages.push_back(Message{message, wParam, lParam, grid ? grid->GetEditedText() : std::string()});
        return message == WM_ZARN_GRID_EDITED ? answer : 0;
    }
    std::vector<Message> messages;
    LRESULT answer = 1;
    CKZARN_DataListCtrl* grid = nullptr;
};

struct GridRig {
    GridParent parent;
    CKZARN_DataListCtrl* grid = new CKZARN_DataListCtrl(&parent);

    explicit GridRig(BOOL editable = TRUE)
    {
        parent.grid = grid;
        auto* layout = new QVBoxLayout(&parent);
        layout->addWidget(grid);
        parent.resize(700, 400);
        grid->SetEditLabels(editable);
        grid->setRowCount(CKZARN_DataListCtrl::kRowCount);
        for (int r = 0; r < CKZARN_DataListCtrl::kRowCount; ++r) {
            grid->SetItemText(r, 0, std::to_string(r + 3));
            for (int c = 1; c < 6; ++c) {
                grid->SetItemText(r, c, "+0.5");
            }
        }
        parent.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
        grid->setFocus();
    }
    QPoint CellCentre(int row, int column) const { return grid->visualRect(grid->model()->index(row, column)).center(); }
    void Click(int row, int column) { QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(row, column)); }
};

} // namespace

TEST(CKZARN_DataListCtrl, F2OnAValueCellEditsAndTheParentDecides)
{
    for (LRESULT answer : {1, 0}) {
        GridRig rig;
        rig.parent.answer = answer;
        rig.Click(2, 3);
        EXPECT_EQ(rig.grid->m_nCurColumn, 3);
        QTest::keyClick(rig.grid, Qt::Key_F2);
        ASSERT_TRUE(rig.grid->IsEditing());
        EXPECT_EQ(rig.grid->Editor().text().toStdString(), "+0.5");
        EXPECT_EQ(rig.grid->Editor().inputMode, 4);
        rig.grid->Editor().setText(QString());
        QTest::keyClicks(&rig.grid->Editor(), "-1.2");
        QTest::keyClick(&rig.grid->Editor(), Qt::Key_Return);
        EXPECT_FALSE(rig.grid->IsEditing());
        ASSERT_EQ(rig.parent.messages.size(), 1u);
        EXPECT_EQ(rig.parent.messages[0].message, WM_ZARN_GRID_EDITED);
        EXPECT_EQ(rig.parent.messages[0].wParam, 2u);
        EXPECT_EQ(rig.parent.messages[0].lParam, 3);
        EXPECT_EQ(rig.parent.messages[0].edited, "-1.2");
        EXPECT_EQ(rig.grid->GetItemText(2, 3), answer == 1 ? "-1.2" : "+0.5");
        EXPECT_EQ(rig.grid->GetEditedText(), "");
        EXPECT_EQ(rig.grid->currentRow(), 2);
    }
}

TEST(CKZARN_DataListCtrl, IsoCellActivatesTheRowWithoutAnEditor)
{
    GridRig rig;
    rig.Click(5, 0);
    QTest::keyClick(rig.grid, Qt::Key_F2);
    EXPECT_FALSE(rig.grid->IsEditing());
    ASSERT_EQ(rig.parent.messages.size(), 1u);
    EXPECT_EQ(rig.parent.messages[0].message, WM_ZARN_GRID_ROW_ACTIVATED);
    EXPECT_EQ(rig.parent.messages[0].wParam, 5u);
    EXPECT_EQ(rig.parent.messages[0].lParam, 0);
}

TEST(CKZARN_DataListCtrl, EditsStartOnlyFromF2OrADoubleClick)
{
    GridRig rig;
    rig.Click(1, 2);
    EXPECT_FALSE(rig.grid->EditLabel(1)); // no gesture asked for it
    EXPECT_FALSE(rig.grid->IsEditing());
    QTest::mouseDClick(rig.grid->viewport(), Qt::LeftButton, {}, rig.CellCentre(1, 2));
    EXPECT_TRUE(rig.grid->IsEditing());
    // Escape cancels: nothing reaches the parent and the cell keeps its text.
    QTest::keyClick(&rig.grid->Editor(), Qt::Key_Escape);
    EXPECT_FALSE(rig.grid->IsEditing());
    EXPECT_TRUE(rig.parent.messages.empty());
    EXPECT_EQ(rig.grid->GetItemText(1, 2), "+0.5");

    GridRig display(FALSE);
    display.Click(1, 2);
    QTest::keyClick(display.grid, Qt::Key_F2);
    EXPECT_FALSE(display.grid->IsEditing());
    EXPECT_EQ(display.grid->m_nCurColumn, -1);
}

TEST(CKZARN_DataListCtrl, EmptyEditChangesNothing)
{
    GridRig rig;
    rig.Click(0, 1);
    QTest::keyClick(rig.grid, Qt::Key_F2);
    rig.grid->Editor().clear();
    QTest::keyClick(&rig.grid->Editor(), Qt::Key_Return);
    EXPECT_TRUE(rig.parent.messages.empty());
    EXPECT_EQ(rig.grid->GetItemText(0, 1), "+0.5");
}

TEST(CKZARN_DataListCtrl, ArrowKeysMoveTheCurrentColumnWithinTheValues)
{
    struct Case {
        int start;
        Qt::Key key;
        int expected;
    };
    const Case cases[] = {{1, Qt::Key_Left, 1}, {5, Qt::Key_Right, 5}, {-1, Qt::Key_Left, 1},
                          {-1, Qt::Key_Right, 0}, {3, Qt::Key_Right, 4}, {3, Qt::Key_Left, 2}};
    GridRig rig;
    rig.Click(4, 1);
    for (const Case& c : cases) {
        rig.grid->m_nCurColumn = c.start;
        QTest::keyClick(rig.grid, c.key);
        EXPECT_EQ(rig.grid->m_nCurColumn, c.expected) << c.start;
    }
}

TEST(CKZARN_DataListCtrl, RowMarksAndBands)
{
    GridRig rig;
    rig.grid->SetRowMark(66, 1);
    rig.grid->SetRowMark(67, 1); // beyond the table: ignored
    EXPECT_EQ(rig.grid->GetRowMark(66), 1);
    EXPECT_EQ(rig.grid->GetRowMark(67), 0);
    QPixmap big(64, 64);
    big.fill(Qt::red);
    rig.grid->SetMarkIcon(big, 64, 64);
    rig.grid->SetRowMark(4, 1);
    rig.grid->clearSelection();
    rig.grid->setCurrentCell(-1, -1);
    const QImage shot = rig.grid->viewport()->grab().toImage();
    const QRect row3 = rig.grid->visualRect(rig.grid->model()->index(3, 4));
    const QRect row4 = rig.grid->visualRect(rig.grid->model()->index(4, 0));
    EXPECT_EQ(PixelRef(shot, row3.left() + 3, row3.top() + 2), 0xE8E8E8u);
    EXPECT_NE(PixelRef(shot, row4.right() - 3, row4.top() + 2), 0xE8E8E8u);
    // The icon larger than the row is drawn square, the row height less 2.
    const int h = row4.height() - 2;
    EXPECT_EQ(CountColour(shot, 0x0000FF, row4.left(), row4.top(), row4.right(), row4.bottom() + 1), h * h);
}

TEST(CKZARN_DataListCtrl, FocusRectangleFollowsTheCurrentColumn)
{
    GridRig rig;
    rig.parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.parent));
    rig.grid->setFocus();
    ASSERT_TRUE(rig.grid->hasFocus());
    const COLORREF ink = RefFromColor(rig.grid->palette().color(QPalette::Text));
    // Dotted pixels on the top edge of a cell of row 5.
    auto topEdgeInk = [&](int column) {
        const QImage shot = rig.grid->viewport()->grab().toImage();
        const QRect cell = rig.grid->visualRect(rig.grid->model()->index(5, column));
        return CountColour(shot, ink, cell.left() + 1, cell.top(), cell.right(), cell.top() + 1);
    };
    // The ISO cell's bounds are the whole row.
    rig.Click(5, 0);
    EXPECT_GT(topEdgeInk(0), 0);
    EXPECT_GT(topEdgeInk(3), 0);
    // A value cell: only that cell.
    rig.Click(5, 2);
    EXPECT_GT(topEdgeInk(2), 0);
    EXPECT_EQ(topEdgeInk(3), 0);
    EXPECT_EQ(topEdgeInk(0), 0);
}
