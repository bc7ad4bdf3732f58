// Version texts from the update server as the update dialog turns them into display texts and the
// downloader's argument list: any bytes, split at the first zero byte into a model and a radio
// version.
#include "core/util/UpdateCommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\0');
    const std::string model = input.substr(0, cut);
    const std::string version = cut == std::string::npos ? std::string() : input.substr(cut + 1);

    const std::string suffix = UpdateCommandLine::RadioVersionSuffix(model, version);
    if (!version.empty() && (suffix.empty() || suffix[0] != '_')) std::abort();
    if (UpdateCommandLine::FirmwareModelText(model).size() != model.size()) std::abort();
    const auto arguments = UpdateCommandLine::FirmwareArguments(1, model, version, version, version, version);
    if (arguments.size() % 2 != 0 || arguments.front() != "/Zarn" || arguments[arguments.size() - 2] != "/Date") {
        std::abort();
    }
    (void)UpdateCommandLine::IsPlainArgument(version);
    return 0;
}
