#include "automation_file.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "chain_parameter.h"
#include "host_error.h"
#include "text_fields.h"

namespace tovrel {
namespace {

// One point as written, before its parameter and time are resolved against the plug-in.
struct WrittenPoint {
    std::string where;  // "FILE line N" or "FILE point N"
    std::string timeField;
    double time = 0.0;
    std::string parameter;
    double value = 0.0;
    bool step = false;
};

[[noreturn]] void fail(const std::string& where, const std::string& field,
                       const std::string& reason) {
    throw HostError(where + ", field '" + field + "': " + reason);
}

// Files may come with Windows line ends.
std::string trimmedCell(const std::string& text) {
    return trimmed(text, " \t\r");
}

double number(const std::string& where, const std::string& field, const std::string& text) {
    const std::string value = trimmedCell(text);
    const std::optional<double> parsed = finiteNumber(value);
    if (!parsed) fail(where, field, "expected a number, found '" + value + "'");
    return *parsed;
}

bool shapeIsStep(const std::string& where, const std::string& text) {
    const std::string shape = trimmedCell(text);
    if (shape.empty() || shape == "linear") return false;
    if (shape == "step") return true;
    fail(where, "shape", "expected 'linear' or 'step', found '" + shape + "'");
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream stream(line);
    for (std::string cell; std::getline(stream, cell, ',');) cells.push_back(trimmedCell(cell));
    if (!line.empty() && line.back() == ',') cells.emplace_back();
    return cells;
}

std::vector<WrittenPoint> readCsv(const std::string& path, std::istream& in) {
    std::map<std::string, std::size_t> columns;
    std::vector<WrittenPoint> points;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        const std::string where = path + " line " + std::to_string(++lineNumber);
        const std::string text = trimmedCell(line);
        if (text.empty() || text[0] == '#') continue;
        const std::vector<std::string> cells = fields(text);
        if (columns.empty()) {
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const std::string& name = cells[i];
                if (name != "seconds" && name != "frame" && name != "parameter" &&
                    name != "value" && name != "shape") {
                    fail(where, name, "unknown column (seconds or frame, parameter, value, shape)");
                }
                if (!columns.emplace(name, i).second) fail(where, name, "column given twice");
            }
            for (const char* needed : {"parameter", "value"}) {
                if (!columns.count(needed)) fail(where, needed, "missing column");
            }
            if (columns.count("seconds") == columns.count("frame")) {
                fail(where, "seconds", "give exactly one time column, seconds or frame");
            }
            continue;
        }
        if (cells.size() != columns.size()) {
            fail(where, "value",
                 "expected " + std::to_string(columns.size()) + " comma-separated fields, found " +
                     std::to_string(cells.size()));
        }
        WrittenPoint point;
        point.where = where;
        point.timeField = columns.count("seconds") ? "seconds" : "frame";
        point.time = number(where, point.timeField, cells[columns[point.timeField]]);
        point.parameter = cells[columns["parameter"]];
        point.value = number(where, "value", cells[columns["value"]]);
        if (columns.count("shape")) point.step = shapeIsStep(where, cells[columns["shape"]]);
        points.push_back(point);
    }
    if (columns.empty()) fail(path + " line 1", "seconds", "no header line");
    return points;
}

double jsonNumber(const std::string& where, const std::string& field, const nlohmann::json& value) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        fail(where, field, "expected a number, found " + value.dump());
    }
    return value.get<double>();
}

std::vector<WrittenPoint> readJson(const std::string& path, std::istream& in) {
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(in);
    } catch (const nlohmann::json::parse_error& e) {
        // nlohmann's message already gives the line and column.
        throw HostError(path + ": not valid JSON: " + e.what());
    }
    const nlohmann::json& list =
        document.is_object() && document.contains("points") ? document["points"] : document;
    if (!list.is_array()) fail(path + " line 1", "points", "expected an array of points");
    std::vector<WrittenPoint> points;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const nlohmann::json& entry = list[i];
        WrittenPoint point;
        point.where = path + " point " + std::to_string(i + 1);
        if (!entry.is_object()) fail(point.where, "point", "expected an object");
        for (const auto& [key, value] : entry.items()) {
            if (key != "seconds" && key != "frame" && key != "parameter" && key != "value" &&
                key != "shape") {
                fail(point.where, key, "unknown field");
            }
        }
        if (entry.contains("seconds") == entry.contains("frame")) {
            fail(point.where, "seconds", "give exactly one of seconds and frame");
        }
        point.timeField = entry.contains("seconds") ? "seconds" : "frame";
        point.time = jsonNumber(point.where, point.timeField, entry[point.timeField]);
        if (!entry.contains("parameter")) fail(point.where, "parameter", "missing");
        const nlohmann::json& parameter = entry["parameter"];
        if (parameter.is_number_unsigned()) {
            point.parameter = std::to_string(parameter.get<std::uint64_t>());
        } else if (parameter.is_string()) {
            point.parameter = parameter.get<std::string>();
        } else {
            fail(point.where, "parameter", "expected a name or an index");
        }
        if (!entry.contains("value")) fail(point.where, "value", "missing");
        point.value = jsonNumber(point.where, "value", entry["value"]);
        if (entry.contains("shape")) {
            if (!entry["shape"].is_string()) fail(point.where, "shape", "expected a string");
            point.step = shapeIsStep(point.where, entry["shape"].get<std::string>());
        }
        points.push_back(point);
    }
    return points;
}

bool looksLikeJson(const std::string& path, std::istream& in) {
    const auto dot = path.rfind('.');
    if (dot != std::string::npos && path.substr(dot) == ".json") return true;
    char first = 0;
    in >> std::ws;
    first = static_cast<char>(in.peek());
    return first == '[' || first == '{';
}

std::int64_t frameOf(const WrittenPoint& point, double sampleRate) {
    // Past 2^53 frames (over 6000 years at 44.1 kHz) integers stop being exact doubles.
    constexpr double kLatest = 9007199254740992.0;
    if (point.timeField == "frame") {
        if (point.time < 0 || point.time > kLatest || std::floor(point.time) != point.time) {
            fail(point.where, "frame", "expected a whole number of frames, 0 or more");
        }
        return static_cast<std::int64_t>(point.time);
    }
    const double frames = point.time * sampleRate;
    if (point.time < 0 || frames > kLatest) {
        fail(point.where, "seconds", "expected a time of 0 seconds or more");
    }
    return std::llround(frames);
}

}  // namespace

Automation readAutomationFile(const std::string& path, const std::vector<Plugin*>& chain,
                              const AutomationFileSettings& settings) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw HostError("cannot read automation file '" + path + "'");
    const std::vector<WrittenPoint> written =
        looksLikeJson(path, in) ? readJson(path, in) : readCsv(path, in);
    if (written.empty()) throw HostError(path + ": no automation points");

    std::map<std::pair<std::size_t, VstInt32>, std::vector<AutomationPoint>> byParameter;
    for (const WrittenPoint& point : written) {
        std::pair<std::size_t, VstInt32> index;
        try {
            const ChainParameter found = findChainParameter(chain, point.parameter);
            index = {found.member, found.index};
        } catch (const HostError& e) {
            fail(point.where, "parameter", e.what());
        }
        if (!settings.allowOutOfRange && !(point.value >= 0.0 && point.value <= 1.0)) {
            fail(point.where, "value",
                 "out of range: parameters take 0 to 1 (use --allow-out-of-range to force)");
        }
        byParameter[index].push_back(
            {frameOf(point, settings.sampleRate), static_cast<float>(point.value), point.step});
    }
    std::vector<AutomationLane> lanes;
    for (auto& [index, points] : byParameter) {
        lanes.emplace_back(index.first, index.second, std::move(points));
    }
    return Automation(std::move(lanes), settings.step);
}

}  // namespace tovrel
