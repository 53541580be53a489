#pragma once
// Small helpers shared by the document tests: comparing trees, decoding
// written files, and short descriptions of nodes for readable failures.

#include <filesystem>
#include <string>
#include <vector>

#include "document/cls_reader.h"
#include "document/tree_edit.h"

namespace orvane::test {

// Empty when a and b have the same names, labels, values (text for text)
// and children in order; otherwise where they first differ.
std::string treeDifference(const clsReader& a, const clsReader& b);

// The values of a node as plain strings.
std::vector<std::string> valuesOf(const clsReader& node);
// The names of a node's children.
std::vector<std::string> childNames(const clsReader& node);

// Removes child i of a counted block with its placeholder (value i + 1):
// the one-by-one edit that the bulk removals are checked against.
inline void removeCountedChild(clsReader& block, std::size_t i) { removeChild(block, i, i + 1); }

// The text of a UTF-16LE file as UTF-8, without its byte-order mark.
std::string decodedFile(const std::filesystem::path& path);

// Names of the entries of a folder.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);

// Reads a file into a new root (bText true), with every progress event
// recorded in `events` when given.
NodePtr readFileRecording(const std::filesystem::path& path, std::vector<float>* events = nullptr,
                          bool bText = true);

}  // namespace orvane::test
