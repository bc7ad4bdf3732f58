// Seeds for the backup reader: a backup of each family written by the table itself, with names,
// values without value and values at the limits of the file.
#include "meter/CKZARN_TransferData.h"
#include "tests/fuzz/BackupFuzzTexts.h"

#include <cfloat>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2) return 1;
    LoadBackupFuzzTexts();
    for (int family = 0; family < 3; ++family) {
        CKZARN_TransferData t;
        t.SetFamily(family);
        for (int s = 0; s < 10; ++s) {
            t.SetProfileName(s, "Seed " + std::to_string(s));
            for (int r = 0; r < 67; ++r) {
                for (int g = 0; g < 4; ++g) {
                    const double v = ((s + r + g) % 50) / 10.0;
                    t.GetProfileRows(s)[r].group[g] =
                        ExposureRange{v - 2.5, (r % 7 == 0) ? DBL_MAX : -v - 0.5, -v, v, v + 2.0};
                }
            }
        }
        std::ofstream out(std::string(argv[1]) + "/family" + std::to_string(family) + ".csv", std::ios::binary);
        if (t.WriteText(out) != 1) return 1;
    }
    return 0;
}
