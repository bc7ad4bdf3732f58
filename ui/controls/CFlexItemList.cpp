#include "ui/controls/CFlexItemList.h"

#include "ui/controls/CFlexItem.h"

CFlexItemList::CFlexItemList() = default;

CFlexItemList::~CFlexItemList() { Clear(); }

int CFlexItemList::Add(CFlexItem* item, int hasChildren)
{
    if (item == nullptr) {
        return 0;
    }
    item->index = static_cast<int>(items_.size());
    item->hasChildren = hasChildren;
    items_.push_back(item);
    return 1;
}

void CFlexItemList::Clear()
{
    visible_.clear();
    for (CFlexItem* item : items_) {
        delete item;
    }
    items_.clear();
}

void CFlexItemList::RebuildVisible()
{
    visible_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        CFlexItem* item = items_[i];
        if (item->visible != 1) {
            continue;
        }
        visible_.push_back(item);
        if (item->hasChildren == 1 && item->expanded == 0) {
            while (i + 1 < items_.size() && items_[i + 1]->level > item->level) {
                ++i;
            }
        }
    }
}

bool CFlexItemList::Collapse(int row, int* count, int* firstRow)
{
    *count = 0;
    *firstRow = -1;
    CFlexItem* item = GetRowItem(row);
    if (item == nullptr) {
        return false;
    }
    item->expanded = 0;
    const auto first = visible_.begin() + row + 1;
    auto last = first;
    while (last != visible_.end() && (*last)->level > item->level) {
        ++last;
    }
    if (last == first) {
        return false;
    }
    *count = static_cast<int>(last - first);
    *firstRow = row + 1;
    visible_.erase(first, last);
    return true;
}

bool CFlexItemList::Expand(int row, int* count, int* firstRow)
{
    *count = 0;
    *firstRow = -1;
    const CFlexItem* shown = GetRowItem(row);
    if (shown == nullptr || shown->index < 0 || shown->index >= static_cast<int>(items_.size())) {
        return false;
    }
    CFlexItem* item = items_[static_cast<std::size_t>(shown->index)];
    std::vector<CFlexItem*> collected;
    std::size_t i = static_cast<std::size_t>(item->index) + 1;
    while (i < items_.size() && items_[i]->level > item->level) {
        CFlexItem* follower = items_[i];
        // A hidden item stays out of the rows here as it does when the rows are rebuilt.
        if (follower->visible == 1) {
            collected.push_back(follower);
        }
        ++i;
        if (follower->hasChildren == 1 && follower->expanded == 0) {
            while (i < items_.size() && items_[i]->level > follower->level) {
                ++i;
            }
        }
    }
    if (collected.empty()) {
        return false;
    }
    item->expanded = 1;
    visible_.insert(visible_.begin() + row + 1, collected.begin(), collected.end());
    *count = static_cast<int>(collected.size());
    *firstRow = row + 1;
    return true;
}

CFlexItem* CFlexItemList::GetRowItem(int row) const
{
    if (row < 0 || row >= static_cast<int>(visible_.size())) {
        return nullptr;
    }
    return visible_[static_cast<std::size_t>(row)];
}
