#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

// A fresh temporary folder holding the built assets (as links), less the ones a test leaves out.
class AssetFolder
{
public:
    explicit AssetFolder(std::initializer_list<std::string> leftOut = {});
    ~AssetFolder();
    AssetFolder(const AssetFolder&) = delete;
    AssetFolder& operator=(const AssetFolder&) = delete;

    // Replaces a file with the given bytes.
    void write(const std::string& name, const std::string& bytes) const;
    void remove(const std::string& name) const;
    [[nodiscard]] const std::filesystem::path& path() const { return folder; }

private:
    std::filesystem::path folder;
};

// The complete asset folder the build writes.
[[nodiscard]] std::filesystem::path builtAssets();

struct ProbeRun
{
    int exitStatus = -1; // -1 when the probe did not exit normally (a crash)
    std::string output;  // standard output only
    std::string errors;  // standard error, for the failure message
};

// Runs the load probe in the folder: `what` is "bird", "game", "scene", "frames N" or "game-over". A
// probe that takes more than 512 MiB of data cannot have it; one that runs for a minute is killed.
[[nodiscard]] ProbeRun runProbe(const AssetFolder& folder, const std::string& what);
