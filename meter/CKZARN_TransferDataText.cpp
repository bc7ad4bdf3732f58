// The CSV backup form of CKZARN_TransferData: a model line, then per slot a number line, a name
// line, three heading lines and one line per row of 20 values (per group: centre, CPM-DRM, DRM, DRP,
// CPP-DRP), an empty line between slots. Texts come from the UI text table, so a file is read back
// only in the language it was written in. Numbers always carry a point, whatever the locale.
#include "meter/CKZARN_TransferData.h"

#include "core/util/CLangTable.h"
#include "core/util/DecimalText.h"
#include "meter/SplitComma.h"
#include "platform/RegularFile.h"

#include <cfloat>
#include <cmath>
#include <istream>
#include <ostream>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

constexpr int kModelT310 = 7100;
constexpr int kSlotNumber = 7101;
constexpr int kSlotName = 7102;
constexpr int kHeading1 = 7103;
constexpr int kUnnamed = 7141;
constexpr int kModelT140 = 7144;
constexpr int kModelT520 = 7199;

int RowLabelId(int row)
{
    return row <= 34 ? 7106 + row : 7110 + row;
}

// What a field of the file may hold: every value a byte of the meter's memory holds, +-12.7 EV in
// tenths (-12.8 is the byte that means no value, written "OFF"). The writer writes the values as
// they are and the reader takes every one of them, so a backup gives back what the meter held.
constexpr double kFieldLimit = 12.75; // excluded; the largest value written is 12.7

bool InsideField(double v)
{
    return v == DBL_MAX || (v > -kFieldLimit && v < kFieldLimit);
}

// One decimal, with a sign when signed is set, and always a point: written without the C library,
// so the user's locale plays no part.
std::string Formatted(bool withSign, double value)
{
    return DecimalText::Fixed(value, 1, '.', withSign);
}

bool HasValue(double v)
{
    return v != DBL_MAX && !std::isnan(v);
}

// "OFF" for no value; near-zero as "0" (centre) or "+0.0"; else one decimal, signed but for the centre.
std::string FieldText(double v, bool centre)
{
    if (!HasValue(v)) return "OFF";
    if (std::fabs(v) < 0.05) return centre ? "0" : Formatted(true, 0.0);
    return Formatted(!centre, v);
}

void WriteLine(std::ostream& file, const std::string& line)
{
    file << line << "\r\n";
}

// One line without its end (LF or CR LF); past the end of the file an empty line. A line longer
// than any backup holds ends the reading: it sets tooLong and gives an empty line.
std::string ReadLine(std::istream& file, bool* tooLong)
{
    std::string line;
    std::streambuf* buffer = file.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof() || c == '\n') break;
        if (line.size() == CKZARN_TransferData::kMaxBackupLineBytes) {
            *tooLong = true;
            return std::string();
        }
        line += static_cast<char>(c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool IsAscii(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// A name that would break its line: a comma splits it, a control character ends or garbles it.
bool NameBreaksLine(const std::string& name)
{
    for (const char c : name) {
        if (c == ',' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

} // namespace

int CKZARN_TransferData::WriteText(std::ostream& file) const
{
    const int slots = GetProfileCount(family_);
    const int rows = GetRowCount(family_);
    // A name the file cannot carry is refused before anything is written.
    for (int i = 0; i < slots; ++i) {
        if (NameBreaksLine(GetProfileName(i))) return 0;
    }
    // The five fields of a group; the differences have no value when either point has none.
    const auto fieldsOf = [](const ExposureRange& g, double (&f)[5]) {
        f[0] = HasValue(g.centre) ? g.centre : DBL_MAX;
        f[1] = HasValue(g.cpm) && HasValue(g.drm) ? g.cpm - g.drm : DBL_MAX;
        f[2] = HasValue(g.drm) ? g.drm : DBL_MAX;
        f[3] = HasValue(g.drp) ? g.drp : DBL_MAX;
        f[4] = HasValue(g.cpp) && HasValue(g.drp) ? g.cpp - g.drp : DBL_MAX;
    };
    // A value the file could not give back (beyond what the meter holds) is refused, not changed.
    for (int i = 0; i < slots; ++i) {
        for (int r = 0; r < rows; ++r) {
            for (const ExposureRange& g : slots_[i].rows[r].group) {
                double f[5];
                fieldsOf(g, f);
                for (const double v : f) {
                    if (!InsideField(v)) return 0;
                }
            }
        }
    }

    const int model = family_ == MeterFamilyT140 ? kModelT140 : (family_ == MeterFamilyT520 ? kModelT520 : kModelT310);
    WriteLine(file, GetLangString(model));
    for (int i = 0; i < slots; ++i) {
        WriteLine(file, GetLangString(kSlotNumber) + std::to_string(i + 1));
        WriteLine(file, GetLangString(kSlotName) + "," + GetProfileName(i));
        for (int h = 0; h < 3; ++h) WriteLine(file, GetLangString(kHeading1 + h));
        for (int r = 0; r < rows; ++r) {
            std::string line = GetLangString(RowLabelId(r));
            for (const ExposureRange& g : slots_[i].rows[r].group) {
                double f[5];
                fieldsOf(g, f);
                for (int k = 0; k < 5; ++k) line += "," + FieldText(f[k], k == 0);
            }
            WriteLine(file, line);
        }
        if (i != slots - 1) WriteLine(file, std::string());
    }
    return 1;
}

BOOL CKZARN_TransferData::ParseValue(const std::string& text, double* value)
{
    if (text == "OFF") {
        *value = DBL_MAX;
        return TRUE;
    }
    // Blanks before the number are skipped; anything after it, and an empty (or blank) field, is no
    // value. The number carries a point whatever the user's locale.
    const std::size_t start = text.find_first_not_of(" \t\n\v\f\r");
    double v = 0.0;
    if (start == std::string::npos || !DecimalText::ParseSigned(std::string_view(text).substr(start), '.', &v))
        return FALSE;
    *value = v;
    return TRUE;
}

BOOL CKZARN_TransferData::ParseRow(const std::string& line, ProfileRow* row) const
{
    std::vector<std::string> fields;
    SplitComma(&fields, line);
    if (fields.size() != 21) return FALSE;
    for (int g = 0; g < 4; ++g) {
        ExposureRange& out = row->group[g];
        double v[5];
        for (int k = 0; k < 5; ++k) {
            const std::string& text = fields[static_cast<std::size_t>(5 * g + k + 1)];
            if (!ParseValue(text, &v[k]) || !InsideField(v[k])) return FALSE;
        }
        out.centre = v[0];
        out.drm = v[2];
        out.cpm = (v[1] == DBL_MAX || v[2] == DBL_MAX) ? DBL_MAX : v[1] + v[2];
        out.drp = v[3];
        out.cpp = (v[3] == DBL_MAX || v[4] == DBL_MAX) ? DBL_MAX : v[3] + v[4];
    }
    return TRUE;
}

int CKZARN_TransferData::ReadText(std::istream& file)
{
    if (file.rdbuf() == nullptr) return 0;
    bool tooLong = false;
    const auto nextLine = [&file, &tooLong] { return ReadLine(file, &tooLong); };
    const std::string model = nextLine();
    if (model == GetLangString(kModelT140)) {
        family_ = MeterFamilyT140;
    } else if (model == GetLangString(kModelT310)) {
        family_ = MeterFamilyT310;
    } else if (model == GetLangString(kModelT520)) {
        family_ = MeterFamilyT520;
    } else {
        return 0;
    }
    const int slots = GetProfileCount(family_);
    const int rows = GetRowCount(family_);
    std::vector<std::string> fields;
    for (int i = 0; i < slots; ++i) {
        nextLine(); // number line
        SplitComma(&fields, nextLine());
        if (tooLong || fields.empty()) return 0;
        std::string name;
        if (fields.size() >= 2) {
            name = fields[1];
            if (!IsAscii(name)) name = GetLangString(kUnnamed);
        }
        CopyName(slots_[i].name, name);
        for (int h = 0; h < 3; ++h) nextLine();
        for (int r = 0; r < rows; ++r) {
            if (!ParseRow(nextLine(), &slots_[i].rows[r])) return 0;
        }
        if (i != slots - 1) nextLine();
        if (tooLong) return 0;
    }
    return 1;
}

CKZARN_TransferData::FileRead CKZARN_TransferData::ReadTextFile(const std::string& path)
{
    std::string bytes;
    switch (RegularFile::ReadAll(path, kMaxBackupBytes, bytes)) {
    case RegularFile::ReadResult::Unreadable:
        return FileRead::CannotOpen;
    case RegularFile::ReadResult::TooLarge:
        return FileRead::NotABackup;
    case RegularFile::ReadResult::Ok:
        break;
    }
    std::istringstream file(std::move(bytes));
    return ReadText(file) == 1 ? FileRead::Read : FileRead::NotABackup;
}
