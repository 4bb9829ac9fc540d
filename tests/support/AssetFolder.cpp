#include "support/AssetFolder.hpp"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

fs::path builtAssets()
{
    return FLITMERE_ASSET_DIR;
}

AssetFolder::AssetFolder(std::initializer_list<std::string> leftOut)
{
    std::string pattern = (fs::temp_directory_path() / "flitmere-assets-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    folder = pattern;
    for (const fs::directory_entry& entry : fs::directory_iterator(builtAssets()))
    {
        const std::string name = entry.path().filename().string();
        bool keep = true;
        for (const std::string& omitted : leftOut)
            keep = keep && name != omitted;
        if (keep)
            fs::create_symlink(entry.path(), folder / name);
    }
}

AssetFolder::~AssetFolder()
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

void AssetFolder::write(const std::string& name, const std::string& bytes) const
{
    remove(name);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

void AssetFolder::remove(const std::string& name) const
{
    fs::remove_all(folder / name);
}

ProbeRun runProbe(const AssetFolder& folder, const std::string& what)
{
    const fs::path errorFile = folder.path().parent_path() / (folder.path().filename().string() + ".stderr");
    // A file that made the probe take gigabytes or hang would take the machine with it: the probe has
    // 512 MiB of data (it needs about 150) and a minute (it needs a fraction of a second).
    const std::string command = "cd '" + folder.path().string() + "' && ulimit -d 524288 && exec timeout -s KILL 60 '" +
                                FLITMERE_LOAD_PROBE "' " + what + " 2>'" + errorFile.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("cannot start the load probe");
    ProbeRun run;
    std::array<char, 4096> chunk{};
    while (const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), pipe))
        run.output.append(chunk.data(), count);
    const int status = pclose(pipe);
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.errors = "killed by signal " + std::to_string(WTERMSIG(status)) + "\n";
    std::ifstream errorStream(errorFile);
    run.errors.append(std::istreambuf_iterator<char>(errorStream), {});
    fs::remove(errorFile);
    return run;
}
