// The orvane program: the one window over the Qt platform services.

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "orvane_version.h"
#include "parent_console.h"
#include "platform/path_conversion.h"
#include "platform/qt_platform.h"
#include "ui/command_line.h"
#include "ui/frm_update.h"

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return args;
}

}  // namespace

int main(int argc, char* argv[]) {
    orvane::app::useParentConsole();
    // --help, --version and usage errors answer before any window system is needed.
    const orvane::ui::AppArguments early = orvane::ui::parseAppArguments(argumentsOf(argc, argv));
    if (early.help || early.version) {
        std::fputs(early.help ? orvane::ui::kAppUsage : "orvane " ORVANE_VERSION "\n", stdout);
        return 0;
    }
    if (!early.error.isEmpty()) {
        std::fprintf(stderr, "orvane: %s\n%s", early.error.toLocal8Bit().constData(), orvane::ui::kAppUsage);
        return 2;
    }
    if (const QString missing = orvane::ui::missingDisplayMessage(); !missing.isEmpty()) {
        std::fprintf(stderr, "orvane: %s", missing.toLocal8Bit().constData());
        return 1;
    }

    QApplication app(argc, argv);
    // The file again from what Qt's own options leave, as the system gave it (UTF-16 on Windows).
    const orvane::ui::AppArguments arguments = orvane::ui::parseAppArguments(QCoreApplication::arguments().mid(1));

    orvane::platform::QtPlatform qtPlatform;
    orvane::ui::frmUpdate window(qtPlatform.services());
    qtPlatform.setDialogParent(&window);
    window.show();
    if (!arguments.file.isEmpty()) {
        const auto file = orvane::platform::toPath(arguments.file);
        QTimer::singleShot(0, &window, [&window, file] { window.runFile(file); });
    }

    // ORVANE_GRAB_WINDOW=file.png saves a picture of the window just after it
    // opens and ends the program (for documentation).
    const QString grabTo = qEnvironmentVariable("ORVANE_GRAB_WINDOW");
    if (!grabTo.isEmpty()) {
        QTimer::singleShot(500, &window, [&window, grabTo] {
            const bool saved = window.grab().save(grabTo);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}
