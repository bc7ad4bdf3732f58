// Splits a line of the backup file at every comma. The array is emptied first; an empty text gives
// no element, two commas in a row an empty element between them, and a comma at the very end adds
// no empty element after it.
#pragma once

#include <string>
#include <vector>

void SplitComma(std::vector<std::string>* fields, const std::string& text);
