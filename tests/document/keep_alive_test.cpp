// The keep-alive listener: called during long reads and writes, and able to
// abandon them like the progress listener.

#include <gtest/gtest.h>

#include "support/shape_files.h"
#include "generator/shape_generator.h"
#include "support/tree_helpers.h"

using namespace orvane;
using namespace orvane::test;

namespace {

struct Abandon {};

struct KeepAlive : ::testing::Test {
    TempDir dir;
    std::filesystem::path shape = dir / "big.s";
    void SetUp() override {
        ShapeParameters params;
        params.triangles = 20000;
        writeGeneratedShape(shape, params);
    }
};

}  // namespace

TEST_F(KeepAlive, IsCalledDuringReadAndWriteWithoutChangingTheResult) {
    NodePtr plain = readFileRecording(shape);
    NodePtr root = clsReader::create();
    int calls = 0;
    root->SetKeepAliveListener([&calls] { ++calls; }, std::chrono::milliseconds(0));
    root->ReadFile(shape, true);
    EXPECT_GT(calls, 10);
    EXPECT_EQ(treeDifference(*plain, *root), "");
    const int afterRead = calls;
    root->SaveFile(dir / "copy.s");
    EXPECT_GT(calls, afterRead + 10);
    EXPECT_EQ(readBytes(dir / "copy.s"), readBytes(shape));  // generated shapes use the writer's layout
}

TEST_F(KeepAlive, ThrowingAbandonsTheReadAndLeavesAnEmptyRoot) {
    NodePtr root = clsReader::create();
    root->SetKeepAliveListener([] { throw Abandon{}; }, std::chrono::milliseconds(0));
    EXPECT_THROW(root->ReadFile(shape, true), Abandon);
    EXPECT_TRUE(root->Nodes().empty());
}

TEST_F(KeepAlive, ThrowingAbandonsTheWriteAndLeavesNoFile) {
    NodePtr root = readFileRecording(shape);
    int calls = 0;
    root->SetKeepAliveListener(
        [&calls] {
            if (++calls == 3) throw Abandon{};
        },
        std::chrono::milliseconds(0));
    EXPECT_THROW(root->SaveFile(dir / "out.s"), Abandon);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"big.s"});
}
