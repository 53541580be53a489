#pragma once
// The picture of a shape as read, with its findings, as a PNG file: drawn
// and encoded while the tree is as read, written when wanted.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

enum class PictureOutcome { Written, NoSuchLod, WriteFailed };

struct PictureResult {
    PictureOutcome outcome = PictureOutcome::Written;
    std::string problem;  // why nothing was written, in words
};

struct EncodedPicture {
    PictureResult result;            // NoSuchLod, or Written for a picture to write
    std::vector<unsigned char> png;  // the PNG file's bytes
};

// The picture of root (a shape as read) with the findings of a run with limits.
EncodedPicture drawShapePicture(const clsReader& root, const RunLimits& limits, const PictureRequest& request);

// Writes the picture to png; its result says why not when it could not be.
PictureResult writePicture(const EncodedPicture& picture, const std::filesystem::path& png);

}  // namespace orvane::picture
