// Arbitrary bytes as a settings file: every key of every section can be read,
// a key written back reads back, nothing else in the file changes, and the
// file object survives files of any shape.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "ui/initext.h"
#include "ui/settingsfile.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings_fuzz: %s\n", what);
    std::abort();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string Trim(std::string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    return text.substr(first);
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool SameName(const std::string& a, const std::string& b) { return Lower(Trim(a)) == Lower(Trim(b)); }

// Section and key names as a reader of the file sees them: a header is a line
// that starts with "[" and holds a "]" (the name runs to the last one), a key
// line one with "=" inside a section that is not a comment.
std::vector<std::pair<std::string, std::string>> Entries(const std::string& content) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::string section;
    bool inSection = false;
    std::size_t begin = 0;
    while (begin < content.size()) {
        std::size_t end = content.find('\n', begin);
        if (end == std::string::npos) end = content.size();
        const std::string line = content.substr(begin, end - begin);
        const std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[' && trimmed.rfind(']') != std::string::npos) {
            section = Trim(trimmed.substr(1, trimmed.rfind(']') - 1));
            inSection = true;
        } else if (inSection && !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' &&
                   line.find('=') != std::string::npos) {
            entries.emplace_back(section, Trim(line.substr(0, line.find('='))));
        }
        begin = end + 1;
    }
    return entries;
}

std::string TempPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/settings_fuzz_XXXXXX";
        if (mkdtemp(folder) == nullptr) Fail("mkdtemp");
        return std::string(folder) + "/tavrel.ini";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider fdp(data, size);
    const bool throughFile = fdp.ConsumeBool();
    const std::string newValue = fdp.ConsumeRandomLengthString(24);
    const std::string content = fdp.ConsumeRemainingBytesAsString();

    const auto entries = Entries(content);
    for (const auto& [section, key] : entries) {
        if (!FindIniSection(content, section)) Fail("a section of the file is not found");
        (void)FindIniValue(content, section, key);
    }

    // Write one key (an existing one when there is any, else a new one).
    const std::string section = entries.empty() ? "Fuzz Section" : entries.front().first;
    const std::string key = entries.empty() ? "Fuzz Key" : entries.back().second;
    if (IsWritableIniEntry(section, key, newValue) && FindIniSection(content, section)) {
        const std::string written = WithIniValue(content, section, key, newValue);
        const auto back = FindIniValue(written, section, key);
        std::string trimmed = newValue;
        trimmed = Trim(trimmed);
        if (!back || *back != trimmed) Fail("a written key does not read back");
        if (WithIniValue(written, section, key, newValue) != written) Fail("writing the same value twice changed the file");
        // Everything else reads as before.
        for (const auto& [otherSection, otherKey] : entries) {
            if (SameName(otherSection, section) && SameName(otherKey, key)) continue;
            const auto before = FindIniValue(content, otherSection, otherKey);
            const auto after = FindIniValue(written, otherSection, otherKey);
            const bool sameEntry = FindIniSection(content, otherSection)->bodyBegin ==
                                   FindIniSection(content, section)->bodyBegin;
            if (!sameEntry && before != after) Fail("another key changed its value");
        }
    }

    if (throughFile) {
        const std::string path = TempPath();
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(content.data(), 1, content.size(), f);
            std::fclose(f);
        }
        SettingsFile file;
        file.SetFileName(path);
        for (const auto& [s, k] : entries) {
            file.SelectSection(s);
            int i = 0;
            double d = 0.0;
            std::string text;
            file.ReadInteger(k, i);
            if (file.ReadDouble(k, d) && !std::isfinite(d)) Fail("a non-finite number was read");
            file.ReadText(k, text);
            if (text.size() > 62) Fail("a read returned more than 62 characters");
        }
        file.SelectSection("Microstrip Line");
        if (file.WriteDouble("Width", 0.000127)) {
            double back = 0.0;
            if (!file.ReadDouble("Width", back) || back != 0.000127) Fail("a written number does not read back");
        }
    }
    return 0;
}
