#include "document/cls_reader.h"
#include "document/shape_reader_parser.h"

namespace orvane {

void clsReader::ReadFile(const std::filesystem::path& sName, bool bText) { ShapeReader::readFile(*this, sName, bText); }

}  // namespace orvane
