#include "ui/fontreader.h"

#include <QFontDatabase>
#include <QStringList>
#include <dlfcn.h>

namespace {

// FcInit of the fontconfig the toolkit was linked with, looked up among the
// libraries already loaded: the program itself does not link fontconfig.
using FcInitFunction = int (*)();

void ReadFonts(std::future<bool> application) {
    if (const auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        fcInit();
    if (application.get()) QFontDatabase::families(); // fills the toolkit's font list
}

} // namespace

FontReader::FontReader() : reader_(ReadFonts, application_.get_future()) {}

FontReader::~FontReader() {
    if (reader_.joinable()) {
        try {
            application_.set_value(false);
        } catch (const std::future_error&) { // already told
        }
        reader_.join();
    }
}

void FontReader::ApplicationCreated() {
    application_.set_value(true);
}

void FontReader::Wait() {
    if (reader_.joinable()) reader_.join();
}
