// tavrel: the calculator's window.
#include <QAccessible>
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/fontreader.h"
#include "ui/messagebox.h"
#include "ui/sessionbus.h"
#include "ui/startup.h"
#include "ui/tform1.h"

namespace {

// The last net under the event loop: an error that escapes an event (every
// handler of the window catches its own) is shown, and the loop goes on,
// since Qt cannot carry an exception through it.
class TavrelApplication : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            ShowMessageBox(nullptr, BoxKind::Error, QStringLiteral("Error"),
                           CurrentExceptionMessage());
            return false;
        }
    }
};

const char* const kUsage =
    "usage: tavrel [--help | --version] [Qt options]\n"
    "\n"
    "Opens the transmission-line calculator window.  Settings are kept in\n"
    "tavrel.ini beside the program when that folder is writable, otherwise in\n"
    "$XDG_CONFIG_HOME/tavrel/tavrel.ini (~/.config/tavrel/tavrel.ini).\n"
    "The same line models run without a window: see tavrel-calc --help.\n";

// 0 when everything printed reached standard output (not a full disk or a
// closed pipe), else 1.
int WrittenOut() {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0 ? 0 : 1;
}

// --help and --version are answered before the toolkit starts, so that they
// work without a display.  Returns the exit status, or -1 to go on.
int AnswerInformationOption(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("tavrel %s\n", TAVREL_VERSION);
            return WrittenOut();
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return WrittenOut();
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (const int status = AnswerInformationOption(argc, argv); status >= 0) return status;
    NameUnreachableSessionBus(); // before the first thread
    FontReader fonts;            // meanwhile, on a second thread
    TavrelApplication application(argc, argv);
    fonts.ApplicationCreated();
    QApplication::setApplicationName(QStringLiteral("Tavrel"));
    InstallApplicationStyle();
    // The platform's accessibility bridge, which the window's first control
    // would start, connects to its message bus now, while the fonts are read.
    QAccessible::isActive();
    fonts.Wait();

    // A line model that cannot be built (the coplanar library missing) leaves
    // no window to run: the user is told why, and the program ends.
    const std::unique_ptr<TForm1> window =
        CreateMainWindow([] { return std::make_unique<TForm1>(); }, stderr);
    if (!window) return 1;
    window->show();
    return QApplication::exec();
}
