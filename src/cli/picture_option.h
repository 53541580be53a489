#pragma once
// --picture, --pictures, --view, --size and --lod: the picture of the shape
// as read with its findings.

#include <optional>

#include "cli/cli_options.h"
#include "picture/shape_picture_file.h"

namespace orvane::cli {

// The request the options make; the size when --size was not given is
// defaultWidth x defaultHeight.
picture::PictureRequest pictureRequest(const CliOptions& options, int defaultWidth, int defaultHeight);

// --picture of a single run: drawn when the shape has been read, written
// after the report.
class PictureOption {
public:
    explicit PictureOption(const CliOptions& options) : options_(options) {}
    void take(const clsReader& root);
    // Writes the picture taken; false, with the reason on standard error,
    // when none was taken or it could not be written.
    bool write() const;

private:
    const CliOptions& options_;
    std::optional<picture::EncodedPicture> picture_;
};

}  // namespace orvane::cli
