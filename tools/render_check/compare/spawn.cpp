#include "tools/render_check/compare/spawn.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tovrel::render {
namespace {

struct Running {
    pid_t pid = -1;
    std::string outputPath;
};

std::string temporaryPath() {
    const char* directory = std::getenv("TMPDIR");
    std::string path =
        std::string(directory != nullptr ? directory : "/tmp") + "/tovrel_render_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) throw std::runtime_error("cannot create a file in the temporary directory");
    close(fd);
    return path;
}

Running start(const std::vector<std::string>& command) {
    Running running;
    running.outputPath = temporaryPath();
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, running.outputPath.c_str(),
                                     O_WRONLY | O_TRUNC, 0);
    const int error = posix_spawnp(&running.pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        std::remove(running.outputPath.c_str());
        throw std::runtime_error("cannot start " + command.front());
    }
    return running;
}

RunResult finish(const Running& running) {
    RunResult result;
    int status = 0;
    if (waitpid(running.pid, &status, 0) == running.pid) {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::ifstream file(running.outputPath);
    std::ostringstream text;
    text << file.rdbuf();
    result.output = text.str();
    std::remove(running.outputPath.c_str());
    return result;
}

}  // namespace

std::vector<RunResult> runAll(const std::vector<std::vector<std::string>>& commands) {
    std::vector<Running> running;
    try {
        for (const auto& command : commands) running.push_back(start(command));
    } catch (...) {
        for (const Running& r : running) finish(r);  // leave no child behind
        throw;
    }
    std::vector<RunResult> results;
    for (const Running& r : running) results.push_back(finish(r));
    return results;
}

}  // namespace tovrel::render
