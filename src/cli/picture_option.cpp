#include "cli/picture_option.h"

#include <new>

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

void PictureOption::take(const clsReader& root) {
    try {
        picture_ = picture::drawShapePicture(root, options_.limits, pictureRequest(options_, 1280, 800));
    } catch (const std::bad_alloc&) {
        picture_.emplace();
        picture_->result = {picture::PictureOutcome::WriteFailed, "not enough memory to draw the picture"};
    }
}

bool PictureOption::write() const {
    if (!picture_) return false;
    const picture::PictureResult result = picture::writePicture(*picture_, pathFromText(options_.pictureFile));
    if (result.outcome == picture::PictureOutcome::Written) return true;
    writeError("orvane-cli: no picture written to " + options_.pictureFile + ": " + result.problem + "\n");
    return false;
}

}  // namespace orvane::cli
