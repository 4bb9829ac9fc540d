#include "Catalogue.hpp"

#include "audio/SoundEffects.hpp"
#include "audio/Tune.hpp"
#include "pictures/Pictures.hpp"

#include <functional>
#include <map>
#include <stdexcept>

namespace assetgen
{
namespace
{
using pictures::ColumnKind;
using pictures::WingPose;

using Picture = std::function<sf::Image(const Inputs&)>;
using Sound = std::function<void(const std::filesystem::path&)>;

const std::map<std::string, Picture>& pictureMakers()
{
    static const std::map<std::string, Picture> makers{
        {"background.bmp", [](const Inputs&) { return pictures::background(); }},
        {"gameOver.bmp", [](const Inputs& in) { return pictures::gameOver(in.titleFont); }},
        {"obstacle.bmp", [](const Inputs&) { return pictures::column(ColumnKind::Brick); }},
        {"obstacle2.bmp", [](const Inputs&) { return pictures::column(ColumnKind::Jade); }},
        {"volcano.bmp", [](const Inputs&) { return pictures::column(ColumnKind::Volcano); }},
        {"wingUp2.bmp", [](const Inputs&) { return pictures::bird(WingPose::Up); }},
        {"wingDown3.bmp", [](const Inputs&) { return pictures::bird(WingPose::Down); }},
        {"cloud1.bmp", [](const Inputs&) { return pictures::cloud(0); }},
        {"cloud2.bmp", [](const Inputs&) { return pictures::cloud(1); }},
        {"cloud3.bmp", [](const Inputs&) { return pictures::cloud(2); }},
        {"mountains.bmp", [](const Inputs&) { return pictures::mountains(); }},
    };
    return makers;
}

const std::map<std::string, Sound>& soundMakers()
{
    static const std::map<std::string, Sound> makers{
        {"squawk.wav", [](const std::filesystem::path& f) { audio::writeWav(f, audio::squawk()); }},
        {"flap.wav", [](const std::filesystem::path& f) { audio::writeWav(f, audio::flap()); }},
        {"death.wav", [](const std::filesystem::path& f) { audio::writeWav(f, audio::death()); }},
        {"score.wav", [](const std::filesystem::path& f) { audio::writeWav(f, audio::score()); }},
        {"background.wav", [](const std::filesystem::path& f) { audio::writeWav(f, audio::backgroundTune()); }},
    };
    return makers;
}
} // namespace

std::vector<std::string> assetFileNames()
{
    std::vector<std::string> names;
    for (const auto& entry : pictureMakers())
        names.push_back(entry.first);
    for (const auto& entry : soundMakers())
        names.push_back(entry.first);
    return names;
}

void writeAsset(const std::string& fileName, const std::filesystem::path& folder, const Inputs& inputs)
{
    const std::filesystem::path file = folder / fileName;
    if (const auto picture = pictureMakers().find(fileName); picture != pictureMakers().end())
    {
        if (!picture->second(inputs).saveToFile(file))
            throw std::runtime_error("cannot write " + file.string());
        return;
    }
    if (const auto sound = soundMakers().find(fileName); sound != soundMakers().end())
    {
        sound->second(file);
        return;
    }
    throw std::invalid_argument("no asset is called " + fileName);
}

void writeAllAssets(const std::filesystem::path& folder, const Inputs& inputs)
{
    std::filesystem::create_directories(folder);
    for (const std::string& name : assetFileNames())
        writeAsset(name, folder, inputs);
}

std::vector<int> iconSizes()
{
    return {48, 64, 128, 256};
}

std::string iconFileName(int size)
{
    return "icon-" + std::to_string(size) + ".png";
}

void writeIcons(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    for (const int size : iconSizes())
    {
        const std::filesystem::path file = folder / iconFileName(size);
        if (!pictures::icon(size).saveToFile(file))
            throw std::runtime_error("cannot write " + file.string());
    }
}
} // namespace assetgen
