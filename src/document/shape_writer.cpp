#include "document/cls_reader.h"
#include "document/shape_error.h"

namespace orvane {
// Placeholder until the writer lands.
void clsReader::SaveFile(const std::filesystem::path& sName) {
    throw SaveError("cannot write " + sName.string() + ": writer not built yet");
}
}  // namespace orvane
