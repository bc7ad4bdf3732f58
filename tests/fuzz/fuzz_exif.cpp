// Feeds arbitrary bytes to the Exif reader as a file (the reader works on files), alternating the
// wide and 8-bit paths. JPEG and TIFF seeds come from seed_exif.
#include "profilelib/ZarnExif_ExifReader.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/zarn_fuzz_exif_" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    ZarnExif_ExifReader reader;
    ZarnExif_ExifTagList list;
    reader.Read(path, list);
    for (const auto& tag : list) {
        int ok = 0;
        tag.GetUnsignedRational(&ok);
        tag.GetSignedRational(&ok);
    }
    return 0;
}
