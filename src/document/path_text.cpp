#include "document/path_text.h"

#include <algorithm>

#include "document/utf16.h"

namespace orvane {

#ifdef _WIN32

std::string pathText(const std::filesystem::path& path) {
    const std::wstring& native = path.native();
    return toUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(native.data()), native.size()));
}

std::filesystem::path pathFromText(std::string_view text) {
    const std::u16string units = toUtf16(text);
    return std::filesystem::path(std::wstring(units.begin(), units.end()));
}

std::filesystem::path systemPath(const std::filesystem::path& path) {
    // From 260 characters on a path fails in the classic calls unless the
    // system allows long paths; the \\?\ form always works but must be
    // absolute, normal and use backslashes only.
    constexpr std::size_t kClassicLimit = 259;
    if (path.native().starts_with(L"\\\\?\\")) return path;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    if (ec || full.native().size() < kClassicLimit) return path;
    std::wstring text = full.lexically_normal().native();
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    if (text.starts_with(L"\\\\")) return std::filesystem::path(L"\\\\?\\UNC\\" + text.substr(2));
    return std::filesystem::path(L"\\\\?\\" + text);
}

#else

std::string pathText(const std::filesystem::path& path) { return path.native(); }

std::filesystem::path pathFromText(std::string_view text) { return std::filesystem::path(std::string(text)); }

std::filesystem::path systemPath(const std::filesystem::path& path) { return path; }

#endif

std::string genericPathText(const std::filesystem::path& path) {
    std::string text = pathText(path);
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '\\', '/');
#endif
    return text;
}

}  // namespace orvane
