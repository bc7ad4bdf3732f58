// Reads the update server's version file and file lists from their lines. Both are sectioned
// texts: a "[Name]" line opens a section, data lines are comma-separated fields, and a "[Status]"
// line "Normal" marks a complete file. Results are appended to the caller's vectors.
#pragma once

#include "core/util/ZarnFileRecord.h"
#include "core/util/ZarnUpdateRecord.h"

#include <string>
#include <vector>

class UpdateListParser {
public:
    // 1 when the last status line is "Normal", else 0; a "[Version]" line with fewer than three
    // fields ends the parse with 0.
    static int ParseVersionFile(const std::vector<std::string>& lines, std::vector<ZarnUpdateRecord>& records);
    // 1 when the last status line is "Normal", else 0; a file or script line before any "[URL]" path
    // or with fewer than two fields ends the parse with 0.
    static int ParseFileList(const std::vector<std::string>& lines, std::vector<ZarnFileRecord>& files,
                             std::vector<ZarnFileRecord>& scripts);

    // The list path of a model's firmware: "firmware/<model>/<version>", with "/" in the model
    // written as "_" and the last "-" of "T-140DR-EL" and "T-140DR-PX" as "_".
    static std::string FirmwareListPath(const std::string& model, const std::string& version);
    // "APL/<version>", then "/<subPath>" when subPath is not empty.
    static std::string AppListPath(const std::string& version, const std::string& subPath);
    // Puts path into the pattern's one "%s" ("%%" stands for "%"). False for a pattern with any
    // other conversion, or more than one "%s": such a pattern is never handed to a formatter.
    // The result is cut to 8191 characters.
    static bool FillPattern(const std::string& pattern, const std::string& path, std::string& url);

private:
    static bool IsSectionHeader(const std::string& line);
};
