#include <exception>
#include <system_error>

#include "document/binary_shape_writer.h"
#include "document/cls_reader.h"
#include "document/path_text.h"
#include "document/shape_error.h"
#include "document/system_reason.h"
#include "document/shape_writer_output.h"

namespace orvane {

void clsReader::SaveCompressedFile(const std::filesystem::path& sName) {
    std::vector<unsigned char> file;
    try {
        file = compressedShape(binaryShapeTokens(*this));
    } catch (const ShapeError& e) {
        throw ShapeError("cannot write " + pathText(sName) + " as a compressed shape: " + e.what());
    }
    const std::string failure = "cannot write " + pathText(sName) + ": ";
    try {
        detail::ReplacingFile out(sName);
        out.write(file.data(), file.size());
        out.commit();
    } catch (const std::system_error& e) {
        throw SaveError(failure + systemReason(e.code()));
    } catch (const std::exception& e) {
        throw SaveError(failure + e.what());
    }
    RaiseProgress(1.0f);
}

}  // namespace orvane
