#include "ui/initext.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// One line of the file: [begin, end) without its "\n"; next is where the
// following line starts (the size of the content after the last one).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    std::string_view Text(std::string_view content) const {
        return content.substr(begin, end - begin);
    }
};

// The next line at or after pos (a line start, before `to`, itself a line
// start or the end) that holds a non-blank character.  Blank lines are
// skipped character by character, so that a file of millions of them costs
// one pass, not millions of line splits.
bool NextFilledLine(std::string_view content, std::size_t& pos, std::size_t to, Line& line) {
    std::size_t lineBegin = pos;
    for (std::size_t i = pos; i < to; ++i) {
        const char c = content[i];
        if (c == '\n') {
            lineBegin = i + 1;
            continue;
        }
        if (IsBlank(c)) continue;
        const std::size_t newline = content.find('\n', i);
        line.begin = lineBegin;
        line.end = newline == std::string_view::npos ? content.size() : newline;
        line.next = newline == std::string_view::npos ? content.size() : newline + 1;
        pos = line.next;
        return true;
    }
    pos = to;
    return false;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// The next section header at or after `from`: the start of its line, or npos.
std::size_t NextHeader(std::string_view content, std::size_t from, Line& header) {
    std::size_t pos = from;
    while (NextFilledLine(content, pos, content.size(), header))
        if (SectionName(header.Text(content))) return header.begin;
    return std::string_view::npos;
}

// A key inside a section body, and where a new key of the section would go.
struct KeyLocation {
    bool found = false;
    Line line;
    std::size_t afterLastEntry = 0; // end of the body's last non-blank line
};

KeyLocation LocateKey(std::string_view content, IniSectionRange range, std::string_view key) {
    KeyLocation where;
    where.afterLastEntry = range.bodyBegin;
    std::size_t pos = range.bodyBegin;
    Line line;
    while (NextFilledLine(content, pos, range.bodyEnd, line)) {
        const std::string_view text = line.Text(content);
        where.afterLastEntry = line.next;
        const auto entry = ParseKeyLine(text);
        if (entry && SameName(entry->key, key)) {
            where.found = true;
            where.line = line;
            break;
        }
    }
    return where;
}

std::string_view LineEnding(std::string_view content) {
    const std::size_t newline = content.find('\n');
    return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                            : "\n";
}

} // namespace

std::optional<IniSectionRange> FindIniSection(std::string_view content, std::string_view section) {
    Line header;
    for (std::size_t at = NextHeader(content, 0, header); at != std::string_view::npos;
         at = NextHeader(content, header.next, header)) {
        if (!SameName(*SectionName(header.Text(content)), section)) continue;
        Line following;
        const std::size_t end = NextHeader(content, header.next, following);
        return IniSectionRange{header.next, end == std::string_view::npos ? content.size() : end};
    }
    return std::nullopt;
}

std::optional<std::string_view> FindIniKey(std::string_view content, IniSectionRange range,
                                           std::string_view key) {
    const KeyLocation where = LocateKey(content, range, key);
    if (!where.found) return std::nullopt;
    return ParseKeyLine(where.line.Text(content))->value;
}

std::optional<std::string_view> FindIniValue(std::string_view content, std::string_view section,
                                             std::string_view key) {
    const auto range = FindIniSection(content, section);
    if (!range) return std::nullopt;
    return FindIniKey(content, *range, key);
}

std::string WithIniValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
    const std::string_view eol = LineEnding(content);
    std::string entry;
    entry.append(key).append("=").append(value);
    std::string result;
    result.reserve(content.size() + entry.size() + section.size() + 8);

    const auto range = FindIniSection(content, section);
    if (!range) {
        result.append(content);
        if (!content.empty()) {
            if (content.back() != '\n') result.append(eol);
            result.append(eol);
        }
        result.append("[").append(section).append("]").append(eol).append(entry).append(eol);
        return result;
    }
    const KeyLocation where = LocateKey(content, *range, key);
    if (where.found) {
        // The line's own ending ("\r" before the "\n", or none at the end of
        // the file) stays as it was.
        const std::string_view line = where.line.Text(content);
        const bool carriageReturn = !line.empty() && line.back() == '\r';
        result.append(content.substr(0, where.line.begin)).append(entry);
        if (carriageReturn) result.append("\r");
        result.append(content.substr(where.line.end));
        return result;
    }
    const std::size_t at = where.afterLastEntry;
    result.append(content.substr(0, at));
    if (at > 0 && content[at - 1] != '\n') result.append(eol); // the last line had no ending
    result.append(entry).append(eol).append(content.substr(at));
    return result;
}

bool IsWritableIniEntry(std::string_view section, std::string_view key, std::string_view value) {
    const auto breaksLine = [](std::string_view text) {
        return text.find_first_of(std::string_view("\n\r\0", 3)) != std::string_view::npos;
    };
    if (breaksLine(section) || breaksLine(key) || breaksLine(value)) return false;
    if (Trim(section).empty() || Trim(key).empty()) return false;
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos)
        return false;
    const std::string_view trimmedKey = Trim(key);
    return trimmedKey.front() != '[' && trimmedKey.front() != ';' && trimmedKey.front() != '#';
}
