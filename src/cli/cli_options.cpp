#include "cli/cli_options.h"

#include <cstdint>
#include <limits>
#include <string>

#include "document/numbers.h"

namespace orvane::cli {

namespace {

// The defaults shown are the run's own.
std::string usageText() {
    return "Usage: orvane-cli [OPTIONS] FILE\n"
           "       orvane-cli [OPTIONS] PATH PATH...\n"
           "Checks and repairs an MSTS shape file. The report goes to standard output; a repaired\n"
           "shape is written beside FILE as FILE followed by \"fixed\", as UTF-16 text.\n"
           "Shapes are read in every form: UTF-16 text, 8-bit text (bytes above 127 taken as\n"
           "Windows-1252), compressed (\"SIMISA@F\") and uncompressed binary.\n"
           "\n"
           "Options:\n"
           "  --max-prim-faces N          most faces in one primitive, 1 to 2147483647 (default " +
           wholeText(kDefaultMaxPrimFaces) + ")\n"
           "  --max-object-polys N        most polygons in one sub-object, 1 to 2147483647 (default " +
           wholeText(kDefaultMaxObjectPolys) + ")\n"
           "  --min-edge-mm X             minimum edge size in millimetres, 0 (no edge is short) to\n"
           "                              1000000, \".\" as decimal point (default " +
           formatSingle(kDefaultMinEdgeMm) + ")\n"
           "  --make-small-polys-visible  lift one point of every short edge by 1 metre\n"
           "  --no-check-animations       leave the animations alone\n"
           "  --report-only               report and repair in memory, write no file\n"
           "  --compress                  write the repaired shape as a compressed shape\n"
           "  --findings                  after the report, list what the simulators trip on\n"
           "  --textures DIR              look for the shape's textures in DIR too (repeatable)\n"
           "  --jobs N                    batch: shapes run at once (default the number of cores)\n"
           "  --format table|csv|json     batch: form of the summary (default table)\n"
           "  --reports DIR               batch: each shape's report to DIR/<path>.txt\n"
           "  --summary FILE              batch: the summary to FILE instead of standard output\n"
           "  --picture FILE.png          after the report, a picture of the shape as read with its\n"
           "                              findings (short edges red, oversize parts tinted)\n"
           "  --pictures DIR              batch: each shape's picture to DIR/<path>.png\n"
           "  --view iso|front|side|top   the picture's view (default iso: perspective three-quarter;\n"
           "                              front along z, side along x, top along y, orthographic)\n"
           "  --size WxH                  the picture's size in pixels (default 1280x800, batch 480x300)\n"
           "  --lod N                     the LOD drawn, from 0 (default 0)\n"
           "  --help                      show this text\n"
           "  --version                   show the version\n"
           "\n"
           "Several PATHs, or a folder (searched for *.s in any case, recursively), run in batch\n"
           "mode: each shape as above, then one summary row per shape and the totals.\n"
           "\n"
           "Exit status: 0 run completed, 1 unreadable file, 2 usage error,\n"
           "3 run stopped on malformed shape content, 4 output could not be written\n"
           "(also a picture, or a picture of a LOD the shape lacks).\n"
           "In batch mode: the highest status of the shapes run, or 130 when interrupted.\n";
}

const std::string kUsageText = usageText();

}  // namespace

const char* const kUsage = kUsageText.c_str();

namespace {

// An optionally signed decimal integer within 32 bits, nothing else.
std::optional<std::int32_t> parseInteger(const std::string& text) {
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
        value = value * 10 + (text[k] - '0');
        if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
    }
    if (text[0] == '-') value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

float minEdgeSqrFromMillimetres(float millimetres) {
    const float metres = millimetres / 1000.0f;
    return metres * metres;
}

std::optional<CliOptions> parseArguments(const std::vector<std::string>& args, std::string& error) {
    CliOptions options;
    bool filesOnly = false;
    auto fail = [&error](std::string message) -> std::optional<CliOptions> {
        error = std::move(message);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (!filesOnly && arg.size() > 2 && arg.rfind("--", 0) == 0) {
            std::string value;
            bool hasInlineValue = false;
            if (auto eq = arg.find('='); eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
                hasInlineValue = true;
            }
            auto takeValue = [&]() -> std::optional<std::string> {
                if (hasInlineValue) return value;
                if (i + 1 >= args.size()) return std::nullopt;
                return args[++i];
            };
            auto rejectValue = [&]() {
                if (hasInlineValue) fail("option " + arg + " takes no value");
                return !hasInlineValue;
            };
            if (arg == "--max-prim-faces" || arg == "--max-object-polys") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                auto number = parseInteger(*text);
                if (!number || *number < 1)
                    return fail("option " + arg + " takes a whole number from 1 to 2147483647, not \"" + *text + "\"");
                (arg == "--max-prim-faces" ? options.limits.maxPrimFaces : options.limits.maxObjectPolys) = *number;
            } else if (arg == "--min-edge-mm") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                // "." is the decimal point whatever the system's language.
                auto number = toSingle(*text);
                if (!number || !(*number >= 0.0f && *number <= kMostMinEdgeMm))
                    return fail("option " + arg + " takes a number of millimetres with \".\" as decimal point, from 0 to " +
                                wholeText(static_cast<std::int64_t>(kMostMinEdgeMm)) + ", not \"" + *text + "\"");
                options.limits.minEdgeSqr = minEdgeSqrFromMillimetres(*number);
            } else if (arg == "--make-small-polys-visible") {
                if (!rejectValue()) return std::nullopt;
                options.switches.chkPoly = true;
            } else if (arg == "--no-check-animations") {
                if (!rejectValue()) return std::nullopt;
                options.switches.chkAnims = false;
            } else if (arg == "--report-only") {
                if (!rejectValue()) return std::nullopt;
                options.switches.chkReport = true;
            } else if (arg == "--compress") {
                if (!rejectValue()) return std::nullopt;
                options.switches.compress = true;
            } else if (arg == "--jobs") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                auto number = parseInteger(*text);
                if (!number || *number < 1) return fail("option " + arg + " takes a whole number from 1, not \"" + *text + "\"");
                options.jobs = *number;
            } else if (arg == "--format" || arg == "--reports" || arg == "--summary") {
                auto text = takeValue();
                if (!text || text->empty()) return fail("option " + arg + " needs a value");
                if (arg == "--format" && *text != "table" && *text != "csv" && *text != "json")
                    return fail("option --format takes table, csv or json, not \"" + *text + "\"");
                (arg == "--format" ? options.format : arg == "--reports" ? options.reportsDir : options.summaryFile) = *text;
                options.batchOption = true;
            } else if (arg == "--findings") {
                if (!rejectValue()) return std::nullopt;
                options.findings = true;
            } else if (arg == "--textures") {
                auto text = takeValue();
                if (!text || text->empty()) return fail("option " + arg + " needs a value");
                options.textureDirs.push_back(*text);
            } else if (arg == "--picture" || arg == "--pictures") {
                auto text = takeValue();
                if (!text || text->empty()) return fail("option " + arg + " needs a value");
                (arg == "--picture" ? options.pictureFile : options.picturesDir) = *text;
                if (arg == "--pictures") options.batchOption = true;
            } else if (arg == "--view") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                if (*text != "iso" && *text != "front" && *text != "side" && *text != "top")
                    return fail("option --view takes iso, front, side or top, not \"" + *text + "\"");
                options.view = *text;
            } else if (arg == "--size") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                const std::size_t x = text->find('x');
                auto w = x == std::string::npos ? std::nullopt : parseInteger(text->substr(0, x));
                auto h = x == std::string::npos ? std::nullopt : parseInteger(text->substr(x + 1));
                if (!w || !h || *w < kMinPictureSide || *h < kMinPictureSide || *w > kMaxPictureSide ||
                    *h > kMaxPictureSide)
                    return fail("option --size takes WIDTHxHEIGHT, each from " + std::to_string(kMinPictureSide) +
                                " to " + std::to_string(kMaxPictureSide) + ", not \"" + *text + "\"");
                options.pictureWidth = *w;
                options.pictureHeight = *h;
            } else if (arg == "--lod") {
                auto text = takeValue();
                if (!text) return fail("option " + arg + " needs a value");
                auto number = parseInteger(*text);
                if (!number || *number < 0) return fail("option --lod takes a whole number from 0, not \"" + *text + "\"");
                options.lod = *number;
            } else if (arg == "--help") {
                options.help = true;
            } else if (arg == "--version") {
                options.version = true;
            } else {
                return fail("unknown option " + arg);
            }
        } else if (!filesOnly && arg == "--") {
            filesOnly = true;
        } else {
            if (options.paths.empty()) options.file = arg;
            options.paths.push_back(arg);
        }
    }
    if (!options.help && !options.version && options.file.empty()) return fail("no FILE given");
    if (!options.pictureFile.empty() && options.paths.size() > 1)
        return fail("option --picture draws a single FILE; in batch mode use --pictures DIR");
    return options;
}

}  // namespace orvane::cli
