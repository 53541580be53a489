#pragma once
// Saving the report list as a text file.

#include <QStringList>
#include <filesystem>
#include <string>

namespace orvane::ui {

// Writes the lines as UTF-8 text, one line each, tabs kept, replacing the
// file only once it is complete. On failure returns false, leaves no
// partial file and sets error to why.
bool saveReportText(const QStringList& lines, const std::filesystem::path& file, std::string& error);

// The name suggested for a shape's report: beside it, "<shape>.report.txt".
std::filesystem::path reportPathFor(const std::filesystem::path& shape);

}  // namespace orvane::ui
