#pragma once
// Stands in for the platform services: answers the dialogs from scripted
// replies and records what the window asked for, showed and stored.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvane::test {

class FakePlatform final : public platform::FileDialog,
                           public platform::MsgBox,
                           public platform::InputBox,
                           public platform::SettingsStore,
                           public platform::BusyPointer,
                           public platform::Program {
public:
    struct FileRequest {
        std::string title;
        std::vector<platform::FileFilter> filters;
        std::filesystem::path fileName;
    };
    struct InputRequest {
        std::string prompt;
        std::string title;
        std::string initialText;
    };
    struct Message {
        std::string text;
        std::string caption;
    };

    platform::Platform services() { return {*this, *this, *this, *this, *this, *this}; }

    // Scripted replies, used front first; none left means "cancelled".
    std::deque<std::optional<std::filesystem::path>> fileAnswers;
    std::deque<std::string> inputAnswers;
    // Called while a message box would be open.
    std::function<void()> whileMessageShown;
    std::deque<std::filesystem::path> saveAnswers;

    std::vector<FileRequest> fileRequests;
    std::vector<FileRequest> saveRequests;
    std::vector<InputRequest> inputRequests;
    std::vector<Message> messages;
    std::map<std::string, std::string> store;  // "app/section/key" -> text
    std::vector<std::string> savedKeys;        // keys in the order saved
    std::vector<bool> busyChanges;
    int endRequests = 0;

    static std::string storeKey(const std::string& key) { return "Pellicor/Orvane/" + key; }

    std::optional<std::filesystem::path> openFile(const std::string& title,
                                                  const std::vector<platform::FileFilter>& filters,
                                                  const std::filesystem::path& fileName) override {
        fileRequests.push_back({title, filters, fileName});
        if (fileAnswers.empty()) return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> saveFile(const std::string& title,
                                                  const std::vector<platform::FileFilter>& filters,
                                                  const std::filesystem::path& fileName) override {
        saveRequests.push_back({title, filters, fileName});
        if (saveAnswers.empty()) return std::nullopt;
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    void showMessage(const std::string& text, const std::string& caption) override {
        messages.push_back({text, caption});
        if (whileMessageShown) whileMessageShown();
    }
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& initialText) override {
        inputRequests.push_back({prompt, title, initialText});
        if (inputAnswers.empty()) return {};
        std::string answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::string getSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultText) override {
        auto found = store.find(app + "/" + section + "/" + key);
        return found == store.end() ? defaultText : found->second;
    }
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override {
        store[app + "/" + section + "/" + key] = value;
        savedKeys.push_back(key);
    }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void endProgram() override { ++endRequests; }
};

}  // namespace orvane::test
