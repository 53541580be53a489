#include "document/cls_reader.h"

namespace orvane {
// Placeholder until the reader lands.
void clsReader::ReadFile(const std::filesystem::path&, bool) {
    SetNodes(std::make_shared<NodeList>());
    SetStrings(std::make_shared<StringList>());
}
}  // namespace orvane
