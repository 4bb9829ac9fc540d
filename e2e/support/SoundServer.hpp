#pragma once

#include "support/AssetCopy.hpp"
#include "support/ChildProcess.hpp"
#include "support/Recording.hpp"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

// A PulseAudio server of the test's own, as a desktop runs one: its own runtime folder and socket, and
// a null sink as its default sink, which takes what is played in real time and plays it nowhere. Its
// monitor is what a listener would hear. The server is stopped by its process id when the object goes,
// and dies with the test whatever way that ends.
class PrivateSoundServer
{
public:
    PrivateSoundServer();
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // What a client needs in its environment to play through this server and no other.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> clientEnvironment() const;
    [[nodiscard]] std::string address() const { return "unix:" + socket.string(); }
    [[nodiscard]] std::string log() const { return readFile(folder.path() / "log"); }
    // Kills the server at once, as a crash does, and starts a new one on the same socket.
    void kill() { daemon->kill(); }
    void start();

    static constexpr const char* monitor = "listen.monitor";

private:
    TempFolder folder{"flitmere-sound"};
    std::filesystem::path socket;
    std::unique_ptr<ChildProcess> daemon;
};

// Records the server's monitor with parecord from construction until stop(). The wall-clock time of
// every recorded frame is known: each chunk is stamped as it arrives, and the earliest arrival, less
// the frames it completes, is the time of frame 0.
class MonitorRecorder
{
public:
    explicit MonitorRecorder(const PrivateSoundServer& server);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Whether anything but digital silence has been heard yet.
    [[nodiscard]] bool heardSound();
    // Whether sound was heard and the last `time` has been digital silence.
    [[nodiscard]] bool silentAfterSoundFor(std::chrono::milliseconds time);
    // Ends the recording and gives it.
    Recording stop();

private:
    void readUntilEnd(int fd);

    std::unique_ptr<ChildProcess> parecord;
    int readEnd = -1;
    std::thread reader;
    std::mutex mutex;
    Recording recording;
    std::size_t firstSound = 0; // frame index, valid once heard
    bool heard = false;
};
