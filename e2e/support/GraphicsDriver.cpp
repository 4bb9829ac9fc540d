#include "support/GraphicsDriver.hpp"

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <vector>

namespace
{
bool isGraphicsDriver(const std::string& path)
{
    const auto endsWith = [&](const std::string& tail)
    { return path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0; };
    return (path.find("/dri/") != std::string::npos && endsWith("_dri.so")) ||
           path.find("/libGLX_mesa") != std::string::npos || path.find("/libgallium") != std::string::npos;
}
} // namespace

int pinGraphicsDriver()
{
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* found)
        {
            const std::string path = info->dlpi_name ? info->dlpi_name : "";
            if (isGraphicsDriver(path))
                static_cast<std::vector<std::string>*>(found)->push_back(path);
            return 0;
        },
        &drivers);

    int pinned = 0;
    for (const std::string& driver : drivers)
        // RTLD_NOLOAD only promotes the library already loaded; the handle is kept on purpose.
        if (dlopen(driver.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr)
            ++pinned;
    return pinned;
}
