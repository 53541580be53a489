#pragma once
// A finished shape as bytes, to send it from a worker process to the batch:
// fixed-width numbers and length-prefixed strings, so every byte of a path
// or message comes back as it was (paths need not be valid UTF-8).

#include <optional>
#include <string>
#include <string_view>

#include "batch/shape_job.h"

namespace orvane::batch {

std::string encodeFinishedShape(const FinishedShape& finished);

// None when the bytes are not a whole encoded shape.
std::optional<FinishedShape> decodeFinishedShape(std::string_view bytes);

}  // namespace orvane::batch
