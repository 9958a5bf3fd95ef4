#include "plugin_search.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "host_error.h"

namespace tovrel {
namespace fs = std::filesystem;
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

void appendList(const std::string& list, std::vector<std::string>& folders) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        if (end > start) folders.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

bool isSharedObject(const fs::path& path) {
    return path.extension() == ".so";
}

std::string realPath(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::canonical(path, error);
    return error ? path : real.string();
}

}  // namespace

SearchEnvironment SearchEnvironment::fromProcess() {
    return {variable("VST_PATH"), variable("LXVST_PATH"), variable("HOME")};
}

std::vector<std::string> searchFolders(const SearchEnvironment& environment) {
    std::vector<std::string> folders;
    appendList(environment.vstPath, folders);
    appendList(environment.lxvstPath, folders);
    if (!environment.home.empty()) {
        for (const char* name : {"/.vst", "/.lxvst", "/.linux_vst"}) {
            folders.push_back(environment.home + name);
        }
    }
    for (const char* root : {"/usr/local/lib", "/usr/local/lib64", "/usr/lib", "/usr/lib64"}) {
        for (const char* name : {"/vst", "/lxvst", "/linux_vst"}) {
            folders.push_back(std::string(root) + name);
        }
    }
    std::vector<std::string> unique;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        if (seen.insert(folder).second) unique.push_back(folder);
    }
    return unique;
}

std::vector<std::string> pluginFilesIn(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    const auto options = fs::directory_options::follow_directory_symlink |
                         fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(folder, options, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (isSharedObject(it->path()) && it->is_regular_file(ignored)) {
            files.push_back(it->path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> pluginFiles(const std::vector<std::string>& folders) {
    std::vector<std::string> files;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        for (const std::string& file : pluginFilesIn(folder)) {
            if (seen.insert(realPath(file)).second) files.push_back(file);
        }
    }
    return files;
}

std::string resolvePlugin(const std::string& name, const std::vector<std::string>& folders) {
    if (name.find('/') != std::string::npos) return name;
    const std::string file = isSharedObject(name) ? name : name + ".so";
    for (const std::string& folder : folders) {
        std::vector<std::string> matches;
        std::set<std::string> seen;
        for (const std::string& path : pluginFilesIn(folder)) {
            if (fs::path(path).filename() == file && seen.insert(realPath(path)).second) {
                matches.push_back(path);
            }
        }
        if (matches.size() == 1) return matches.front();
        if (matches.size() > 1) {
            std::string list;
            for (const std::string& match : matches) list += "\n  " + match;
            throw HostError("plug-in name '" + name + "' is ambiguous in " + folder +
                            "; pass one of these paths:" + list);
        }
    }
    // As before the search existed: a file of that name in the current folder.
    std::error_code error;
    if (fs::is_regular_file(name, error)) return "./" + name;
    std::string searched;
    for (const std::string& folder : folders) searched += (searched.empty() ? "" : ":") + folder;
    throw HostError("no plug-in named '" + name + "' in " + searched +
                    " (set VST_PATH, or pass a path)");
}

}  // namespace tovrel
