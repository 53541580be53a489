#pragma once
// The libFuzzer side of the fuzz targets: a scratch folder on a
// memory-backed file system, and stopping the process on a finding.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::fuzz {

// A private scratch folder for this process.
const std::filesystem::path& scratchDir();
void writeFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

// Stops the process with a message: a broken promise found by the fuzzer.
[[noreturn]] void fail(const std::string& what);

}  // namespace orvane::fuzz
