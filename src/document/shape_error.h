#pragma once
// Errors raised while working on a shape after it was read: malformed
// content that a check or repair cannot work with, and failed writes.

#include <stdexcept>
#include <string>

namespace orvane {

// Shape content that breaks what a check or repair relies on. The message
// says what was wrong and where; the run stops in an orderly way on it.
class ShapeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The output file could not be written. The message names the path and
// the reason; no partial file is left behind.
class SaveError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orvane
