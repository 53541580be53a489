// Paths as UTF-8 text and back, and the form handed to the system's calls.

#include <gtest/gtest.h>

#include "document/path_text.h"

using namespace orvane;

TEST(PathText, NonAsciiNamesRoundTripThroughUtf8) {
    const std::string text = "Ünïcödé/модель 模型.s";
    const std::filesystem::path path = pathFromText(text);
    EXPECT_EQ(pathText(path), text);
    EXPECT_EQ(pathText(path.filename()), "модель 模型.s");
#ifdef _WIN32
    EXPECT_EQ(path.filename().native(), L"\u043C\u043E\u0434\u0435\u043B\u044C \u6A21\u578B.s");
    // A lone surrogate, allowed in Windows names, survives too.
    const std::filesystem::path odd(std::wstring{L'a', wchar_t(0xD800), L'b'});
    EXPECT_EQ(pathFromText(pathText(odd)), odd);
#endif
}

TEST(PathText, OnlyLongPathsTakeTheExtendedForm) {
    const std::filesystem::path shortPath = std::filesystem::absolute("model.s");
    EXPECT_EQ(systemPath(shortPath), shortPath);
    const std::filesystem::path longPath = shortPath.parent_path() / std::string(150, 'a') / ".." /
                                           std::string(150, 'b') / "model.s";
#ifdef _WIN32
    const std::wstring expected = L"\\\\?\\" + (shortPath.parent_path() / std::string(150, 'b') / "model.s")
                                                   .lexically_normal()
                                                   .make_preferred()
                                                   .native();
    EXPECT_EQ(systemPath(longPath).native(), expected);
    EXPECT_EQ(systemPath(systemPath(longPath)), systemPath(longPath));
#else
    EXPECT_EQ(systemPath(longPath), longPath);
#endif
}
