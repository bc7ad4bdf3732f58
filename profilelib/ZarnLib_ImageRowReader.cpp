#include "profilelib/ZarnLib_ImageRowReader.h"
#include "platform/RegularFile.h"

#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_JpegCodec.h"
#include "profilelib/ZarnLib_TiffCodec.h"

#include <cstdio>

ZarnLib_ImageRowReader::Result ZarnLib_ImageRowReader::Read(
    const std::wstring& path, const Size& size, const Sink& sink)
{
    const std::string native = ZarnExif_File::WideToNative(path);
    // The same choice of decoder as the whole-picture load: by the file's first
    // bytes.
    unsigned char head[4] = {};
    // Only a regular file: a FIFO or a device would block the open or the reads.
    std::FILE* file = RegularFile::OpenStream(native);
    if (!file)
        return Result::Failed;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8)
        return ZarnLib_JpegCodec::DecodeRows(native, size, sink) ? Result::Done : Result::Failed;
    const bool tiff = got == 4
        && ((head[0] == 'I' && head[1] == 'I' && (head[2] == 42 || head[2] == 43) && head[3] == 0)
            || (head[0] == 'M' && head[1] == 'M' && head[2] == 0 && (head[3] == 42 || head[3] == 43)));
    if (!tiff)
        return Result::Failed;
    bool streamable = true;
    const bool ok = ZarnLib_TiffCodec::DecodeRows(native, size, sink, &streamable);
    if (!streamable)
        return Result::NotStreamable;
    return ok ? Result::Done : Result::Failed;
}
