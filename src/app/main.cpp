// The orvane program: the one window over the Qt platform services.

#include <QApplication>
#include <QTimer>

#include "platform/qt_platform.h"
#include "ui/frm_update.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    orvane::platform::QtPlatform qtPlatform;
    orvane::ui::frmUpdate window(qtPlatform.services());
    qtPlatform.setDialogParent(&window);
    window.show();

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
