#include "tools/render_check/compare/digest_file.h"

#include <sstream>

namespace tovrel::render {

DigestFile parseDigest(const std::string& text) {
    DigestFile file;
    std::istringstream lines(text);
    std::string line;
    CaseDigest* current = nullptr;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string tag, name;
        words >> tag;
        if (tag == "case") {
            words >> name;
            if (file.cases.count(name) == 0) file.order.push_back(name);
            current = &file.cases[name];
            *current = CaseDigest{};
            std::string frames, chunk;
            words >> frames >> chunk;
            if (chunk.rfind("chunk=", 0) == 0) current->chunkFrames = std::stoi(chunk.substr(6));
        } else if (tag == "probe") {
            ProbeDigest probe;
            std::string count, hash;
            words >> name >> probe.kind >> count >> hash;
            probe.hash = count + " " + hash;
            file.probes[name] = probe;
        } else if (current == nullptr) {
            continue;
        } else if (tag == "chunk") {
            std::string index, hash;
            words >> index >> hash;
            current->chunks.push_back(hash);
        } else if (tag == "state") {
            std::string high, low;
            words >> name >> high >> low;
            current->states.emplace_back(name, high + " " + low);
        } else if (tag == "noise") {
            current->noise = line.substr(6);
        } else if (tag == "end") {
            current->complete = true;
            current = nullptr;
        }
    }
    return file;
}

std::map<long, std::vector<std::uint64_t>> parseIndexedWords(const std::string& text,
                                                             const std::string& tag) {
    std::map<long, std::vector<std::uint64_t>> rows;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string first, word;
        long index = 0;
        if (!(words >> first >> index) || first != tag) continue;
        std::vector<std::uint64_t>& row = rows[index];
        while (words >> word) {
            if (word != "->") row.push_back(std::stoull(word, nullptr, 16));
        }
    }
    return rows;
}

}  // namespace tovrel::render
