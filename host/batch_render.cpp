#include "batch_render.h"

#include <atomic>
#include <exception>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>

#include "host_error.h"

namespace tovrel {
namespace {

class Batch {
  public:
    Batch(const std::vector<BatchFile>& files, int jobs, const RenderOne& renderOne,
          const BatchHooks& hooks)
        : files_(files),
          renderOne_(renderOne),
          hooks_(hooks),
          results_(files.size()),
          workers_(static_cast<std::size_t>(jobs)) {}

    std::vector<BatchResult> run() {
        std::vector<std::thread> threads;
        for (std::size_t w = 0; w < workers_.size(); ++w)
            threads.emplace_back([this, w] { work(w); });
        for (std::thread& thread : threads) thread.join();
        return std::move(results_);
    }

  private:
    void work(std::size_t worker) {
        for (std::size_t i = next_++; i < files_.size(); i = next_++) {
            BatchResult& result = results_[i];
            if (hooks_.cancelled && hooks_.cancelled()) {
                result.error = "interrupted";
            } else {
                renderInto(worker, files_[i], result);
            }
            show(worker, {}, 0, 0, true);
        }
    }

    void renderInto(std::size_t worker, const BatchFile& file, BatchResult& result) {
        RenderHooks hooks;
        hooks.cancelled = hooks_.cancelled;
        hooks.progress = [this, worker, &file](std::uint64_t done, std::uint64_t total) {
            show(worker, file.input, done, total, false);
        };
        show(worker, file.input, 0, 0, false);
        try {
            result.report = renderOne_(file, hooks);
            result.ok = true;
        } catch (const std::exception& e) {
            result.error = e.what();
        }
    }

    void show(std::size_t worker, const std::string& input, std::uint64_t done, std::uint64_t total,
              bool finishedOne) {
        const std::lock_guard<std::mutex> lock(statusLock_);
        workers_[worker] = {input, done, total};
        if (finishedOne) ++finished_;
        if (hooks_.progress) hooks_.progress(workers_, finished_);
    }

    const std::vector<BatchFile>& files_;
    const RenderOne& renderOne_;
    const BatchHooks& hooks_;
    std::vector<BatchResult> results_;  // each written by the one worker that took its file
    std::atomic<std::size_t> next_{0};
    std::mutex statusLock_;
    std::vector<WorkerStatus> workers_;
    int finished_ = 0;
};

}  // namespace

std::vector<BatchResult> renderBatch(const std::vector<BatchFile>& files, int jobs,
                                     const RenderOne& renderOne, const BatchHooks& hooks) {
    const int workers = std::max(1, std::min(jobs, static_cast<int>(files.size())));
    return Batch(files, workers, renderOne, hooks).run();
}

std::vector<BatchFile> batchOutputs(const std::vector<std::string>& inputs,
                                    const std::string& directory, const std::string& suffix,
                                    const std::string& extension) {
    namespace fs = std::filesystem;
    std::vector<BatchFile> files;
    std::set<std::string> taken;
    for (const std::string& input : inputs) {
        const fs::path path(input);
        const std::string ending = extension.empty()     ? path.extension().string()
                                   : extension[0] == '.' ? extension
                                                         : "." + extension;
        const std::string output =
            (fs::path(directory) / (path.stem().string() + suffix + ending)).string();
        // Two inputs of one name in different folders would overwrite each other's output.
        if (!taken.insert(fs::weakly_canonical(output).string()).second) {
            throw HostError("two inputs would both write '" + output +
                            "': give them different names or render them separately");
        }
        files.push_back({input, output});
    }
    return files;
}

}  // namespace tovrel
