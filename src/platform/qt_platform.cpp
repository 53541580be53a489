#include "platform/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QSettings>

#include "platform/path_conversion.h"

namespace orvane::platform {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }
std::string toUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// The store is addressed by application and section; QSettings files it
// under an organisation of the same name as the application, in the
// default format: the system's own store (the registry on Windows) unless
// the tests chose INI files.
class SettingsSection {
public:
    SettingsSection(const std::string& app, const std::string& section)
        : settings_(QSettings::defaultFormat(), QSettings::UserScope, fromUtf8(app), fromUtf8(app)) {
        settings_.beginGroup(fromUtf8(section));
    }
    QSettings& operator*() { return settings_; }
    QSettings* operator->() { return &settings_; }

private:
    QSettings settings_;
};

// Qt's file dialog saves its history and last folder when it closes, under
// the organisation "QtProject" that every Qt program of the user shares (on
// Windows HKCU\Software\QtProject\OrganizationDefaults\FileDialog). This
// program keeps its own last folder, so while one lives the dialog's
// entries are put back as they were before: Orvane leaves nothing there that
// an uninstaller would have to tell from another program's.
class SharedDialogSettingsKept {
public:
    SharedDialogSettingsKept() {
        QSettings settings(QSettings::UserScope, kOrganisation);
        existed_ = settings.childGroups().contains(kGroup);
        settings.beginGroup(kGroup);
        for (const QString& key : settings.allKeys()) values_.insert(key, settings.value(key));
    }
    ~SharedDialogSettingsKept() {
        QSettings settings(QSettings::UserScope, kOrganisation);
        settings.remove(kGroup);
        if (!existed_) return;
        settings.beginGroup(kGroup);
        for (auto it = values_.cbegin(); it != values_.cend(); ++it) settings.setValue(it.key(), it.value());
    }
    SharedDialogSettingsKept(const SharedDialogSettingsKept&) = delete;
    SharedDialogSettingsKept& operator=(const SharedDialogSettingsKept&) = delete;

private:
    static inline const QString kOrganisation = QStringLiteral("QtProject");
    static inline const QString kGroup = QStringLiteral("FileDialog");
    bool existed_ = false;
    QVariantMap values_;
};

}  // namespace

QtPlatform::~QtPlatform() {
    if (busy_) QApplication::restoreOverrideCursor();
}

std::optional<std::filesystem::path> QtPlatform::openFile(const std::string& title,
                                                          const std::vector<FileFilter>& filters,
                                                          const std::filesystem::path& fileName) {
    const SharedDialogSettingsKept kept;
    QFileDialog dialog(parent_, fromUtf8(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    QStringList nameFilters;
    for (const FileFilter& filter : filters)
        nameFilters << fromUtf8(filter.name) + " (" + fromUtf8(filter.pattern) + ")";
    dialog.setNameFilters(nameFilters);
    const QFileInfo start(toQString(fileName));
    if (fileName.has_parent_path() && start.absoluteDir().exists()) dialog.setDirectory(start.absoluteDir());
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return toPath(chosen.front());
}

std::optional<std::filesystem::path> QtPlatform::saveFile(const std::string& title,
                                                          const std::vector<FileFilter>& filters,
                                                          const std::filesystem::path& fileName) {
    QStringList nameFilters;
    for (const FileFilter& filter : filters)
        nameFilters << fromUtf8(filter.name) + " (" + fromUtf8(filter.pattern) + ")";
    const SharedDialogSettingsKept kept;
    const QString chosen =
        QFileDialog::getSaveFileName(parent_, fromUtf8(title), toQString(fileName), nameFilters.join(";;"));
    if (chosen.isEmpty()) return std::nullopt;
    return toPath(chosen);
}

void QtPlatform::showMessage(const std::string& text, const std::string& caption) {
    QString lines = fromUtf8(text);
    lines.replace("\r\n", "\n");
    lines.replace('\r', '\n');
    QMessageBox box(QMessageBox::NoIcon, fromUtf8(caption), lines, QMessageBox::Ok, parent_);
    box.exec();
}

std::string QtPlatform::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& initialText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, fromUtf8(title), fromUtf8(prompt), QLineEdit::Normal, fromUtf8(initialText), &ok);
    return ok ? toUtf8(text) : std::string();
}

std::string QtPlatform::getSetting(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& defaultText) {
    SettingsSection settings(app, section);
    return toUtf8(settings->value(fromUtf8(key), fromUtf8(defaultText)).toString());
}

void QtPlatform::saveSetting(const std::string& app, const std::string& section, const std::string& key,
                             const std::string& value) {
    SettingsSection settings(app, section);
    settings->setValue(fromUtf8(key), fromUtf8(value));
}

void QtPlatform::setBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtPlatform::endProgram() { QCoreApplication::exit(0); }

}  // namespace orvane::platform
