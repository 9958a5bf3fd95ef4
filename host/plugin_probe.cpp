#include "plugin_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <exception>
#include <sstream>

#include "plugin.h"
#include "plugin_text.h"

namespace tovrel {
namespace {

using Clock = std::chrono::steady_clock;

// Tabs and line ends would break the child's one-line answer.
std::string field(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

// In the child: load, ask, answer "ok\tNAME\tVENDOR\tID\tINS\tOUTS" or "no\tPROBLEM", leave
// without closing anything (the plug-in's own shutdown is not ours to wait for).
[[noreturn]] void probeInChild(const std::string& path, int answer) {
    const int quiet = open("/dev/null", O_RDWR);
    dup2(quiet, STDIN_FILENO);
    dup2(quiet, STDOUT_FILENO);  // plug-ins print; the listing is ours
    dup2(quiet, STDERR_FILENO);
    std::string line;
    try {
        auto plugin = Plugin::open(path);
        const AEffect& r = plugin->record();
        std::ostringstream out;
        out << "ok\t" << field(effectName(*plugin)) << '\t' << field(vendorString(*plugin)) << '\t'
            << r.uniqueID << '\t' << r.numInputs << '\t' << r.numOutputs << '\n';
        line = out.str();
        plugin.release();
    } catch (const std::exception& e) {
        line = "no\t" + field(e.what()) + "\n";
    }
    writeAll(answer, line);
    _exit(0);
}

struct Child {
    std::size_t index;
    pid_t pid;
    int fd;
    Clock::time_point deadline;
    std::string answer;
};

Child start(const std::string& path, std::size_t index, std::chrono::milliseconds limit) {
    int ends[2];
    if (pipe(ends) != 0) return {index, -1, -1, Clock::now(), ""};
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        probeInChild(path, ends[1]);
    }
    close(ends[1]);
    return {index, pid, ends[0], Clock::now() + limit, ""};
}

void parseAnswer(const std::string& answer, PluginSummary& s) {
    std::istringstream in(answer);
    std::string kind, id, ins, outs;
    std::getline(in, kind, '\t');
    if (kind == "no") {
        std::getline(in, s.problem);
        return;
    }
    std::getline(in, s.name, '\t');
    std::getline(in, s.vendor, '\t');
    std::getline(in, id, '\t');
    std::getline(in, ins, '\t');
    std::getline(in, outs);
    try {
        s.uniqueId = static_cast<VstInt32>(std::stol(id));
        s.inputs = std::stoi(ins);
        s.outputs = std::stoi(outs);
        s.loaded = true;
    } catch (const std::exception&) {
        s.problem = "gave an unreadable answer";
    }
}

// A child that has finished, died or run out of time.
void finish(Child& child, PluginSummary& s, bool timedOut, std::chrono::milliseconds limit) {
    if (timedOut) kill(child.pid, SIGKILL);
    int status = 0;
    waitpid(child.pid, &status, 0);
    close(child.fd);
    const bool answered = !child.answer.empty() && child.answer.back() == '\n';
    if (answered) {
        parseAnswer(child.answer, s);  // a helper it started may be what kept the pipe open
    } else if (timedOut) {
        s.problem =
            "no answer within " + std::to_string(limit.count()) + " ms: hangs while loading";
    } else if (WIFSIGNALED(status) && child.answer.empty()) {
        s.problem = std::string("crashed while loading (") + strsignal(WTERMSIG(status)) + ")";
    } else if (child.answer.empty()) {
        // A host sees a plug-in that ends its process as a crash (so do sanitizers report one).
        s.problem =
            "crashed while loading (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
    } else {
        parseAnswer(child.answer, s);
    }
}

// Waits until some child has something to say or a deadline passes.
void serve(std::vector<Child>& running, std::vector<PluginSummary>& out,
           std::chrono::milliseconds limit) {
    const Clock::time_point now = Clock::now();
    Clock::time_point soonest = running.front().deadline;
    std::vector<pollfd> fds;
    for (const Child& c : running) {
        fds.push_back({c.fd, POLLIN, 0});
        soonest = std::min(soonest, c.deadline);
    }
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(soonest - now);
    poll(fds.data(), fds.size(), static_cast<int>(std::max<long long>(0, wait.count()) + 1));
    for (std::size_t i = running.size(); i-- > 0;) {
        Child& c = running[i];
        bool done = false, timedOut = false;
        if (fds[i].revents != 0) {
            char buffer[4096];
            const ssize_t n = read(c.fd, buffer, sizeof buffer);
            if (n > 0) c.answer.append(buffer, static_cast<std::size_t>(n));
            done = n <= 0;
        }
        if (!done && Clock::now() >= c.deadline) done = timedOut = true;
        if (done) {
            finish(c, out[c.index], timedOut, limit);
            running.erase(running.begin() + static_cast<long>(i));
        }
    }
}

}  // namespace

std::vector<PluginSummary> probePlugins(const std::vector<std::string>& paths,
                                        std::chrono::milliseconds limit, int atOnce) {
    std::vector<PluginSummary> out(paths.size());
    std::vector<Child> running;
    std::size_t next = 0;
    while (next < paths.size() || !running.empty()) {
        while (next < paths.size() && static_cast<int>(running.size()) < atOnce) {
            out[next].path = paths[next];
            Child child = start(paths[next], next, limit);
            if (child.pid < 0) {
                out[next].problem = "could not start a process to probe it";
                if (child.fd >= 0) close(child.fd);
            } else {
                running.push_back(child);
            }
            ++next;
        }
        if (!running.empty()) serve(running, out, limit);
    }
    return out;
}

}  // namespace tovrel
