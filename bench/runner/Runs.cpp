#include "Runs.hpp"

#include "ProcessStats.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

// Runs one program in the asset folder and returns its "result" lines; everything else it prints
// goes to the log. The monotonic clock is read in the child just before it becomes the program.
Results run(const RunSettings& settings, const std::vector<std::string>& arguments)
{
    int output[2];
    if (pipe(output) != 0)
    {
        std::perror("flitmere_bench: pipe");
        std::exit(EXIT_FAILURE);
    }
    const pid_t child = fork();
    if (child == 0)
    {
        if (chdir(settings.assets.c_str()) != 0)
            _exit(126);
        dup2(output[1], STDOUT_FILENO);
        const int log = open(settings.log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (log >= 0)
            dup2(log, STDERR_FILENO);
        close(output[0]);
        close(output[1]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        setenv(process::execTimeVariable, std::to_string(process::monotonicNanoseconds()).c_str(), 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char chunk[4096];
    ssize_t count = 0;
    while ((count = read(output[0], chunk, sizeof chunk)) > 0)
        text.append(chunk, static_cast<std::size_t>(count));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    {
        std::fprintf(stderr, "flitmere_bench: %s failed (status %d); see %s\n", arguments[0].c_str(), status,
                     settings.log.c_str());
        std::exit(EXIT_FAILURE);
    }

    Results results;
    std::ofstream log(settings.log, std::ios::app);
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream words(line);
        std::string tag;
        std::string name;
        double value = 0.0;
        if (words >> tag >> name >> value && tag == "result")
            results[name].push_back(value);
        else
            log << line << '\n';
    }
    return results;
}

std::vector<double> column(const std::vector<Results>& runs, const std::string& name)
{
    std::vector<double> values;
    for (const Results& results : runs)
    {
        if (const auto found = results.find(name); found != results.end())
            values.insert(values.end(), found->second.begin(), found->second.end());
    }
    return values;
}

void progress(const std::string& what)
{
    std::fprintf(stderr, "  %s\n", what.c_str());
}

// Runs the game and the floor `repetitions` times each, one right after the other, the game first
// in even turns and the floor first in odd ones.
Pairs runPairs(const RunSettings& settings, int repetitions, const std::vector<std::string>& gameArguments,
               const std::vector<std::string>& floorArguments, const std::string& what)
{
    Pairs pairs;
    for (int turn = 0; turn < repetitions; ++turn)
    {
        progress(what + " " + std::to_string(turn + 1) + "/" + std::to_string(repetitions));
        if (turn % 2 == 0)
        {
            pairs.game.push_back(run(settings, gameArguments));
            pairs.floor.push_back(run(settings, floorArguments));
        }
        else
        {
            pairs.floor.push_back(run(settings, floorArguments));
            pairs.game.push_back(run(settings, gameArguments));
        }
    }
    return pairs;
}

std::string capture(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char chunk[512];
        while (std::fgets(chunk, sizeof chunk, pipe) != nullptr)
            text += chunk;
        pclose(pipe);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}
