#include "support/SoundServer.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace
{
constexpr unsigned sampleRate = 44100; // the rate of the game's sound files: nothing is resampled
constexpr auto startTimeout = 20s;
constexpr auto pollInterval = 20ms;
constexpr auto stopGrace = 5s;
// The recorder's own buffer: small, so that every chunk arrives soon after it was played.
constexpr const char* recordLatencyMilliseconds = "10";
constexpr std::size_t channels = 2;
} // namespace

PrivateSoundServer::PrivateSoundServer() : socket(folder.path() / "native")
{
    start();
}

void PrivateSoundServer::start()
{
    // A killed server leaves its socket behind.
    fs::remove(socket);
    const fs::path daemonProgram = "/usr/bin/pulseaudio";
    if (!fs::exists(daemonProgram))
        throw std::runtime_error("pulseaudio is not installed: scripts/setup.sh installs it");
    Launch launch;
    launch.program = daemonProgram;
    // No configuration script: only the null sink (loaded first, so it is the default) and the socket.
    launch.arguments = {"--no-cpu-limit",
                        "-n",
                        "--daemonize=no",
                        "--system=no",
                        "--use-pid-file=no",
                        "--exit-idle-time=-1",
                        "--log-target=stderr",
                        "--load=module-null-sink sink_name=listen format=float32le channels=2 rate=" +
                            std::to_string(sampleRate),
                        "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket.string()};
    const std::string home = folder.path().string();
    launch.environment = {
        {"HOME", home}, {"XDG_RUNTIME_DIR", home}, {"PULSE_RUNTIME_PATH", home}, {"PULSE_STATE_PATH", home}};
    launch.standardError = folder.path() / "log";
    daemon = std::make_unique<ChildProcess>(launch);

    const auto deadline = std::chrono::steady_clock::now() + startTimeout;
    while (!fs::exists(socket))
    {
        if (!daemon->running() || std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the sound server did not start: " + log());
        std::this_thread::sleep_for(pollInterval);
    }
}

PrivateSoundServer::~PrivateSoundServer()
{
    daemon->stop(stopGrace);
}

std::vector<std::pair<std::string, std::string>> PrivateSoundServer::clientEnvironment() const
{
    return {{"PULSE_SERVER", address()}, {"PULSE_RUNTIME_PATH", folder.path().string()}};
}

MonitorRecorder::MonitorRecorder(const PrivateSoundServer& server)
{
    recording.rate = sampleRate;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    Launch launch;
    launch.program = "/usr/bin/parecord";
    launch.arguments = {"--server=" + server.address(),
                        "--device=" + std::string(PrivateSoundServer::monitor),
                        "--raw",
                        "--format=float32le",
                        "--rate=" + std::to_string(sampleRate),
                        "--channels=2",
                        "--latency-msec=" + std::string(recordLatencyMilliseconds)};
    launch.passedDescriptor = ends[1];
    launch.passedAs = STDOUT_FILENO;
    parecord = std::make_unique<ChildProcess>(launch);
    close(ends[1]);
    readEnd = ends[0];
    reader = std::thread([this] { readUntilEnd(readEnd); });
}

MonitorRecorder::~MonitorRecorder()
{
    parecord->kill();
    if (reader.joinable())
        reader.join();
    close(readEnd);
}

void MonitorRecorder::readUntilEnd(int fd)
{
    constexpr std::size_t frameBytes = channels * sizeof(float);
    std::vector<char> pending;
    char chunk[16384];
    for (;;)
    {
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count <= 0)
            return;
        const auto arrived = std::chrono::steady_clock::now();
        pending.insert(pending.end(), chunk, chunk + count);
        const std::size_t whole = pending.size() / frameBytes;

        const std::lock_guard lock(mutex);
        for (std::size_t i = 0; i < whole; ++i)
        {
            float frame[channels];
            std::memcpy(frame, pending.data() + i * frameBytes, frameBytes);
            recording.left.push_back(frame[0]);
            recording.right.push_back(frame[1]);
            if (!heard && (frame[0] != 0.f || frame[1] != 0.f))
            {
                heard = true;
                firstSound = recording.frames() - 1;
            }
        }
        pending.erase(pending.begin(), pending.begin() + static_cast<long>(whole * frameBytes));
        // The server plays in real time only while something plays: the clock is read from then on.
        if (heard)
        {
            const auto frameZero =
                arrived - std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(recording.secondsOf(recording.frames())));
            if (!recording.frameZero || frameZero < *recording.frameZero)
                recording.frameZero = frameZero;
        }
    }
}

bool MonitorRecorder::heardSound()
{
    const std::lock_guard lock(mutex);
    return heard;
}

bool MonitorRecorder::silentAfterSoundFor(std::chrono::milliseconds time)
{
    const std::lock_guard lock(mutex);
    const std::size_t length = recording.framesOf(std::chrono::duration<double>(time).count());
    if (!heard || recording.frames() < firstSound + length)
        return false;
    for (std::size_t i = recording.frames() - length; i < recording.frames(); ++i)
        if (!recording.silentAt(i))
            return false;
    return true;
}

Recording MonitorRecorder::stop()
{
    parecord->stop(stopGrace);
    if (reader.joinable())
        reader.join();
    const std::lock_guard lock(mutex);
    return recording;
}
