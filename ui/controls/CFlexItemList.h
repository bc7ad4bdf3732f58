// The item model of the property list: every item in the order the page added them (owned), and
// the visible rows, which point into them and map the list's row numbers to items. A row or index
// out of range gives no item.
#pragma once

#include <vector>

class CFlexItem;

class CFlexItemList {
public:
    CFlexItemList();
    ~CFlexItemList();
    CFlexItemList(const CFlexItemList&) = delete;
    CFlexItemList& operator=(const CFlexItemList&) = delete;

    // Takes ownership and appends; sets the item's index and hasChildren. 0 for no item. The
    // visible rows stay as they were.
    int Add(CFlexItem* item, int hasChildren);
    // Destroys every item and empties both vectors.
    void Clear();
    // Visible items in order; the deeper followers of a closed group are left out.
    void RebuildVisible();
    // Closes the group of the row and takes its shown descendants out of the visible rows. Reports
    // how many rows went and from which row (0 and -1 when none did); true when any went.
    bool Collapse(int row, int* count, int* firstRow);
    // Opens the group of the row and puts its descendants (not those of closed sub-groups) into
    // the visible rows after it. Reports how many rows came and from which row; a group without
    // deeper followers stays closed and reports 0 and -1. True when any came.
    bool Expand(int row, int* count, int* firstRow);

    CFlexItem* GetRowItem(int row) const;
    const std::vector<CFlexItem*>& GetItems() const { return items_; }
    const std::vector<CFlexItem*>& GetVisibleItems() const { return visible_; }

private:
    std::vector<CFlexItem*> items_;
    std::vector<CFlexItem*> visible_;
};
