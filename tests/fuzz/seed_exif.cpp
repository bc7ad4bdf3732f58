// Writes JPEG and TIFF seeds with Exif data in both byte orders through the test Exif writer.
#include "tests/support/ZarnTest_ExifWriter.h"

#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    const std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    auto bitmap = ZarnLib_Bitmap::Create(16, 8, ZarnLib_Bitmap::kFormat24bppRGB);
    for (std::uint32_t y = 0; y < 8; ++y)
        for (std::uint32_t x = 0; x < 16; ++x)
            bitmap->Row(y)[x] = 0xFF000000u | (x * 16) << 8 | y * 30;
    for (bool big : {false, true}) {
        ZarnTest_ExifWriter w(big);
        w.AddExposure(400, 1, 125, 80, 10);
        w.AddRational(true, 37377, 7, 1, true);
        w.AddShort(true, 34864, {3});
        w.AddLong(true, 34867, 25600);
        w.AddAscii(false, 271, "Maker");
        w.AddEntry(false, 34853, 4, 1, w.Bytes32(8));
        const std::string tag = big ? "mm" : "ii";
        if (!w.WriteJpeg(*bitmap, dir + "/seed_" + tag + ".jpg", 80) || !w.WriteTiff(*bitmap, dir + "/seed_" + tag + ".tif"))
            return 1;
    }
    return 0;
}
