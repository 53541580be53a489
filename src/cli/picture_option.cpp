#include "cli/picture_option.h"

#include "cli/console.h"
#include "document/path_text.h"

namespace orvane::cli {

picture::PictureRequest pictureRequest(const CliOptions& options, int defaultWidth, int defaultHeight) {
    picture::PictureRequest request;
    request.width = options.pictureWidth > 0 ? options.pictureWidth : defaultWidth;
    request.height = options.pictureHeight > 0 ? options.pictureHeight : defaultHeight;
    request.view = options.view == "front"  ? picture::ViewKind::Front
                   : options.view == "side" ? picture::ViewKind::Side
                   : options.view == "top"  ? picture::ViewKind::Top
                                            : picture::ViewKind::Iso;
    request.lod = options.lod;
    return request;
}

bool writePictureOption(const CliOptions& options) {
    const picture::PictureResult result =
        picture::writeShapePictureOf(pathFromText(options.file), options.limits, pictureRequest(options, 1280, 800),
                                     pathFromText(options.pictureFile));
    if (result.outcome == picture::PictureOutcome::Written) return true;
    writeError("orvane-cli: no picture written to " + options.pictureFile + ": " + result.problem + "\n");
    return false;
}

}  // namespace orvane::cli
