#pragma once
// The services the window takes from its surroundings: the file-open
// dialog, the message box, the input box, the per-user settings store, the
// busy pointer and ending the program. Plain C++ interfaces, so that tests
// can stand in for them; qt_platform.h holds the real ones.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane::platform {

// One entry of a file dialog's type list, e.g. {"MSTS Model", "*.s"}.
struct FileFilter {
    std::string name;
    std::string pattern;
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Asks for an existing file, starting at fileName (a bare pattern such
    // as "*.s", or a path). None when the user cancels.
    virtual std::optional<std::filesystem::path> openFile(const std::string& title,
                                                          const std::vector<FileFilter>& filters,
                                                          const std::filesystem::path& fileName) = 0;
    // Asks for a file to write, suggesting fileName (a path). None when the
    // user cancels.
    virtual std::optional<std::filesystem::path> saveFile(const std::string& title,
                                                          const std::vector<FileFilter>& filters,
                                                          const std::filesystem::path& fileName) = 0;
};

class MsgBox {
public:
    virtual ~MsgBox() = default;
    // A modal message with an OK button only; "\r" separates lines of text.
    virtual void showMessage(const std::string& text, const std::string& caption) = 0;
};

class InputBox {
public:
    virtual ~InputBox() = default;
    // A modal text entry; returns the entered text, or empty text when the
    // user cancels.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& initialText) = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The text stored under app / section / key, or defaultText when none is.
    virtual std::string getSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& defaultText) = 0;
    virtual void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
};

class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    // Shows the application-wide busy pointer, or puts the default one back.
    virtual void setBusy(bool busy) = 0;
};

class Program {
public:
    virtual ~Program() = default;
    // Ends the program once the handler that asks for it has returned.
    virtual void endProgram() = 0;
};

// The services one window uses; the window does not own them.
struct Platform {
    FileDialog& fileDialog;
    MsgBox& msgBox;
    InputBox& inputBox;
    SettingsStore& settings;
    BusyPointer& busyPointer;
    Program& program;
};

}  // namespace orvane::platform
