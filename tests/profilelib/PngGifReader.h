// Reads PNG and GIF files back for the save tests (the programs only write these formats): the
// pixels as 0x00RRGGBB, row after row.
#pragma once

#include <gif_lib.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

namespace imagetest {

struct ReadPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels; // empty when the file could not be read
    std::size_t paletteSize = 0;       // GIF only: entries of the colour table
};

inline ReadPicture ReadPng(const std::string& path)
{
    ReadPicture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return picture;
    picture.width = image.width;
    picture.height = image.height;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        picture.pixels.push_back((std::uint32_t(rgb[i]) << 16) | (std::uint32_t(rgb[i + 1]) << 8) | rgb[i + 2]);
    return picture;
}

inline ReadPicture ReadGif(const std::string& path)
{
    ReadPicture picture;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    if (!gif)
        return picture;
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map) {
            picture.width = static_cast<std::uint32_t>(image.ImageDesc.Width);
            picture.height = static_cast<std::uint32_t>(image.ImageDesc.Height);
            picture.paletteSize = static_cast<std::size_t>(map->ColorCount);
            for (std::size_t i = 0; i < std::size_t(picture.width) * picture.height; ++i) {
                const GifColorType c = map->Colors[image.RasterBits[i]];
                picture.pixels.push_back((std::uint32_t(c.Red) << 16) | (std::uint32_t(c.Green) << 8) | c.Blue);
            }
        }
    }
    DGifCloseFile(gif, &error);
    return picture;
}

} // namespace imagetest
