// Finding VST 2.4 plug-ins the way Linux hosts do: the folders named by VST_PATH, then by
// LXVST_PATH, then the usual ones (~/.vst, /usr/local/lib/vst, /usr/lib/vst, with lxvst,
// linux_vst and lib64 variants), each searched recursively.
#pragma once

#include <string>
#include <vector>

namespace tovrel {

// What the search reads from the environment; the process's own by default.
struct SearchEnvironment {
    std::string vstPath, lxvstPath, home;
    static SearchEnvironment fromProcess();
};

// The folders in search order, without repeats; folders that do not exist are kept.
std::vector<std::string> searchFolders(const SearchEnvironment& environment);

// Every shared object under one folder, recursively, in name order.
std::vector<std::string> pluginFilesIn(const std::string& folder);

// Every shared object in the folders, each real file once, in search order.
std::vector<std::string> pluginFiles(const std::vector<std::string>& folders);

// The plug-in file --plugin names. A name with a slash is a path and used as it is. A bare
// name (with or without .so) is looked up folder by folder; the first folder that holds it
// decides, and more than one match there is an error that lists them. A name found nowhere
// but present in the current folder is that file.
std::string resolvePlugin(const std::string& name, const std::vector<std::string>& folders);

}  // namespace tovrel
