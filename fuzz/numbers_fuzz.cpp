// Any text typed into an edit or given on the command line: the window's two
// conversions and the command line's value parser either refuse it or give a
// finite number, and "%G" output always reads back.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cliargs.h"
#include "quantities/numberformat.h"

#ifdef QT_CORE_LIB
#include <QLocale>
#include <QString>
#endif

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "numbers_fuzz: %s for '%s'\n", what, text.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // First conversion: whole-text, "." based.
    if (const auto value = ParseWholeNumber(text)) {
        if (!std::isfinite(*value)) Fail("non-finite number accepted", text);
        const std::string shown = FormatG(*value);
        const auto back = ParseWholeNumber(shown);
        if (!back) Fail("%G output does not read back", shown);
        if (std::fabs(*back - *value) > 5e-6 * std::fabs(*value) + 1e-300) Fail("%G lost more than six digits", text);
        (void)FormatSettingsNumber(*value);
    }
    (void)ParseWholeInteger(text);

#ifdef QT_CORE_LIB
    // Second conversion: the user's locale, comma as decimal separator included.
    static const QLocale german(QLocale::German, QLocale::Germany);
    const QString q = QString::fromUtf8(text.data(), static_cast<int>(text.size())).trimmed();
    bool ok = false;
    const double localeValue = german.toDouble(q, &ok);
    if (ok && std::isfinite(localeValue)) (void)FormatG(localeValue);
    (void)QLocale::c().toDouble(q, &ok);
#endif

    // The command line's value with unit, for every kind of quantity.
    for (Quantity q : {Quantity::Length, Quantity::Frequency, Quantity::Angle, Quantity::Conductivity,
                       Quantity::Impedance, Quantity::Plain}) {
        try {
            const double value = ParseQuantity(text, q);
            if (!std::isfinite(value)) Fail("non-finite command-line value", text);
        } catch (const UsageError&) {
        }
    }
    return 0;
}
