#include "profilelib/ZarnLib_ImageManager.h"

namespace {
bool HasPath(const ZarnLib_Image& image, const std::wstring& path)
{
    std::wstring own;
    return image.GetPath(&own) == 0 && own == path;
}
} // namespace

int ZarnLib_ImageManager::Add(ZarnLib_Image* image)
{
    if (!image)
        return -1;
    images_.emplace_back(image);
    return 0;
}

int ZarnLib_ImageManager::Clear()
{
    images_.clear();
    return 0;
}

int ZarnLib_ImageManager::Remove(const std::wstring& path)
{
    for (auto it = images_.begin(); it != images_.end(); ++it) {
        if (HasPath(**it, path)) {
            images_.erase(it);
            return 0;
        }
    }
    return -1;
}

ZarnLib_Image* ZarnLib_ImageManager::Find(const std::wstring& path) const
{
    for (const auto& image : images_) {
        if (HasPath(*image, path))
            return image.get();
    }
    return nullptr;
}
