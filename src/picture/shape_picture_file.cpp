#include "picture/shape_picture_file.h"

#include "geometry/lod_geometry.h"
#include "picture/png_file.h"
#include "picture/shape_picture.h"

namespace orvane::picture {

PictureResult writeShapePicture(const clsReader& root, const RunLimits& limits, const PictureRequest& request,
                                const std::filesystem::path& png) {
    PictureResult result;
    const std::int32_t lods = geometry::lodCount(root);
    if (request.lod < 0 || request.lod >= lods) {
        result.outcome = PictureOutcome::NoSuchLod;
        result.problem = "the shape has no LOD " + std::to_string(request.lod) + " (it has " + std::to_string(lods) + ")";
        return result;
    }
    const geometry::LodGeometry lod = geometry::buildLodGeometry(root, request.lod, limits);
    const Camera camera = fittedCamera(lod, request.view, request.width, request.height);
    DrawOptions options;
    options.threads = request.threads > 0 ? request.threads : drawingThreads();
    const Image image = drawLod(lod, camera, request.width, request.height, options);
    if (!writePngFile(image, png, result.problem)) result.outcome = PictureOutcome::WriteFailed;
    return result;
}

PictureResult writeShapePictureOf(const std::filesystem::path& shapeFile, const RunLimits& limits,
                                  const PictureRequest& request, const std::filesystem::path& png) {
    NodePtr root = clsReader::create();
    root->ReadFile(shapeFile, true);
    if (root->Nodes().empty()) return {PictureOutcome::Unreadable, "the file is no readable shape"};
    return writeShapePicture(*root, limits, request, png);
}

}  // namespace orvane::picture
