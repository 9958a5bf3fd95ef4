#include "runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace tovrel::validation {
namespace {

// The pipe to the parent while a check runs in this child; -1 in the parent.
int stepPipe = -1;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kTimeScale = 6.0;  // instrumented code runs several times slower
#else
constexpr double kTimeScale = 1.0;
#endif

constexpr const char* kLoadingCheck = "load.entry";

std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;
        done += static_cast<std::size_t>(wrote);
    }
}

[[noreturn]] void runChild(const Check& check, const CheckContext& context, int fd) {
    // A group of its own, so a timeout ends whatever the check or the plug-in started too.
    setpgid(0, 0);
    stepPipe = fd;
    // The plug-in's own chatter goes to stderr, so our report on stdout stays clean.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    Outcome outcome;
    try {
        outcome = check.run(context);
    } catch (const CheckFailure& failure) {
        outcome = failed(failure.what());
    } catch (const std::exception& error) {
        outcome = failed(std::string("error: ") + error.what());
    } catch (...) {
        outcome = failed("the plug-in threw an exception of unknown type");
    }
    writeAll(fd, "R" + std::to_string(static_cast<int>(outcome.verdict)) + " " +
                     oneLine(outcome.detail) + "\n");
    // No destructors or exit handlers: a plug-in's static teardown is not under test here.
    std::fflush(stderr);
    _exit(0);
}

std::string signalText(int signal) {
    const char* abbreviation = sigabbrev_np(signal);
    const char* description = strsignal(signal);
    return std::string("SIG") + (abbreviation ? abbreviation : std::to_string(signal).c_str()) +
           " (" + (description ? description : "unknown signal") + ")";
}

// Reads the child's lines until it closes the pipe or the time is up.
bool collect(int fd, double seconds, std::string& text) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    char buffer[4096];
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) continue;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return true;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

struct ChildReport {
    bool finished = false;
    Outcome outcome;
    std::string lastStep;
};

ChildReport parseReport(const std::string& text) {
    ChildReport report;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;  // a line cut short by a crash
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() >= 2 && line[0] == 'S') report.lastStep = line.substr(2);
        if (line.size() >= 3 && line[0] == 'R') {
            const int verdict = line[1] - '0';
            if (verdict >= 0 && verdict <= static_cast<int>(Verdict::Fail)) {
                report.finished = true;
                report.outcome.verdict = static_cast<Verdict>(verdict);
                report.outcome.detail = line.size() > 3 ? line.substr(3) : "";
            }
        }
    }
    return report;
}

// Sanitizer runtimes end a process they caught with an exit status of their own.
std::string sanitizerNote(int code) {
#if defined(__SANITIZE_THREAD__)
    if (code == 66) return " (ThreadSanitizer found a data race; its report is on stderr)";
#elif defined(__SANITIZE_ADDRESS__)
    if (code == 1) return " (AddressSanitizer's report, if any, is on stderr)";
#endif
    (void)code;
    return {};
}

std::string during(const std::string& step) {
    return step.empty() ? "" : " during " + step;
}

}  // namespace

void noteStep(const std::string& step) {
    if (stepPipe >= 0) writeAll(stepPipe, "S " + oneLine(step) + "\n");
}

Outcome runIsolated(const Check& check, const CheckContext& context, double seconds) {
    int fds[2];
    if (pipe(fds) != 0) return failed("cannot create a pipe: " + std::string(strerror(errno)));
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return failed("cannot fork: " + std::string(strerror(errno)));
    }
    if (child == 0) {
        close(fds[0]);
        runChild(check, context, fds[1]);
    }
    close(fds[1]);
    std::string text;
    const double limit = seconds * kTimeScale;
    const bool ended = collect(fds[0], limit, text);
    close(fds[0]);
    if (!ended) {
        kill(-child, SIGKILL);
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const ChildReport report = parseReport(text);
    if (!ended) {
        char figure[32];
        std::snprintf(figure, sizeof figure, "%g", limit);
        return failed("timed out after " + std::string(figure) + " s" + during(report.lastStep));
    }
    if (WIFSIGNALED(status)) {
        return failed("crashed with " + signalText(WTERMSIG(status)) + during(report.lastStep));
    }
    if (!report.finished) {
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return failed("the process exited with status " + std::to_string(code) +
                      sanitizerNote(code) + during(report.lastStep));
    }
    return report.outcome;
}

bool isSkipped(const std::string& name, const std::set<std::string>& skip) {
    if (skip.count(name) != 0) return true;
    const std::size_t dot = name.find('.');
    return dot != std::string::npos && skip.count(name.substr(0, dot)) != 0;
}

std::vector<CheckResult> runChecks(const std::vector<Check>& checks, const CheckContext& context,
                                   const std::set<std::string>& skip,
                                   const std::function<void(const CheckResult&)>& onResult) {
    std::vector<CheckResult> results;
    bool loads = true;
    for (const Check& check : checks) {
        if (check.level > context.level) continue;
        CheckResult result{check.name, check.level, {}, 0.0};
        const auto start = std::chrono::steady_clock::now();
        if (isSkipped(check.name, skip)) {
            result.outcome = skipped("skipped on request");
        } else if (!loads) {
            result.outcome = skipped("the plug-in does not load");
        } else {
            result.outcome = runIsolated(check, context, check.seconds * context.timeScale);
            if (check.name == kLoadingCheck && result.outcome.verdict == Verdict::Fail) {
                loads = false;
            }
        }
        result.seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        onResult(result);
        results.push_back(std::move(result));
    }
    return results;
}

}  // namespace tovrel::validation
