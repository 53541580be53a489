#pragma once
// The picture of a shape as read, with its findings, written as a PNG file.

#include <cstdint>
#include <filesystem>
#include <string>

#include "document/cls_reader.h"
#include "fixes/run_state.h"
#include "picture/camera.h"

namespace orvane::picture {

struct PictureRequest {
    int width = 1280;
    int height = 800;
    ViewKind view = ViewKind::Iso;
    std::int32_t lod = 0;
    int threads = 0;  // 0: drawingThreads()
};

enum class PictureOutcome { Written, Unreadable, NoSuchLod, WriteFailed };

struct PictureResult {
    PictureOutcome outcome = PictureOutcome::Written;
    std::string problem;  // why nothing was written, in words
};

// The picture of root (a shape as read) with the findings of a run with limits.
PictureResult writeShapePicture(const clsReader& root, const RunLimits& limits, const PictureRequest& request,
                                const std::filesystem::path& png);

// Reads shapeFile first; a file that is no readable shape writes nothing.
PictureResult writeShapePictureOf(const std::filesystem::path& shapeFile, const RunLimits& limits,
                                  const PictureRequest& request, const std::filesystem::path& png);

}  // namespace orvane::picture
