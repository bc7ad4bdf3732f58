// A list of owned images, found and removed by path.
#pragma once

#include "profilelib/ZarnLib_Image.h"

#include <memory>
#include <string>
#include <vector>

class ZarnLib_ImageManager {
public:
    ZarnLib_ImageManager() = default;
    virtual ~ZarnLib_ImageManager() = default;
    ZarnLib_ImageManager(const ZarnLib_ImageManager&) = delete;
    ZarnLib_ImageManager& operator=(const ZarnLib_ImageManager&) = delete;

    // Takes ownership; -1 for null.
    int Add(ZarnLib_Image* image);
    int Clear();
    // Deletes the first image whose path equals `path`; -1 when none does.
    int Remove(const std::wstring& path);
    ZarnLib_Image* Find(const std::wstring& path) const;

private:
    std::vector<std::unique_ptr<ZarnLib_Image>> images_;
};
