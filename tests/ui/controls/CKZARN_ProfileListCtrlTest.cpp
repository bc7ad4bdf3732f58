// The profile list on its own: slot rows, the drag picture, a drag from one list onto a row of
// another reported to the owner, and the end of a label edit.
#include "platform/qt/WindowMessageHandler.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/controls/CNoContextEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace {

// The owner of a drag: records the drops it hears of.
class DropOwner final : public QWidget, public WindowMessageHandler {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ZARN_PROFILE_DROPPED) {
            auto* from = reinterpret_cast<CKZARN_ProfileListCtrl*>(wParam);
            auto* to = reinterpret_cast<CKZARN_ProfileListCtrl*>(lParam);
            drops.push_back({from, to, from->dragItem, to->dropItem});
        }
        return 1;
    }
    struct Drop {
        CKZARN_ProfileListCtrl* from;
        CKZARN_ProfileListCtrl* to;
        int dragItem;
        int dropItem;
    };
    std::vector<Drop> drops;
};

struct Lists {
    DropOwner owner;
    CKZARN_ProfileListCtrl* pc = new CKZARN_ProfileListCtrl(&owner);
    CKZARN_ProfileListCtrl* slotList = new CKZARN_ProfileListCtrl(&owner);

    Lists()
    {
        auto* layout = new QHBoxLayout(&owner);
        layout->addWidget(pc);
        layout->addWidget(slotList);
        owner.resize(500, 300);
        pc->pcList = 1;
        pc->EnableDrag(1);
        for (const char* name : {"CAMERA_DEFAULT", "alpha", "beta"}) pc->InsertItem(pc->GetItemCount(), name);
        slotList->SetSlotNumbering(1, "");
        slotList->EnableDrag(1);
        slotList->setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (int i = 0; i < 3; ++i) slotList->InsertItem(i, "");
        owner.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&owner));
        pc->AutoSizeColumns();
        slotList->AutoSizeColumns();
    }
    static QPoint RowCentre(CKZARN_ProfileListCtrl* list, int row)
    {
        return list->visualItemRect(list->topLevelItem(row)).center();
    }
    static QPoint GlobalRowCentre(CKZARN_ProfileListCtrl* list, int row)
    {
        return list->viewport()->mapToGlobal(RowCentre(list, row));
    }
};

TEST(ProfileListCtrlTest, SlotListsNumberTheirRowsAndClearSelectedTexts)
{
    Lists lists;
    CKZARN_ProfileListCtrl* numberedList = lists.slotList;
    EXPECT_EQ(numberedList->columnCount(), 2);
    EXPECT_GE(numberedList->columnWidth(0), 40);
    numberedList->SetItemText(0, "alpha");
    numberedList->SetItemText(2, "beta");
    numberedList->SelectItem(0, true, true);
    numberedList->SelectItem(1, true, false);
    numberedList->ClearSelectedTexts();
    EXPECT_EQ(numberedList->GetItemText(0), "");
    EXPECT_EQ(numberedList->GetItemText(2), "beta");
    numberedList->DeselectAll();
    EXPECT_TRUE(numberedList->GetSelectedItems().empty());
    // A list without numbering keeps no empty-slot text.
    lists.pc->SetSlotNumbering(0, "empty");
    EXPECT_EQ(lists.pc->emptySlotText, "");
    EXPECT_EQ(lists.pc->columnCount(), 1);
}

// A selected row is drawn in the palette's highlight, with the focus and without it (then in the
// inactive highlight), in both kinds of list.
TEST(ProfileListCtrlTest, SelectedRowsShowThePalettesHighlight)
{
    Lists lists;
    lists.slotList->SetItemText(1, "alpha");
    for (CKZARN_ProfileListCtrl* list : {lists.pc, lists.slotList}) {
        list->SelectItem(1, true, true);
        for (const bool focused : {true, false}) {
            SCOPED_TRACE(std::string(list == lists.pc ? "pc" : "slots") + (focused ? " focused" : " unfocused"));
            if (focused) {
                list->setFocus();
            } else {
                lists.owner.setFocus();
                list->clearFocus();
            }
            QApplication::processEvents();
            ASSERT_EQ(list->hasFocus(), focused);
            const QImage picture = list->viewport()->grab().toImage();
            const QRect row = list->visualItemRect(list->topLevelItem(1));
            const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
            // Right of the number column and of the text: the row's background.
            const QPoint inside(row.right() - 3, row.center().y());
            EXPECT_EQ(picture.pixelColor(inside), list->palette().color(group, QPalette::Highlight));
            const QPoint unselected(row.right() - 3, list->visualItemRect(list->topLevelItem(2)).center().y());
            EXPECT_EQ(picture.pixelColor(unselected), list->palette().color(QPalette::Base));
        }
    }
}

TEST(ProfileListCtrlTest, ADragPictureOnlyForOneRowWithText)
{
    Lists lists;
    EXPECT_FALSE(lists.pc->MakeDragImage(1).isNull());
    EXPECT_TRUE(lists.pc->MakeDragImage(7).isNull());
    EXPECT_TRUE(lists.slotList->MakeDragImage(0).isNull()); // an empty slot
    lists.slotList->SetItemText(0, "alpha");
    lists.slotList->SetItemText(1, "beta");
    lists.slotList->SelectItem(0, true, false);
    lists.slotList->SelectItem(1, true, false);
    EXPECT_TRUE(lists.slotList->MakeDragImage(0).isNull()); // two rows selected
    lists.slotList->BeginDrag(0, Lists::RowCentre(lists.slotList, 0), &lists.owner);
    EXPECT_EQ(lists.slotList->dragging, 0);
    // Dragging disabled: nothing starts.
    lists.pc->EnableDrag(0);
    lists.pc->BeginDrag(1, Lists::RowCentre(lists.pc, 1), &lists.owner);
    EXPECT_EQ(lists.pc->dragging, 0);
}

// A drag shows its picture over the owner, follows the mouse and, released over a row of a profile
// list, tells the owner; released over the dragged row itself or beside the rows, it does not.
TEST(ProfileListCtrlTest, ADropOntoARowIsReportedToTheOwner)
{
    Lists lists;
    lists.pc->BeginDrag(1, Lists::RowCentre(lists.pc, 1), &lists.owner);
    ASSERT_EQ(lists.pc->dragging, 1);
    ASSERT_NE(lists.pc->DragPicture(), nullptr);
    EXPECT_EQ(lists.pc->DragPicture()->parentWidget(), &lists.owner);
    QTest::mouseMove(lists.pc->viewport(), Lists::RowCentre(lists.pc, 2));
    lists.pc->EndDragAt(Lists::GlobalRowCentre(lists.slotList, 2));
    EXPECT_EQ(lists.pc->dragging, 0);
    EXPECT_EQ(lists.pc->DragPicture(), nullptr);
    ASSERT_EQ(lists.owner.drops.size(), 1u);
    EXPECT_EQ(lists.owner.drops[0].from, lists.pc);
    EXPECT_EQ(lists.owner.drops[0].to, lists.slotList);
    EXPECT_EQ(lists.owner.drops[0].dragItem, 1);
    EXPECT_EQ(lists.owner.drops[0].dropItem, 2);

    lists.pc->BeginDrag(1, Lists::RowCentre(lists.pc, 1), &lists.owner);
    lists.pc->EndDragAt(Lists::GlobalRowCentre(lists.pc, 1)); // onto itself
    lists.pc->BeginDrag(1, Lists::RowCentre(lists.pc, 1), &lists.owner);
    const QRect below = lists.slotList->viewport()->rect();
    lists.pc->EndDragAt(lists.slotList->viewport()->mapToGlobal(below.bottomLeft() + QPoint(50, -3)));
    EXPECT_EQ(lists.owner.drops.size(), 1u);
    EXPECT_EQ(lists.pc->dropItem, -1);
}

// A label edit reports its text when it ends, nothing when it was cancelled, and runs in a
// CNoContextEdit while the list says it is editing.
TEST(ProfileListCtrlTest, LabelEditsEndWithTheirTextOrCancelled)
{
    Lists lists;
    std::vector<std::pair<int, std::optional<std::string>>> ends;
    QObject::connect(lists.pc, &CKZARN_ProfileListCtrl::labelEditEnded,
                     [&](int item, std::optional<std::string> text) { ends.push_back({item, text}); });
    lists.pc->EditLabel(1);
    ASSERT_TRUE(lists.pc->IsEditingLabel());
    ASSERT_NE(lists.pc->labelEditor, nullptr);
    EXPECT_EQ(lists.pc->labelEditor->text().toStdString(), "alpha");
    lists.pc->labelEditor->setText("gamma");
    QTest::keyClick(lists.pc->labelEditor.data(), Qt::Key_Return);
    QCoreApplication::processEvents(); // the edit ends from the event loop
    EXPECT_FALSE(lists.pc->IsEditingLabel());
    lists.pc->EditLabel(2);
    ASSERT_NE(lists.pc->labelEditor, nullptr);
    QTest::keyClick(lists.pc->labelEditor.data(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].first, 1);
    EXPECT_EQ(ends[0].second, std::optional<std::string>("gamma"));
    EXPECT_EQ(ends[1].first, 2);
    EXPECT_FALSE(ends[1].second.has_value());
    // The list's own text is the owner's to change.
    EXPECT_EQ(lists.pc->GetItemText(1), "alpha");
}

} // namespace
