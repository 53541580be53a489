#include "support/shape_files.h"

namespace orvane::test {

NodePtr readShape(std::string_view body, bool bText) {
    TempDir dir;
    writeShape(dir / "shape.s", body);
    NodePtr root = clsReader::create();
    root->ReadFile(dir / "shape.s", bText);
    return root;
}

}  // namespace orvane::test
