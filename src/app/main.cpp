// tavrel: the calculator's window.
#include <QApplication>
#include <memory>

#include "ui/messagebox.h"
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

} // namespace

int main(int argc, char** argv) {
    TavrelApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrel"));

    // A line model that cannot be built (the coplanar library missing) leaves
    // no window to run: the user is told why, and the program ends.
    const std::unique_ptr<TForm1> window =
        CreateMainWindow([] { return std::make_unique<TForm1>(); }, stderr);
    if (!window) return 1;
    window->show();
    return QApplication::exec();
}
