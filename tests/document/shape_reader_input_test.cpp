// What the reader accepts as a shape file, and what it refuses: every bad
// input leaves an empty root and never crashes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sys/resource.h>
#endif

#include "document/cls_reader.h"
#include "support/tree_helpers.h"
#include "support/shape_files.h"
#include "generator/shape_generator.h"

using namespace orvane;
using namespace orvane::test;

namespace {

void expectUnread(const clsReader& root) {
    EXPECT_TRUE(root.Nodes().empty());
    EXPECT_TRUE(root.Strings().empty());
}

class ShapeReaderInput : public ::testing::Test {
protected:
    NodePtr readBytesAsShape(const std::string& bytes) {
        writeBytes(dir_ / "input.s", bytes);
        return readFileRecording(dir_ / "input.s");
    }
    TempDir dir_;
};

TEST_F(ShapeReaderInput, HeaderLineIsKeptAndAnythingAfterTwelveCharactersIsAccepted) {
    const std::string header = "SIMISA@@@@@@ \xC3\xA4 anything at all";
    NodePtr root = readBytesAsShape(utf16Bytes(header + "\r\nshape ( a ( ) )"));
    EXPECT_EQ(root->Header(), header);
    EXPECT_EQ(root->Nodes().size(), 1u);
}

TEST_F(ShapeReaderInput, ByteOrderMarkAndCarriageReturnAreOptional) {
    for (const std::string& bytes : {utf16Bytes("SIMISA@@@@@@x\nshape ( a ( ) )", false),
                                     utf16Bytes("SIMISA@@@@@@x\r\nshape ( a ( ) )", false),
                                     utf16Bytes("SIMISA@@@@@@x\nshape ( a ( ) )", true)}) {
        NodePtr root = readBytesAsShape(bytes);
        EXPECT_EQ(root->Header(), "SIMISA@@@@@@x");
        EXPECT_EQ(root->Name, "shape");
        EXPECT_EQ(root->Nodes().size(), 1u);
    }
}

TEST_F(ShapeReaderInput, WrongHeaderLeavesEmptyListsButKeepsTheLine) {
    NodePtr root = readBytesAsShape(utf16Bytes("simisa@@@@@@\r\nshape ( a ( ) )"));
    expectUnread(*root);
    EXPECT_EQ(root->Header(), "simisa@@@@@@");
    // A compressed shape: a different header, then binary data.
    root = readBytesAsShape(utf16Bytes("SIMISA@F\x01\x02\r\n") + std::string("\x78\x9c\x00\xff\x13\x37", 6));
    expectUnread(*root);
    EXPECT_EQ(root->Header().substr(0, 8), "SIMISA@F");
}

// 8-bit text reads (see the shape forms tests); UTF-8 with its mark does not.
TEST_F(ShapeReaderInput, Utf8TextIsRefused) {
    const std::string text = std::string(kHeader) + "\r\nshape ( a ( ) )";
    EXPECT_EQ(readBytesAsShape(text)->Nodes().size(), 1u);
    expectUnread(*readBytesAsShape("\xEF\xBB\xBF" + text));
}

TEST_F(ShapeReaderInput, FilesWithoutTextAreRefused) {
    expectUnread(*readBytesAsShape(""));
    expectUnread(*readBytesAsShape("\xFF\xFE"));
    expectUnread(*readBytesAsShape("\xFF"));
    expectUnread(*readBytesAsShape(utf16Bytes(std::string(kHeader))));
    expectUnread(*readBytesAsShape(utf16Bytes(std::string(kHeader) + "\r\n")));
}

TEST_F(ShapeReaderInput, OddNumberOfBytesIsRefused) {
    NodePtr root = readBytesAsShape(utf16Bytes(std::string(kHeader) + "\r\nshape ( a ( ) )") + "x");
    expectUnread(*root);
    EXPECT_TRUE(root->Name.empty());
}

TEST_F(ShapeReaderInput, BodiesWithoutABlockAreRefused) {
    for (const std::string body : {"no parenthesis at all", "   \r\n\t (", " ( a ( ) )", "shape ) a ) ",
                                   "shape ( a ( \"unclosed ) )", "shape ( a ( 1 \""}) {
        NodePtr root = readShape(body);
        expectUnread(*root);
        EXPECT_TRUE(root->Name.empty()) << body;
    }
}

TEST_F(ShapeReaderInput, RefusedFilesSayWhatWasFound) {
    const std::string header = std::string(kHeader) + "\r\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "empty file"},
        {"\xFF\xFE", "empty file: nothing but the byte-order mark"},
        {"plain 8-bit text, not a shape", "not a shape: it starts with \"plain 8-bit text\""},
        {"\x01" "ab\x7F\xC3\xA4", "not a shape: it starts with \".ab...\""},
        {utf16Bytes("Hello\tUTF-16 text that is no shape"), "not a shape: it starts with \"Hello.UTF-16 tex\""},
        {utf16Bytes("hi", false), "not a shape: it starts with \"hi\""},
        {utf16Bytes(header + "shape ( a ( ) )") + "x",
         "an odd number of bytes: it ends in the middle of a UTF-16 character"},
        {utf16Bytes(header + "no parenthesis"), "no block: the text after the header line holds no \"(\""},
        {utf16Bytes(header + "\r\n  ( a ( ) )"), "no block name before the first \"(\" at line 3"},
        {utf16Bytes(header + "shape (\r\n a ( \"open ) )"), "a quoted value at line 3 has no closing quotation mark"},
    };
    for (const auto& [bytes, found] : cases) {
        NodePtr root = readBytesAsShape(bytes);
        expectUnread(*root);
        EXPECT_EQ(root->ReadFound(), found);
        EXPECT_TRUE(root->ReadProblem().empty());
    }
}

TEST_F(ShapeReaderInput, MissingFileAndFolderLeaveEmptyRootAndSayWhy) {
    NodePtr root = readFileRecording(dir_ / "missing.s");
    expectUnread(*root);
    EXPECT_EQ(root->OpenError(), std::errc::no_such_file_or_directory);
    root = readFileRecording(dir_.path());
    expectUnread(*root);
    EXPECT_EQ(root->OpenError(), std::errc::is_a_directory);
    // A file that opens but is no shape text has no such reason.
    writeBytes(dir_ / "plain.s", "SIMISA@@@@@@ in 8-bit text");
    root->ReadFile(dir_ / "plain.s", true);
    expectUnread(*root);
    EXPECT_FALSE(root->OpenError());
}

TEST_F(ShapeReaderInput, FailedReadReplacesWhatTheRootHeld) {
    writeShape(dir_ / "good.s", "shape ( a ( ) )");
    writeShape(dir_ / "bad.s", "shape ( a ( \"x ) )");
    NodePtr root = readFileRecording(dir_ / "good.s");
    ASSERT_EQ(root->Nodes().size(), 1u);
    root->ReadFile(dir_ / "bad.s", true);
    expectUnread(*root);
    EXPECT_TRUE(root->Name.empty());
}

TEST_F(ShapeReaderInput, NestingOfAThousandLevelsReadsAndOneMoreDoesNot) {
    auto nested = [](int levels) {
        std::string body;
        for (int i = 0; i < levels; ++i) body += "b ( ";
        for (int i = 0; i < levels; ++i) body += ") ";
        return body;
    };
    NodePtr root = readShape(nested(kMaxNestingDepth));
    int depth = 1;
    for (const clsReader* node = root.get(); !node->Nodes().empty(); node = node->Nodes()[0].get()) ++depth;
    EXPECT_EQ(depth, kMaxNestingDepth);

    root = readShape(nested(kMaxNestingDepth + 1));
    expectUnread(*root);
    EXPECT_TRUE(root->Name.empty());
}

TEST_F(ShapeReaderInput, TenMillionOpeningParenthesesAreRefused) {
    NodePtr root = readShape("shape " + std::string(10'000'000, '('));
    expectUnread(*root);
}

TEST_F(ShapeReaderInput, PathWithNonAsciiCharactersReadsAndWrites) {
    const std::filesystem::path folder = dir_.path() / std::filesystem::u8path("Modelle \xC3\xBC \xE5\xBD\xA2");
    std::filesystem::create_directory(folder);
    const std::filesystem::path file = folder / std::filesystem::u8path("Sch\xC3\xA4" "del.s");
    writeShape(file, "shape ( a ( 1 ) )");
    NodePtr root = readFileRecording(file);
    ASSERT_EQ(root->Nodes().size(), 1u);
    const std::filesystem::path out = folder / std::filesystem::u8path("Sch\xC3\xA4" "del.sfixed");
    root->SaveFile(out);
    EXPECT_TRUE(treeDifference(*root, *readFileRecording(out)).empty());
}

struct ListenerStop {
    int atEvent;
};

TEST_F(ShapeReaderInput, ExceptionOfTheProgressListenerPassesThroughUnchanged) {
    std::string body = "shape (";
    for (int i = 0; i < 20; ++i) body += " b ( 1 2 3 )";
    writeShape(dir_ / "many.s", body + " )");
    NodePtr root = clsReader::create();
    int calls = 0;
    root->SetProgressListener([&](float) {
        if (++calls == 3) throw ListenerStop{3};
    });
    try {
        root->ReadFile(dir_ / "many.s", true);
        FAIL() << "the listener's exception was swallowed";
    } catch (const ListenerStop& stop) {
        EXPECT_EQ(stop.atEvent, 3);
    }
    EXPECT_EQ(calls, 3);

    root->SetProgressListener([](float) { throw std::bad_alloc(); });
    EXPECT_THROW(root->ReadFile(dir_ / "many.s", true), std::bad_alloc);
}

}  // namespace

namespace {

// Every child's Parent is the node that holds it.
bool parentsConsistent(const NodePtr& root) {
    std::vector<NodePtr> pending{root};
    while (!pending.empty()) {
        NodePtr node = pending.back();
        pending.pop_back();
        for (const NodePtr& child : node->Nodes()) {
            if (child->Parent() != node) return false;
            pending.push_back(child);
        }
    }
    return true;
}

// Damaged copies of a real-looking shape: parentheses and quotes dropped or
// added, text cut short, characters changed. None may crash the reader;
// whatever reads has consistent Parent links and can be written and read.
TEST(ShapeReaderDamagedInput, NeverCrashes) {
    ShapeParameters params;
    params.triangles = 60;
    params.animation = GeneratedAnimation::Frames;
    const std::string body = generateShapeBody(params);
    std::mt19937 random(7);
    TempDir dir;
    int readable = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damaged = body;
        for (int edit = 0; edit < 1 + round % 5; ++edit) {
            const std::size_t at = random() % damaged.size();
            switch (random() % 5) {
                case 0: damaged.insert(at, 1, "()\"("[random() % 4]); break;
                case 1: damaged.erase(at, 1); break;
                case 2: damaged.resize(at + 1); break;
                case 3: damaged[at] = static_cast<char>(random() % 128); break;
                default: damaged.insert(at, std::string(random() % 3000, '(')); break;
            }
        }
        writeShape(dir / "damaged.s", damaged);
        NodePtr root = readFileRecording(dir / "damaged.s");
        if (root->Nodes().empty()) continue;
        ++readable;
        EXPECT_TRUE(parentsConsistent(root)) << "round " << round;
        root->SaveFile(dir / "again.s");
        EXPECT_EQ(readFileRecording(dir / "again.s")->Name, root->Name) << "round " << round;
    }
    // Cut-off copies are refused, so fewer read than are damaged.
    EXPECT_GT(readable, 60);
}

}  // namespace

namespace {

#if !defined(__SANITIZE_ADDRESS__) && defined(__linux__)
// Reads path with the address space capped a little above what the
// process already uses; exit code 0 when the root came out empty.
[[noreturn]] void readWithLittleMemory(const std::filesystem::path& path) {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = static_cast<rlim_t>(pages) * 4096 + (rlim_t{40} << 20);
    const rlimit limit{cap, cap};
    setrlimit(RLIMIT_AS, &limit);
    NodePtr root = clsReader::create();
    root->ReadFile(path, true);
    std::exit(root->Nodes().empty() && root->Name.empty() ? 0 : 1);
}

// Running out of memory while the tree is built makes the file unreadable
// instead of ending the program (checked in a child process).
TEST(ShapeReaderMemory, ExhaustionLeavesAnEmptyRoot) {
    TempDir dir;
    std::string body = "shape ( big (";
    for (int i = 0; i < 3'000'000; ++i) body += " 1";
    writeShape(dir / "big.s", body + " ) )");
    EXPECT_EXIT(readWithLittleMemory(dir / "big.s"), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
