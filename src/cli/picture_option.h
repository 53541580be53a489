#pragma once
// --picture, --pictures, --view, --size and --lod: the picture of the shape
// as read with its findings.

#include "cli/cli_options.h"
#include "picture/shape_picture_file.h"

namespace orvane::cli {

// The request the options make; the size when --size was not given is
// defaultWidth x defaultHeight.
picture::PictureRequest pictureRequest(const CliOptions& options, int defaultWidth, int defaultHeight);

// Writes options.pictureFile for options.file, read again as it is on disk;
// false, with the reason on standard error, when no picture was written.
bool writePictureOption(const CliOptions& options);

}  // namespace orvane::cli
