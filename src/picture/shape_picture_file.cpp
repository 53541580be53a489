#include "picture/shape_picture_file.h"

#include "geometry/lod_geometry.h"
#include "picture/png_file.h"
#include "picture/shape_picture.h"

namespace orvane::picture {

EncodedPicture drawShapePicture(const clsReader& root, const RunLimits& limits, const PictureRequest& request) {
    EncodedPicture picture;
    const std::int32_t lods = geometry::lodCount(root);
    if (request.lod < 0 || request.lod >= lods) {
        picture.result.outcome = PictureOutcome::NoSuchLod;
        picture.result.problem =
            "the shape has no LOD " + std::to_string(request.lod) + " (it has " + std::to_string(lods) + ")";
        return picture;
    }
    const geometry::LodGeometry lod = geometry::buildLodGeometry(root, request.lod, limits);
    const Camera camera = fittedCamera(lod, request.view, request.width, request.height);
    DrawOptions options;
    options.threads = request.threads > 0 ? request.threads : drawingThreads();
    picture.png = encodePng(drawLod(lod, camera, request.width, request.height, options));
    if (picture.png.empty()) {
        picture.result.outcome = PictureOutcome::WriteFailed;
        picture.result.problem = "the picture could not be encoded";
    }
    return picture;
}

PictureResult writePicture(const EncodedPicture& picture, const std::filesystem::path& png) {
    if (picture.result.outcome != PictureOutcome::Written) return picture.result;
    PictureResult result;
    if (!writePngBytes(picture.png, png, result.problem)) result.outcome = PictureOutcome::WriteFailed;
    return result;
}

}  // namespace orvane::picture
