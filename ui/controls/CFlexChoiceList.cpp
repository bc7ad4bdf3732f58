#include "ui/controls/CFlexChoiceList.h"

#include "core/util/CLangTable.h"

int CFlexChoiceList::Add(int textId, const std::string& value)
{
    choices_.push_back({textId, value});
    return 1;
}

int CFlexChoiceList::FindByValue(const std::string& value) const
{
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i].value == value) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string CFlexChoiceList::GetTextAt(int index) const
{
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return GetLangString(choices_[static_cast<std::size_t>(index)].textId);
}

std::string CFlexChoiceList::GetValueAt(int index) const
{
    if (index < 0 || index >= GetCount()) {
        return {};
    }
    return choices_[static_cast<std::size_t>(index)].value;
}

std::vector<std::string> CFlexChoiceList::GetTexts() const
{
    std::vector<std::string> texts;
    texts.reserve(choices_.size());
    for (const Choice& choice : choices_) {
        texts.push_back(GetLangString(choice.textId));
    }
    return texts;
}
