// The longest time the window goes without handling an event while it runs
// one shape: a timer on the window's thread ticks every 5 ms, and the largest
// time between two ticks from the run's start to its end is printed. With
// --view, then the time from the run's end to the view's first frame on
// screen ("View" clicked as the run ends); --grab also saves the view window
// as a PNG.
//
//   window_gaps [--min-edge-mm X] [--make-small-polys-visible] [--view [--grab FILE.png]] FILE
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/numbers.h"
#include "platform/platform.h"
#include "ui/frm_update.h"
#include "ui/shape_canvas.h"
#include "ui/view_window.h"

namespace {

// The window's services with no dialogs: the limits come from the command line.
class QuietPlatform final : public orvane::platform::FileDialog,
                            public orvane::platform::MsgBox,
                            public orvane::platform::InputBox,
                            public orvane::platform::SettingsStore,
                            public orvane::platform::BusyPointer,
                            public orvane::platform::Program {
public:
    std::string minEdgeSqr;

    std::optional<std::filesystem::path> openFile(const std::string&, const std::vector<orvane::platform::FileFilter>&,
                                                  const std::filesystem::path&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> saveFile(const std::string&, const std::vector<orvane::platform::FileFilter>&,
                                                  const std::filesystem::path&) override {
        return std::nullopt;
    }
    void showMessage(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
    }
    std::string inputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::string getSetting(const std::string&, const std::string&, const std::string& key,
                           const std::string& defaultText) override {
        return key == "minsqr" && !minEdgeSqr.empty() ? minEdgeSqr : defaultText;
    }
    void saveSetting(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    void setBusy(bool) override {}
    void endProgram() override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietPlatform platform;
    bool lift = false, view = false;
    const char* grab = nullptr;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--min-edge-mm") == 0 && i + 1 < argc) {
            const float metres = std::strtof(argv[++i], nullptr) / 1000.0f;
            platform.minEdgeSqr = orvane::formatSingle(metres * metres);
        } else if (std::strcmp(argv[i], "--make-small-polys-visible") == 0) {
            lift = true;
        } else if (std::strcmp(argv[i], "--view") == 0) {
            view = true;
        } else if (std::strcmp(argv[i], "--grab") == 0 && i + 1 < argc) {
            grab = argv[++i];
        } else {
            file = argv[i];
        }
    }
    if (!file) {
        std::fprintf(stderr, "usage: window_gaps [--min-edge-mm X] [--make-small-polys-visible] [--view [--grab FILE.png]] FILE\n");
        return 2;
    }

    auto* shown = new orvane::ui::frmUpdate(
        orvane::platform::Platform{platform, platform, platform, platform, platform, platform});
    orvane::ui::frmUpdate& window = *shown;
    window.show();
    if (lift) window.findChild<QWidget*>("chkPoly")->setProperty("checked", true);

    QElapsedTimer sinceTick, run;
    qint64 longest = 0, ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.restart());
        ++ticks;
    });
    QObject::connect(&window, &orvane::ui::frmUpdate::runEnded, [&] {
        longest = std::max(longest, sinceTick.elapsed());
        std::printf("run took %.2f s; %lld ticks; longest time without handling an event: %lld ms\n",
                    run.elapsed() / 1000.0, static_cast<long long>(ticks), static_cast<long long>(longest));
        QElapsedTimer opening;
        opening.start();
        if (view) {
            window.findChild<QPushButton*>("cmdView")->click();
            while (!window.view()->canvas().frameCurrent()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            std::printf("the view showed its first frame (%dx%d) %lld ms after the run's end\n",
                        window.view()->canvas().width(), window.view()->canvas().height(),
                        static_cast<long long>(opening.elapsed()));
            if (grab) window.view()->grab().save(QString::fromLocal8Bit(grab));
            // What the view keeps of every LOD, as read and as written, against the triangles read.
            std::size_t bytes = 0, triangles = 0;
            for (const auto& lod : window.view()->shape()->original) bytes += lod.bytesKept(), triangles += lod.triangles.size();
            for (const auto& lod : window.view()->shape()->repaired) bytes += lod.bytesKept();
            std::printf("the view keeps %.1f bytes a triangle read (%s)\n", triangles ? double(bytes) / double(triangles) : 0.0,
                        window.view()->shape()->hasRepaired() ? "as read and as written" : "as read");
        }
        QTimer::singleShot(0, [&] {
            QElapsedTimer closing;
            closing.start();
            delete shown;
            std::printf("closing the window with its report took %lld ms\n", static_cast<long long>(closing.elapsed()));
            QCoreApplication::exit(0);
        });
    });
    QTimer::singleShot(0, [&] {
        run.start();
        sinceTick.start();
        ticker.start(5);
        window.runFile(file);
    });
    return app.exec();
}
