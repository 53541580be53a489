#pragma once
// The platform services realised with Qt: QFileDialog, QMessageBox,
// QInputDialog, QSettings, the application's override cursor and its event
// loop.

#include <QPointer>
#include <QWidget>

#include "platform/platform.h"

namespace orvane::platform {

class QtPlatform final : public FileDialog,
                         public MsgBox,
                         public InputBox,
                         public SettingsStore,
                         public BusyPointer,
                         public Program {
public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;
    ~QtPlatform() override;

    // The window the dialogs belong to (they centre on it and block it).
    void setDialogParent(QWidget* parent) { parent_ = parent; }
    Platform services() { return Platform{*this, *this, *this, *this, *this, *this}; }

    std::optional<std::filesystem::path> openFile(const std::string& title, const std::vector<FileFilter>& filters,
                                                  const std::filesystem::path& fileName) override;
    std::optional<std::filesystem::path> saveFile(const std::string& title, const std::vector<FileFilter>& filters,
                                                  const std::filesystem::path& fileName) override;
    void showMessage(const std::string& text, const std::string& caption) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& initialText) override;
    std::string getSetting(const std::string& app, const std::string& section, const std::string& key,
                           const std::string& defaultText) override;
    void saveSetting(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) override;
    void setBusy(bool busy) override;
    void endProgram() override;

private:
    QPointer<QWidget> parent_;
    bool busy_ = false;
};

}  // namespace orvane::platform
