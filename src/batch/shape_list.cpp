#include "batch/shape_list.h"

#include <algorithm>
#include <numeric>
#include <system_error>

#include "document/path_text.h"

namespace orvane::batch {

namespace fs = std::filesystem;

namespace {

std::uint64_t sizeOf(const fs::path& file) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(file, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

// A file named directly keeps its path as given; its report goes to that
// path without root and without "." and ".." parts.
fs::path reportNameOf(const fs::path& given) {
    fs::path name;
    for (const fs::path& part : given.relative_path())
        if (part != "." && part != ".." && !part.empty()) name /= part;
    return name;
}

void addFolder(const fs::path& folder, std::vector<FoundShape>& shapes) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path& file = it->path();
        std::error_code typeError;
        if (!hasShapeSuffix(file) || !it->is_regular_file(typeError)) continue;
        const fs::path relative = file.lexically_relative(folder);
        shapes.push_back({file, genericPathText(relative), relative, sizeOf(file)});
    }
}

}  // namespace

bool hasShapeSuffix(const fs::path& file) {
    const fs::path::string_type name = file.filename().native();
    return name.size() > 2 && name[name.size() - 2] == '.' && (name.back() == 's' || name.back() == 'S');
}

std::vector<std::size_t> shapesBySize(const std::vector<FoundShape>& shapes) {
    std::vector<std::size_t> order(shapes.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return shapes[a].bytes < shapes[b].bytes; });
    return order;
}

std::optional<std::vector<FoundShape>> findShapes(const std::vector<std::string>& paths, std::string& error) {
    std::vector<FoundShape> shapes;
    for (const std::string& text : paths) {
        const fs::path given = pathFromText(text);
        std::error_code ec;
        const fs::file_status status = fs::status(given, ec);
        if (!fs::exists(status)) {
            error = "no such file or folder: " + text;
            return std::nullopt;
        }
        if (fs::is_directory(status))
            addFolder(given, shapes);
        else
            shapes.push_back({given, genericPathText(given), reportNameOf(given), sizeOf(given)});
    }
    std::stable_sort(shapes.begin(), shapes.end(),
                     [](const FoundShape& a, const FoundShape& b) { return a.path < b.path; });
    return shapes;
}

}  // namespace orvane::batch
