#include "quantities/materialsfile.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "quantities/numberformat.h"

namespace {

// A line's fields: a quoted field keeps its blanks (and may not hold a quote);
// an unquoted '#' ends the line.  nullopt for an unclosed quote.
std::optional<std::vector<std::string>> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i == line.size() || line[i] == '#') return fields;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            fields.emplace_back(line.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const std::size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) &&
                   line[i] != '#')
                ++i;
            fields.emplace_back(line.substr(start, i - start));
        }
    }
}

// "." first; then, where the user's locale writes a decimal comma, "3,61".
std::optional<double> Number(const std::string& text, char decimal) {
    if (const auto value = ParseWholeNumber(text)) return value;
    if (decimal != ',' || text.find('.') != std::string::npos ||
        std::count(text.begin(), text.end(), ',') != 1)
        return std::nullopt;
    std::string dotted = text;
    dotted[dotted.find(',')] = '.';
    return ParseWholeNumber(dotted);
}

// The reason a name may not be taken: a built-in entry's, or an earlier line's.
template <class Entry>
std::string Repeated(const std::string& name, const std::vector<Entry>& builtIn,
                     const std::vector<Entry>& earlier, const char* kind) {
    const auto same = [&](const Entry& e) { return e.name == name; };
    if (std::any_of(builtIn.begin(), builtIn.end(), same))
        return "\"" + name + "\" is the name of a built-in " + kind;
    if (std::any_of(earlier.begin(), earlier.end(), same))
        return "\"" + name + "\" is named by an earlier line";
    return {};
}

// The entry of one line's fields, or the reason it is refused.
std::string Take(const std::vector<std::string>& f, char decimal, UserMaterials& out) {
    const auto number = [&](std::size_t i) { return Number(f[i], decimal); };
    if (f[0] == "dielectric") {
        if (f.size() < 4 || f.size() > 5) return "expected: dielectric \"Name\" Er tand [f_ref]";
        if (f[1].empty()) return "the name is empty";
        const auto er = number(2), tand = number(3);
        if (!er || f[2].empty() || *er < 1.0) return "Er must be a number >= 1";
        if (!tand || f[3].empty() || *tand < 0.0) return "tand must be a number >= 0";
        double fRef = 0.0;
        if (f.size() == 5) {
            const auto given = number(4);
            if (!given || !(*given > 0.0)) return "f_ref must be a frequency in hertz above 0";
            fRef = *given;
        }
        if (auto repeated = Repeated(f[1], DielectricTable(), out.dielectrics, "dielectric");
            !repeated.empty())
            return repeated;
        out.dielectrics.push_back({f[1], *er, *tand, fRef});
        return {};
    }
    if (f[0] == "conductor") {
        if (f.size() != 3) return "expected: conductor \"Name\" sigma";
        if (f[1].empty()) return "the name is empty";
        const auto sigma = number(2);
        if (!sigma || !(*sigma > 0.0)) return "sigma must be a conductivity in S/m above 0";
        // Refused here, with its line, rather than by the first calculation.
        if (*sigma < kMinListedConductivity)
            return "sigma must be >= 1E5 S/m, as the microstrip and stripline formulas require";
        if (auto repeated = Repeated(f[1], ConductorTable(), out.conductors, "conductor");
            !repeated.empty())
            return repeated;
        out.conductors.push_back({f[1], *sigma});
        return {};
    }
    return "unknown entry '" + f[0] + "' (dielectric or conductor)";
}

// FNV-1a, 64 bits: enough to tell an edited file from the one reported.
std::string Fingerprint(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static const char* const kDigits = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return text;
}

} // namespace

UserMaterials ParseMaterials(std::string_view text, char decimal) {
    UserMaterials out;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto fields = Fields(line);
        std::string reason;
        if (!fields)
            reason = "a name's closing quote is missing";
        else if (!fields->empty())
            reason = Take(*fields, decimal, out);
        if (!reason.empty()) out.problems.push_back({number, reason});
    }
    return out;
}

UserMaterials ReadMaterialsFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return {}; // no file: nothing to add
    UserMaterials out;
    const auto refuse = [&](const std::string& reason) {
        out.problems.push_back({0, reason});
        return out;
    };
    if (!std::filesystem::is_regular_file(status)) return refuse("not a regular file");
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > kMaxMaterialsFileBytes) return refuse("larger than 1 MiB, not read");
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    if (!(content << file.rdbuf())) {
        if (size != 0) return refuse("cannot be read");
        return out;
    }
    // Qt sets the C library's locale from the environment: its decimal point
    // is the user's.
    const char* point = std::localeconv()->decimal_point;
    out = ParseMaterials(content.str(), point != nullptr && point[0] == ',' ? ',' : '.');
    out.fingerprint = Fingerprint(content.str());
    return out;
}

std::string ProblemsMessage(const std::string& path,
                            const std::vector<MaterialsFileProblem>& problems) {
    if (problems.empty()) return {};
    std::string text = "Some lines of " + path + " were skipped:";
    constexpr std::size_t kListed = 10; // a box, not a page
    for (std::size_t i = 0; i < problems.size() && i < kListed; ++i) {
        const MaterialsFileProblem& p = problems[i];
        text +=
            p.line == 0 ? "\n" + p.reason : "\nline " + std::to_string(p.line) + ": " + p.reason;
    }
    if (problems.size() > kListed)
        text += "\nand " + std::to_string(problems.size() - kListed) + " more";
    return text;
}
