// The shared library as the line models meet it: found by its file name,
// exporting QRX_CPW1 under that undecorated name, and fast.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "cpwcall.h"

namespace {

// Set by tests/cpwlib/CMakeLists.txt from $<TARGET_FILE:cpw_for_tavrel>.
const std::string kLibraryPath = CPW_FOR_TAVREL_PATH;

TEST(CpwLibrary, FileIsNamedCpwForTavrel) {
    const std::string name = kLibraryPath.substr(kLibraryPath.find_last_of('/') + 1);
    EXPECT_EQ(name, "CPW for Tavrel.so");
}

TEST(CpwLibrary, LoadsByPathAndExportsTheEntryPoint) {
    void* handle = dlopen(kLibraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    const auto entry = reinterpret_cast<QRX_CPW1_Function>(dlsym(handle, "QRX_CPW1"));
    ASSERT_NE(entry, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "QRX_CPW_Validity"), nullptr) << dlerror();
    // The formulas stay private: nothing but the entry points is exported.
    EXPECT_EQ(dlsym(handle, "_ZN6cpwlib13EllipticRatioERKNS_7ModulusE"), nullptr);

    CpwInputs in;
    in.thickness = 2e-6;
    in.lossTangent = 1e-3;
    in.frequency = 20e9;
    for (int ground : {0, 1}) {
        in.groundPlane = ground;
        const CpwOutputs loaded = CallCpw(in, entry);
        const CpwOutputs linked = CallCpw(in);
        ASSERT_EQ(loaded.status, QRX_CPW_OK);
        EXPECT_EQ(loaded.impedance, linked.impedance);
        EXPECT_EQ(loaded.eeff, linked.eeff);
        EXPECT_EQ(loaded.loss, linked.loss);
    }
    dlclose(handle);
}

TEST(CpwLibrary, CallTakesWellUnderTenMicroseconds) {
    // The synthesis scan calls the library some dozens of times per click.
    CpwInputs in;
    in.thickness = 2e-6;
    in.lossTangent = 1e-3;
    in.frequency = 20e9;
    constexpr int kCalls = 20000;
    double sink = 0.0;
    // Processor time, so that a busy machine's scheduling does not count.
    const std::clock_t start = std::clock();
    for (int i = 0; i < kCalls; ++i) {
        in.width = 0.1e-3 + 1e-9 * (i % 1000);
        in.groundPlane = i & 1;
        sink += CallCpw(in).impedance;
    }
    const double microseconds = 1e6 * double(std::clock() - start) / CLOCKS_PER_SEC / kCalls;
    EXPECT_GT(sink, 0.0);
    EXPECT_LT(microseconds, 10.0) << "microseconds per call";
    RecordProperty("microseconds_per_call", std::to_string(microseconds));
}

} // namespace
