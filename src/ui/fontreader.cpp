#include "ui/fontreader.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <dlfcn.h>

namespace {

// FcInit of the fontconfig the toolkit was linked with, looked up among the
// libraries already loaded: the program itself does not link fontconfig.
using FcInitFunction = int (*)();

void ReadFonts(std::future<std::optional<QList<QFont>>> application) {
    if (const auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        fcInit();
    const std::optional<QList<QFont>> measured = application.get();
    if (!measured) return;
    QFontDatabase::families(); // fills the toolkit's font list
    for (const QFont& font : *measured)
        QFontMetrics(font).height();
}

} // namespace

FontReader::FontReader() : reader_(ReadFonts, application_.get_future()) {}

FontReader::~FontReader() {
    if (reader_.joinable()) {
        try {
            application_.set_value(std::nullopt);
        } catch (const std::future_error&) { // already told
        }
        reader_.join();
    }
}

void FontReader::ApplicationCreated(const QList<QFont>& measured) {
    application_.set_value(measured);
}

void FontReader::Wait() {
    if (reader_.joinable()) reader_.join();
}
