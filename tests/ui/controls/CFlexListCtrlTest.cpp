#include "core/util/CLangTable.h"
#include "platform/qt/QtMessageSink.h"
#include "tests/ui/controls/MessageRecorder.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CFlexBoolItem.h"
#include "ui/controls/CFlexDirectItem.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexItemList.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexListDelegate.h"
#include "ui/controls/CFlexListRows.h"
#include "ui/controls/CFlexSelectItem.h"
#include "ui/controls/FlexListMessages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

namespace {

// Captions 91000 + n read "Cn"; choice texts 91100 + n read "Tn".
void LoadTestTexts()
{
    std::u16string lines;
    for (int n = 0; n < 20; ++n) {
        lines += u"910" + std::u16string(n < 10 ? u"0" : u"") + QString::number(n).toStdU16String() + u"\tC" +
                 QString::number(n).toStdU16String() + u"\r\n";
        lines += u"911" + std::u16string(n < 10 ? u"0" : u"") + QString::number(n).toStdU16String() + u"\tT" +
                 QString::number(n).toStdU16String() + u"\r\n";
    }
    std::string bytes(reinterpret_cast<const char*>(lines.data()), lines.size() * 2);
    CLangTable::GetInstance()->LoadFromBytes(bytes);
}

// Item shorthand: key, level, group flag; caption "C<level>" is not needed, the key tells them apart.
struct ItemRow {
    int type;
    std::string key;
    int level;
    int group;
    int caption;
};

CFlexItem* MakeItem(const ItemRow& row)
{
    CFlexItem* item = nullptr;
    switch (row.type) {
    case CFlexItem::kBool: item = new CFlexBoolItem; break;
    case CFlexItem::kDirect: item = new CFlexDirectItem; break;
    case CFlexItem::kSelect: {
        auto* select = new CFlexSelectItem;
        select->GetChoiceList().Add(91101, "0");
        select->GetChoiceList().Add(91102, "1");
        select->GetChoiceList().Add(91103, "2");
        item = select;
        break;
    }
    default: item = new CFlexItem; break;
    }
    item->key = row.key;
    item->level = row.level;
    item->captionTextId = row.caption;
    item->greyWhenDisabled = 1;
    if (row.group) item->expanded = 0; // groups start closed, as the pages make them
    return item;
}

void Fill(CFlexItemList& list, const std::vector<ItemRow>& rows)
{
    for (const ItemRow& row : rows) list.Add(MakeItem(row), row.group);
}

std::vector<std::string> VisibleKeys(const CFlexItemList& list)
{
    std::vector<std::string> keys;
    for (const CFlexItem* item : list.GetVisibleItems()) keys.push_back(item->key);
    return keys;
}

// A tree: A (A1, A2 (A21, A22), A3), B, C (C1), D.
const std::vector<ItemRow> kTree = {
    {3, "A", 0, 1, 91001}, {3, "A1", 1, 0, 91002}, {3, "A2", 1, 1, 91003}, {3, "A21", 2, 0, 91004},
    {3, "A22", 2, 0, 91005}, {3, "A3", 1, 0, 91006}, {2, "B", 0, 0, 91007}, {3, "C", 0, 1, 91008},
    {3, "C1", 1, 0, 91009},  {0, "D", 0, 0, 91010},
};

TEST(CFlexItemList, AddSetsIndexAndGroupFlagAndRefusesNothing)
{
    CFlexItemList list;
    EXPECT_EQ(list.Add(nullptr, 1), 0);
    Fill(list, kTree);
    ASSERT_EQ(list.GetItems().size(), kTree.size());
    for (std::size_t i = 0; i < kTree.size(); ++i) {
        EXPECT_EQ(list.GetItems()[i]->index, static_cast<int>(i));
        EXPECT_EQ(list.GetItems()[i]->hasChildren, kTree[i].group);
    }
    EXPECT_TRUE(list.GetVisibleItems().empty());
    EXPECT_EQ(list.GetRowItem(0), nullptr);
    EXPECT_EQ(list.GetRowItem(-1), nullptr);
}

TEST(CFlexItemList, RebuildSkipsHiddenItemsAndChildrenOfClosedGroups)
{
    CFlexItemList list;
    Fill(list, kTree);
    list.RebuildVisible();
    EXPECT_EQ(VisibleKeys(list), (std::vector<std::string>{"A", "B", "C", "D"}));

    list.GetItems()[0]->expanded = 1; // A open, A2 still closed
    list.GetItems()[6]->visible = 0;  // B hidden
    list.RebuildVisible();
    EXPECT_EQ(VisibleKeys(list), (std::vector<std::string>{"A", "A1", "A2", "A3", "C", "D"}));
}

TEST(CFlexItemList, ExpandShowsOpenSubGroupsOnlyAndCollapseTakesAllShownDescendants)
{
    CFlexItemList list;
    Fill(list, kTree);
    list.RebuildVisible();
    int count = -5, first = -5;

    ASSERT_TRUE(list.Expand(0, &count, &first)); // A, with A2 closed
    EXPECT_EQ(count, 3);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(VisibleKeys(list), (std::vector<std::string>{"A", "A1", "A2", "A3", "B", "C", "D"}));
    EXPECT_EQ(list.GetItems()[0]->expanded, 1);

    ASSERT_TRUE(list.Expand(2, &count, &first)); // A2
    EXPECT_EQ(count, 2);
    EXPECT_EQ(first, 3);

    ASSERT_TRUE(list.Collapse(0, &count, &first)); // A takes A1, A2, A21, A22, A3 with it
    EXPECT_EQ(count, 5);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(VisibleKeys(list), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(list.GetItems()[0]->expanded, 0);

    ASSERT_TRUE(list.Expand(0, &count, &first)); // A2 stayed open
    EXPECT_EQ(count, 5);
}

TEST(CFlexItemList, GroupsWithoutShownChildrenChangeNoRows)
{
    CFlexItemList list;
    Fill(list, {{3, "G", 0, 1, 91001}, {3, "H", 0, 1, 91002}});
    list.RebuildVisible();
    int count = -5, first = -5;
    // An open group that shows no rows: marked closed, nothing removed.
    list.GetItems()[0]->expanded = 1;
    EXPECT_FALSE(list.Collapse(0, &count, &first));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(list.GetItems()[0]->expanded, 0);
    // A group without deeper followers stays closed.
    EXPECT_FALSE(list.Expand(1, &count, &first));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(list.GetItems()[1]->expanded, 0);
    EXPECT_FALSE(list.Expand(7, &count, &first));
}

TEST(CFlexItemList, ExpandLeavesHiddenChildrenOut)
{
    CFlexItemList list;
    Fill(list, {{3, "G", 0, 1, 91001}, {3, "G1", 1, 0, 91002}, {3, "G2", 1, 0, 91003}});
    list.GetItems()[1]->visible = 0;
    list.RebuildVisible();
    int count = 0, first = 0;
    ASSERT_TRUE(list.Expand(0, &count, &first));
    EXPECT_EQ(VisibleKeys(list), (std::vector<std::string>{"G", "G2"}));
}

TEST(CFlexChoiceList, LooksUpByExactValueAndAnswersEmptyOutOfRange)
{
    LoadTestTexts();
    CFlexChoiceList choices;
    EXPECT_EQ(choices.Add(91101, "1"), 1);
    choices.Add(91102, "0");
    choices.Add(91103, "0");
    EXPECT_EQ(choices.FindByValue("0"), 1);
    EXPECT_EQ(choices.FindByValue("01"), -1);
    EXPECT_EQ(choices.FindByValue("1 "), -1);
    EXPECT_EQ(choices.GetCount(), 3);
    EXPECT_EQ(choices.GetTextAt(0), "T1");
    EXPECT_EQ(choices.GetValueAt(2), "0");
    EXPECT_EQ(choices.GetTextAt(3), "");
    EXPECT_EQ(choices.GetValueAt(-1), "");
    EXPECT_EQ(choices.GetTexts(), (std::vector<std::string>{"T1", "T2", "T3"}));
}

// The list on a page that records what the list sends it.
class FlexListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        LoadTestTexts();
        page.resize(420, 400);
        handle = QtMessageSink::Instance().Register(&page, &recorder);
        list = new CFlexListCtrl(&page);
        list->setGeometry(0, 0, 400, 380);
        list->Initialize();
        page.show();
    }
    void TearDown() override { QtMessageSink::Instance().Unregister(handle); }

    void Build(const std::vector<ItemRow>& rows)
    {
        Fill(list->GetItemList(), rows);
        list->RebuildRows();
    }
    std::vector<std::string> Captions() const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < list->Rows()->rowCount(); ++row) texts.push_back(list->Rows()->Text(row, 0).toStdString());
        return texts;
    }
    QPoint IconPoint(int row)
    {
        const CFlexItem* item = list->GetItemList().GetRowItem(row);
        return CFlexListCtrl::IconRect(list->visualRect(list->Rows()->index(row, 0)), item->level).center();
    }
    QPoint ValuePoint(int row) { return list->visualRect(list->Rows()->index(row, 1)).center(); }
    void DoubleClickValue(int row) { QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, ValuePoint(row)); }

    QWidget page;
    message_test::Recorder recorder;
    HWND handle = nullptr;
    CFlexListCtrl* list = nullptr;
};

TEST_F(FlexListTest, InitialisesColumnsAndRowHeight)
{
    EXPECT_EQ(list->columnWidth(0), 200);
    EXPECT_EQ(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    EXPECT_EQ(list->MeasureItem(), QFontInfo(list->font()).pixelSize() + 8);
    Build(kTree);
    EXPECT_EQ(list->rowHeight(0), list->MeasureItem());
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_EQ(list->StripeColour(), QColor(233, 237, 255));

    // Dragging the divider commits a running edit and column 1 keeps filling the width.
    DoubleClickValue(0);
    ASSERT_NE(list->GetEditItem(), nullptr);
    list->horizontalHeader()->resizeSection(0, 150);
    EXPECT_EQ(list->GetEditItem(), nullptr);
    EXPECT_EQ(list->columnWidth(1), list->viewport()->width() - 150);
}

TEST_F(FlexListTest, NumbersLevelZeroRowsAndRebuildsToTheModel)
{
    Build(kTree);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"1. C1", "2. C7", "3. C8", "4. C10"}));

    // Expanding by the icon inserts unnumbered rows; a hidden item takes no number.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, IconPoint(0));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"1. C1", "C2", "C3", "C6", "2. C7", "3. C8", "4. C10"}));
    list->GetItemList().GetItems()[6]->visible = 0;
    list->RebuildRows();
    EXPECT_EQ(Captions(), (std::vector<std::string>{"1. C1", "C2", "C3", "C6", "2. C8", "3. C10"}));
    EXPECT_EQ(list->Rows()->Indent(1), 1);
    EXPECT_EQ(list->Rows()->Item(4), list->GetItemList().GetItems()[7]);

    list->ClearItems();
    EXPECT_EQ(list->Rows()->Item(0), nullptr); // rows no longer point at destroyed items
    list->RebuildRows();
    EXPECT_EQ(list->Rows()->rowCount(), 0);
}

TEST_F(FlexListTest, IconClickTogglesAGroupAndACaptionClickOnlySelects)
{
    Build(kTree);
    const QPoint caption = list->visualRect(list->Rows()->index(2, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, caption); // C's caption
    EXPECT_EQ(list->Rows()->rowCount(), 4);
    EXPECT_EQ(list->currentIndex().row(), 2);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, IconPoint(2));
    EXPECT_EQ(list->Rows()->rowCount(), 5);
    EXPECT_EQ(list->GetItemList().GetItems()[7]->expanded, 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, IconPoint(2));
    EXPECT_EQ(list->Rows()->rowCount(), 4);
    EXPECT_EQ(list->GetItemList().GetItems()[7]->expanded, 0);

    // A click below the last row is swallowed: the selection stays.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(50, list->viewport()->height() - 3));
    EXPECT_EQ(list->currentIndex().row(), 2);
}

TEST_F(FlexListTest, SelectEditCommitsTheChosenValueAndTellsTheParent)
{
    Build({{3, "S", 0, 0, 91001}, {3, "T", 0, 0, 91002}});
    CFlexItem* item = list->GetItemList().GetItems()[1];
    item->value = "1";
    list->RebuildRows();
    EXPECT_EQ(list->Rows()->Text(1, 1).toStdString(), "T2");

    DoubleClickValue(1);
    ASSERT_EQ(list->GetEditItem(), item);
    EXPECT_EQ(list->GetEditRow(), 1);
    QComboBox* combo = list->GetCombo();
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), 1);
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].message, WM_FLEX_BEGINEDIT);
    EXPECT_EQ(recorder.received[0].wParam, 1u);
    EXPECT_EQ(recorder.received[0].lParam, reinterpret_cast<LPARAM>(item));

    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(item->value, "2");
    EXPECT_EQ(list->Rows()->Text(1, 1).toStdString(), "T3");
    EXPECT_FALSE(combo->isVisible());
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[1].message, WM_FLEX_ENDEDIT);
    EXPECT_EQ(recorder.received[1].wParam, 1u);
    EXPECT_EQ(recorder.received[1].lParam, reinterpret_cast<LPARAM>(item));
    // After a commit no row is the edited row (not row 0).
    EXPECT_EQ(list->GetEditRow(), -1);
    EXPECT_EQ(list->GetEditItem(), nullptr);
}

TEST_F(FlexListTest, SelectItemWithoutMatchingValueShowsNothingAndCommitsTheDefault)
{
    Build({{3, "S", 0, 0, 91001}});
    CFlexItem* item = list->GetItemList().GetItems()[0];
    item->value = "200";
    item->defaultValue = "1";
    list->RebuildRows();
    EXPECT_EQ(list->Rows()->Text(0, 1).toStdString(), "");
    DoubleClickValue(0);
    EXPECT_EQ(list->GetCombo()->currentIndex(), -1);
    QTest::keyClick(list->GetCombo(), Qt::Key_Escape);
    EXPECT_EQ(item->value, "1");
}

TEST_F(FlexListTest, F2EditsTheSelectedRowAndEscCommitsTheTypedText)
{
    Build({{3, "S", 0, 0, 91001}, {2, "D", 0, 0, 91002}});
    auto* item = static_cast<CFlexDirectItem*>(list->GetItemList().GetItems()[1]);
    item->value = "old";
    item->editMode = 99;
    list->RebuildRows();
    list->setFocus();
    list->selectRow(1);
    QTest::keyClick(list, Qt::Key_F2);
    ASSERT_EQ(list->GetEditItem(), item);
    CCustomEdit* edit = list->GetEdit();
    EXPECT_EQ(edit->text().toStdString(), "old");
    EXPECT_EQ(edit->inputMode, 99);
    EXPECT_EQ(edit->geometry(), list->visualRect(list->Rows()->index(1, 1)));

    QTest::keyClick(list, Qt::Key_F2); // F2 while an edit runs does nothing
    EXPECT_EQ(recorder.received.size(), 1u);

    edit->setText("typed");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(item->value, "typed");
    EXPECT_EQ(list->Rows()->Text(1, 1).toStdString(), "typed");
    EXPECT_EQ(recorder.received.back().message, WM_FLEX_ENDEDIT);
}

TEST_F(FlexListTest, ItemsThatRefuseStartNoEditAndSendNothing)
{
    Build({{0, "Base", 0, 0, 91001}, {3, "Off", 0, 0, 91002}, {1, "Bool", 0, 0, 91003}, {3, "Group", 0, 1, 91004}});
    list->GetItemList().GetItems()[1]->enabled = 0;
    DoubleClickValue(0);
    DoubleClickValue(1);
    EXPECT_EQ(list->GetEditItem(), nullptr);
    EXPECT_TRUE(recorder.received.empty());
    EXPECT_EQ(list->BeginEdit(nullptr, {}, 0), 0);
    // A bool item accepts without an editor; the parent hears of both ends.
    DoubleClickValue(2);
    EXPECT_EQ(list->GetEditItem(), list->GetItemList().GetItems()[2]);
    list->CommitEdit();
    ASSERT_EQ(recorder.received.size(), 2u);
    EXPECT_EQ(recorder.received[1].message, WM_FLEX_ENDEDIT);
}

TEST_F(FlexListTest, ClickWheelAndClearEndARunningEdit)
{
    Build({{3, "S", 0, 0, 91001}, {3, "T", 0, 0, 91002}});
    DoubleClickValue(0);
    ASSERT_NE(list->GetEditItem(), nullptr);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->Rows()->index(1, 0)).center());
    EXPECT_EQ(list->GetEditItem(), nullptr);
    EXPECT_EQ(recorder.received.back().message, WM_FLEX_ENDEDIT);

    DoubleClickValue(1);
    ASSERT_NE(list->GetEditItem(), nullptr);
    QWheelEvent wheel(QPointF(10, 10), list->viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    EXPECT_EQ(list->GetEditItem(), nullptr);

    DoubleClickValue(0);
    ASSERT_NE(list->GetEditItem(), nullptr);
    QTest::keyClick(list, Qt::Key_Escape, Qt::AltModifier);
    EXPECT_EQ(list->GetEditItem(), nullptr);

    DoubleClickValue(1);
    const std::size_t sent = recorder.received.size();
    list->ClearItems(); // ends the edit without telling the parent
    EXPECT_EQ(list->GetEditItem(), nullptr);
    EXPECT_FALSE(list->GetCombo()->isVisible());
    EXPECT_EQ(recorder.received.size(), sent);
    EXPECT_TRUE(list->GetItemList().GetItems().empty());
}

TEST_F(FlexListTest, RowColoursFollowStripesSelectionAndGreyDisabledItems)
{
    Build({{3, "A", 0, 0, 91001}, {3, "B", 0, 0, 91002}, {3, "C", 0, 0, 91003}, {3, "D", 0, 0, 91004}});
    const auto& items = list->GetItemList().GetItems();
    items[2]->enabled = 0;               // grey
    items[3]->enabled = 0;
    items[3]->greyWhenDisabled = 0;      // normal colour, still not editable
    auto* delegate = static_cast<CFlexListDelegate*>(list->itemDelegate());
    const QPalette& palette = list->palette();
    const QColor text = palette.color(QPalette::Active, QPalette::Text);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);

    EXPECT_EQ(delegate->RowColours(0, false).background, base);
    EXPECT_EQ(delegate->RowColours(1, false).background, QColor(233, 237, 255));
    EXPECT_EQ(delegate->RowColours(0, false).text, text);
    EXPECT_EQ(delegate->RowColours(2, false).text, palette.color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(delegate->RowColours(3, false).text, text);
    list->clearFocus();
    EXPECT_EQ(delegate->RowColours(1, true).background, palette.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(delegate->RowColours(1, true).text, palette.color(QPalette::Active, QPalette::WindowText));

    DoubleClickValue(3);
    EXPECT_EQ(list->GetEditItem(), nullptr);
}

} // namespace
