#include "support/ChildProcess.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace
{
constexpr auto pollInterval = std::chrono::milliseconds(10);

ExitStatus decode(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return ExitStatus::withCode(WEXITSTATUS(waitStatus));
    return {false, 0, WTERMSIG(waitStatus)};
}

void redirect(int targetFd, const std::filesystem::path& path)
{
    const int fd = path.empty() ? open("/dev/null", O_WRONLY) : open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        _exit(127);
    dup2(fd, targetFd);
    close(fd);
}
} // namespace

std::ostream& operator<<(std::ostream& out, const ExitStatus& status)
{
    if (status.exited)
        return out << "exit status " << status.code;
    return out << "killed by signal " << status.signal;
}

ChildProcess::ChildProcess(const Launch& launch)
{
    // Everything the child needs is prepared before the fork: after it only async-signal-safe calls.
    std::vector<std::string> words{launch.program.string()};
    words.insert(words.end(), launch.arguments.begin(), launch.arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string line = *entry;
        bool replaced = false;
        for (const auto& [name, value] : launch.environment)
            replaced = replaced || line.rfind(name + "=", 0) == 0;
        if (!replaced)
            environment.push_back(line);
    }
    for (const auto& [name, value] : launch.environment)
        environment.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const pid_t parent = getpid();
    processId = fork();
    if (processId < 0)
        throw std::runtime_error("fork failed");
    if (processId == 0)
    {
        // Dies with the test process, whatever way that ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        setpgid(0, 0);
        redirect(STDOUT_FILENO, launch.standardOutput);
        redirect(STDERR_FILENO, launch.standardError);
        if (launch.passedDescriptor >= 0 && launch.passedDescriptor != launch.passedAs)
            dup2(launch.passedDescriptor, launch.passedAs);
        else if (launch.passedDescriptor >= 0)
            fcntl(launch.passedAs, F_SETFD, 0);
        const int input = open("/dev/null", O_RDONLY);
        dup2(input, STDIN_FILENO);
        if (chdir(launch.workingDirectory.c_str()) != 0)
            _exit(127);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::running()
{
    if (status)
        return false;
    int waitStatus = 0;
    if (waitpid(processId, &waitStatus, WNOHANG) == processId)
    {
        status = decode(waitStatus);
        return false;
    }
    return true;
}

std::optional<ExitStatus> ChildProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running())
    {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(pollInterval);
    }
    return status;
}

void ChildProcess::kill()
{
    if (!running())
        return;
    // The whole process group: the program and anything it may have started.
    ::kill(-processId, SIGKILL);
    ::kill(processId, SIGKILL);
    int waitStatus = 0;
    if (waitpid(processId, &waitStatus, 0) == processId)
        status = decode(waitStatus);
}

void ChildProcess::stop(std::chrono::milliseconds grace)
{
    if (!running())
        return;
    ::kill(processId, SIGTERM);
    if (!waitForExit(grace))
        kill();
}

ExitStatus runToEnd(const Launch& launch, std::chrono::milliseconds timeout)
{
    ChildProcess process(launch);
    const std::optional<ExitStatus> status = process.waitForExit(timeout);
    if (!status)
        throw std::runtime_error(launch.program.string() + " did not finish in time");
    return *status;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}
