// The fixed choices of a select item, in order: a text id for what the combo box shows and the
// value text the item holds when that choice is taken. Values compare as exact byte strings.
#pragma once

#include <string>
#include <vector>

class CFlexChoiceList {
public:
    struct Choice {
        int textId;
        std::string value;
    };

    int Add(int textId, const std::string& value);
    // Index of the first choice with this value, or -1.
    int FindByValue(const std::string& value) const;
    int GetCount() const { return static_cast<int>(choices_.size()); }
    // The UI text and the value of a choice; empty for an index out of range.
    std::string GetTextAt(int index) const;
    std::string GetValueAt(int index) const;
    std::vector<std::string> GetTexts() const;

private:
    std::vector<Choice> choices_;
};
