#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// How a process ended: its exit status, or the signal that ended it.
struct ExitStatus
{
    bool exited = false;
    int code = 0;   // when exited
    int signal = 0; // when ended by a signal

    [[nodiscard]] static ExitStatus withCode(int code) { return {true, code, 0}; }
    bool operator==(const ExitStatus& other) const
    {
        return exited == other.exited && code == other.code && signal == other.signal;
    }
    bool operator!=(const ExitStatus& other) const { return !(*this == other); }
};
std::ostream& operator<<(std::ostream& out, const ExitStatus& status);

struct Launch
{
    std::filesystem::path program;
    std::vector<std::string> arguments;
    std::filesystem::path workingDirectory = ".";
    // Added to (or replacing in) the test's own environment.
    std::vector<std::pair<std::string, std::string>> environment;
    // Where standard output and standard error go; empty means /dev/null.
    std::filesystem::path standardOutput;
    std::filesystem::path standardError;
    // A descriptor of the test's handed to the process under another number, or -1 for none.
    int passedDescriptor = -1;
    int passedAs = -1;
};

// A process started by a test. It dies with the test (even if the test itself is killed), and the
// destructor kills it if it is still running, so no test leaves a process behind.
class ChildProcess
{
public:
    explicit ChildProcess(const Launch& launch);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] pid_t pid() const { return processId; }
    [[nodiscard]] bool running();
    // The exit status once the process has ended, or nothing if it is still running after `timeout`.
    [[nodiscard]] std::optional<ExitStatus> waitForExit(std::chrono::milliseconds timeout);
    void kill();
    // Asks the process to end (SIGTERM) and kills it if it has not ended after `grace`.
    void stop(std::chrono::milliseconds grace);

private:
    pid_t processId = -1;
    std::optional<ExitStatus> status;
};

// Runs a short helper command to its end; fails (throws) if it does not end within `timeout`.
ExitStatus runToEnd(const Launch& launch, std::chrono::milliseconds timeout);

// The whole content of a file, or "" if it cannot be read.
[[nodiscard]] std::string readFile(const std::filesystem::path& path);
