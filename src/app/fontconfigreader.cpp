#include "app/fontconfigreader.h"

#include <dlfcn.h>

namespace {

// FcInit of the fontconfig the toolkit was linked with, looked up among the
// libraries already loaded: the program itself does not link fontconfig.
using FcInitFunction = int (*)();

FcInitFunction LoadedFcInit() {
    return reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit"));
}

} // namespace

FontConfigurationReader::FontConfigurationReader() {
    if (const FcInitFunction fcInit = LoadedFcInit()) reader_ = std::thread(fcInit);
}

FontConfigurationReader::~FontConfigurationReader() {
    Wait();
}

void FontConfigurationReader::Wait() {
    if (reader_.joinable()) reader_.join();
}
