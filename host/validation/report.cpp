#include "report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

namespace tovrel::validation {
namespace {

std::string lowerWord(Verdict verdict) {
    std::string word = verdictWord(verdict);
    for (char& c : word) c = static_cast<char>(c - 'A' + 'a');
    return word;
}

std::string xmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // XML 1.0 has no way to carry other control characters.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
                    out += '?';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

}  // namespace

std::string resultLine(const CheckResult& result) {
    std::string line = std::string(verdictWord(result.outcome.verdict)) + "  " + result.name;
    if (!result.outcome.detail.empty()) {
        if (result.name.size() < 30) line.append(30 - result.name.size(), ' ');
        line += "  " + result.outcome.detail;
    }
    return line;
}

int countOf(const std::vector<CheckResult>& results, Verdict verdict) {
    int count = 0;
    for (const CheckResult& result : results) count += result.outcome.verdict == verdict;
    return count;
}

std::string jsonReport(const RunInfo& run, const std::vector<CheckResult>& results) {
    nlohmann::ordered_json report;
    report["plugin"] = run.pluginPath;
    report["level"] = run.level;
    report["seed"] = run.seed;
    nlohmann::ordered_json checks = nlohmann::ordered_json::array();
    for (const CheckResult& result : results) {
        nlohmann::ordered_json entry;
        entry["name"] = result.name;
        entry["level"] = result.level;
        entry["verdict"] = lowerWord(result.outcome.verdict);
        entry["detail"] = result.outcome.detail;
        checks.push_back(std::move(entry));
    }
    report["checks"] = std::move(checks);
    nlohmann::ordered_json totals;
    for (Verdict verdict :
         {Verdict::Pass, Verdict::Info, Verdict::Warn, Verdict::Skip, Verdict::Fail}) {
        totals[lowerWord(verdict)] = countOf(results, verdict);
    }
    report["totals"] = std::move(totals);
    // Plug-in texts are not always UTF-8: replace what is not rather than refuse the report.
    return report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string junitReport(const RunInfo& run, const std::vector<CheckResult>& results) {
    double total = 0.0;
    for (const CheckResult& result : results) total += result.seconds;
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites>\n";
    xml += "  <testsuite name=\"tovrel validate " + xmlEscaped(run.pluginPath) + "\" tests=\"" +
           std::to_string(results.size()) + "\" failures=\"" +
           std::to_string(countOf(results, Verdict::Fail)) + "\" skipped=\"" +
           std::to_string(countOf(results, Verdict::Skip)) + "\" time=\"" + secondsText(total) +
           "\">\n";
    for (const CheckResult& result : results) {
        const std::string family = result.name.substr(0, result.name.find('.'));
        xml += "    <testcase classname=\"" + xmlEscaped(family) + "\" name=\"" +
               xmlEscaped(result.name) + "\" time=\"" + secondsText(result.seconds) + "\"";
        const std::string detail = xmlEscaped(result.outcome.detail);
        switch (result.outcome.verdict) {
            case Verdict::Fail:
                xml += ">\n      <failure message=\"" + detail + "\"/>\n    </testcase>\n";
                break;
            case Verdict::Skip:
                xml += ">\n      <skipped message=\"" + detail + "\"/>\n    </testcase>\n";
                break;
            case Verdict::Warn:
            case Verdict::Info:
                xml += ">\n      <system-out>" + std::string(verdictWord(result.outcome.verdict)) +
                       ": " + detail + "</system-out>\n    </testcase>\n";
                break;
            case Verdict::Pass:
                xml += "/>\n";
                break;
        }
    }
    xml += "  </testsuite>\n</testsuites>\n";
    return xml;
}

}  // namespace tovrel::validation
