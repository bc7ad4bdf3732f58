#include "meter/SplitComma.h"

void SplitComma(std::vector<std::string>* fields, const std::string& text)
{
    fields->clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) {
            fields->push_back(text.substr(start));
            return;
        }
        fields->push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
}
