#pragma once
// Paths as text and text as paths, the same on every system: text is
// UTF-8 (on Windows converted from the UTF-16 form without loss, lone
// surrogates kept in their 3-byte form; elsewhere the path's own bytes).

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// The path as UTF-8 for captions, report lines and messages.
std::string pathText(const std::filesystem::path& path);

// The path as UTF-8 with "/" between its parts on every system, for
// summaries that scripts compare across systems.
std::string genericPathText(const std::filesystem::path& path);

// The path named by UTF-8 text (the inverse of pathText).
std::filesystem::path pathFromText(std::string_view text);

// The form to hand to the system's file calls: on Windows an absolute path
// too long for the classic limit gets the \\?\ prefix; elsewhere the path
// as it is.
std::filesystem::path systemPath(const std::filesystem::path& path);

}  // namespace orvane
