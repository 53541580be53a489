#include "summary_table.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "whole_run_shapes.h"

namespace orvane::bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        const std::string& name = run.run_name.function_name;
        if ((name.rfind("Run/", 0) != 0 && name.rfind("Batch/", 0) != 0) || run.error_occurred) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        // A single run stands for its own median until a median arrives.
        if (median || (run.run_type == Run::RT_Iteration && !medians_.count(name)))
            medians_[name] = Figure{run.GetAdjustedRealTime(), run.counters};
    }
}

const SummaryReporter::Figure* SummaryReporter::find(const std::string& name) const {
    auto it = medians_.find(name);
    return it == medians_.end() ? nullptr : &it->second;
}

namespace {

std::optional<double> counter(const benchmark::UserCounters& counters, const char* name) {
    auto it = counters.find(name);
    if (it == counters.end()) return std::nullopt;
    return it->second.value;
}

}  // namespace

void SummaryReporter::printSummary() const {
    if (medians_.empty()) return;
    std::vector<std::string> shapes;
    for (const RunShape& shape : wholeRunShapes()) shapes.push_back(shape.name);

    using Value = std::function<std::optional<double>(const std::string& shape)>;
    auto ms = [this](const char* what) -> Value {
        return [this, what](const std::string& shape) -> std::optional<double> {
            const Figure* f = find(std::string("Run/") + what + "/" + shape);
            if (!f) return std::nullopt;
            return f->ms;
        };
    };
    auto count = [this](const char* what, const char* name, double scale) -> Value {
        return [=, this](const std::string& shape) -> std::optional<double> {
            const Figure* f = find(std::string("Run/") + what + "/" + shape);
            if (!f) return std::nullopt;
            auto v = counter(f->counters, name);
            if (!v) return std::nullopt;
            return *v * scale;
        };
    };
    auto fileMB = [this](const std::string& shape) -> std::optional<double> {
        const Figure* f = find("Run/BarePass/" + shape);
        if (!f) return std::nullopt;
        auto rate = counter(f->counters, "bytes_per_second");
        if (!rate) return std::nullopt;
        return *rate * f->ms / 1000.0 / 1e6;
    };
    auto ratio = [](Value a, Value b) -> Value {
        return [=](const std::string& shape) -> std::optional<double> {
            auto x = a(shape), y = b(shape);
            if (!x || !y || *y == 0) return std::nullopt;
            return *x / *y;
        };
    };

    struct Row {
        const char* label;
        Value value;
        const char* target;
    };
    const std::vector<Row> rows = {
        {"file size (MB)", fileMB, ""},
        {"bare pass (ms)", ms("BarePass"), ""},
        {"bare pass, windowed (ms)", ms("BarePassWindowed"), ""},
        {"read (ms)", ms("Read"), ""},
        {"survey + small edges (ms)", ms("Survey"), ""},
        {"primitive splitting (ms)", ms("Split"), ""},
        {"sub-object division (ms)", ms("Divide"), ""},
        {"animations (ms)", ms("Animations"), ""},
        {"write (ms)", ms("Write"), ""},
        {"whole run, runFix (ms)", ms("Whole"), ""},
        {"whole run / bare pass", ratio(ms("Whole"), ms("BarePass")), "<= 3 (100k, 1M)"},
        {"whole run / windowed bare pass", ratio(ms("Whole"), ms("BarePassWindowed")), ""},
        {"whole run, new process (ms)", ms("WholeFreshProcess"), ""},
        {"peak memory (MB)", count("WholeFreshProcess", "peak_MB", 1.0), ""},
        {"peak memory / file size", count("WholeFreshProcess", "peak_per_file_byte", 1.0), "<= 4 (1M)"},
        {"survey (M triangles/s)", count("Survey", "items_per_second", 1e-6), ">= 2"},
        {"write (MB/s)", count("Write", "bytes_per_second", 1e-6), ">= 300"},
        {"read (MB/s)", count("Read", "bytes_per_second", 1e-6), ""},
        {"longest time without yielding, read (ms)", count("WholeFreshProcess", "read_gap_ms", 1.0), "~100"},
        {"longest time without yielding, write (ms)", count("WholeFreshProcess", "write_gap_ms", 1.0), "~100"},
        {"orvane-cli, whole process (ms)", ms("CliProcess"), "< 500 (100k)"},
    };
    const Value floor = count("AgainstFloor", "floor_ms", 1.0);
    const Value floorHuge = count("AgainstFloor", "floor_huge_ms", 1.0);
    const Value whole = count("AgainstFloor", "whole_ms", 1.0);
    const Value reportOnly = count("AgainstFloor", "report_ms", 1.0);
    const std::vector<Row> floorRows = {
        {"floor process (ms)", floor, ""},
        {"floor process, huge pages (ms)", floorHuge, ""},
        {"orvane-cli whole run (ms)", whole, ""},
        {"whole run / floor", ratio(whole, floor), "<= 2 (100k, 1M)"},
        {"whole run / floor with huge pages", ratio(whole, floorHuge), ""},
        {"orvane-cli --report-only (ms)", reportOnly, ""},
        {"report-only / floor", ratio(reportOnly, floor), "<= 1.5 (100k, 1M)"},
        {"report-only / floor with huge pages", ratio(reportOnly, floorHuge), ""},
        {"whole run, peak memory / file size", count("AgainstFloor", "peak_per_file_byte", 1.0), "<= 1.5 (1M)"},
    };

    // A table whose benchmarks all stayed out of the run is left out.
    auto printRows = [&](const char* title, const std::vector<Row>& table) {
        bool any = false;
        for (const Row& row : table)
            for (const auto& s : shapes) any = any || row.value(s).has_value();
        if (!any) return;
        std::printf("\n%s\n", title);
        std::printf("%-40s", "");
        for (const auto& s : shapes) std::printf("%12s", s.c_str());
        std::printf("  %s\n", "target");
        for (const Row& row : table) {
            std::printf("%-40s", row.label);
            for (const auto& s : shapes) {
                auto v = row.value(s);
                if (v) std::printf("%12.2f", *v);
                else std::printf("%12s", "-");
            }
            std::printf("  %s\n", row.target);
        }
    };
    printRows("Whole fix run, medians (ms = milliseconds, MB = 10^6 bytes)", rows);
    printRows("orvane-cli against the floor (floor_scan), whole processes, medians", floorRows);
    auto single = [this](const char* label, const std::string& name, const char* target) {
        const Figure* f = find(name);
        if (f) std::printf("%-40s%12.2f  %s\n", label, f->ms, target);
    };
    std::printf("\n");
    if (const Figure* threads = find("Batch/RouteThreads")) {
        for (const auto& [label, name] : {std::pair{"batch on threads, --jobs 1 (s)", "jobs1_s"},
                                          std::pair{"batch on threads, --jobs 2 (s)", "jobs2_s"},
                                          std::pair{"  --jobs 1 beside an idle thread (s)", "jobs1_locked_s"}})
            if (auto v = counter(threads->counters, name)) std::printf("%-40s%12.2f\n", label, *v);
        if (auto v = counter(threads->counters, "speedup"))
            std::printf("%-40s%12.2f  %s\n", "batch on threads, --jobs 2 speed-up", *v, ">= 1.8");
        // Moved less than the speed-up by other work on the machine.
        if (auto v = counter(threads->counters, "cpu_ratio"))
            std::printf("%-40s%12.2f  %s\n", "  processor time, --jobs 2 / --jobs 1", *v, "<= 2 / 1.8 = 1.11");
        if (auto v = counter(threads->counters, "cpu_ratio_locked"))
            std::printf("%-40s%12.2f\n", "  same, idle thread / --jobs 1 (locks)", *v);
        if (auto v = counter(threads->counters, "speedup_vs_locked"))
            std::printf("%-40s%12.2f\n", "  --jobs 2 against --jobs 1 with locks", *v);
    }
    single("split one 1M-triangle primitive (ms)", "Run/SplitOnePrimitive/" + onePrimitiveShape().name, "<= 500");
    single("divide a 1M-polygon sub-object, 50 nodes (ms)", "Run/DivideSubObject/" + fiftyNodeShape().name,
           "<= 500");
    std::fflush(stdout);
}

}  // namespace orvane::bench
