#include "ui/startup.h"

#include "ui/messagebox.h"

std::unique_ptr<TForm1> CreateMainWindow(const std::function<std::unique_ptr<TForm1>()>& create,
                                         std::FILE* errors) {
    try {
        return create();
    } catch (...) {
        const QString message = CurrentExceptionMessage();
        std::fprintf(errors, "tavrel: %s\n", message.toLocal8Bit().constData());
        std::fflush(errors);
        ShowMessageBox(nullptr, BoxKind::Error, QStringLiteral("TAVREL 2003"), message);
        return nullptr;
    }
}
