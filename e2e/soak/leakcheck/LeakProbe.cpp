// Loads the stand-in driver, lets it make its one-time allocation and unloads it, as a test does when
// it destroys its last GL context; then ends, for LeakSanitizer to judge.
// The mode: "unpinned", "pinned" (the driver is kept loaded first), or "pinned-and-leaking" (and a
// block the game's own code allocated is lost).
#include "Hud.hpp"
#include "support/GraphicsDriver.hpp"

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace
{
// A block the game's own code allocated, lost: the HUD's text, too long to be kept inside its string,
// whose string is freed without letting the text go.
[[gnu::noinline]] void loseAGameBlock()
{
    auto* const text = new std::string(hudString(1'000'000'000, 3));
    ::operator delete(text);
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    void* driver = dlopen(FLITMERE_STAND_IN_DRIVER, RTLD_NOW);
    if (driver == nullptr)
    {
        std::fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    const auto start = reinterpret_cast<void (*)()>(dlsym(driver, "standInDriverStart"));
    if (start == nullptr)
        return 2;
    start();
    if (mode != "unpinned" && pinGraphicsDriver() != 1)
        return 3;
    dlclose(driver);
    if (mode == "pinned-and-leaking")
        loseAGameBlock();
    return 0;
}
