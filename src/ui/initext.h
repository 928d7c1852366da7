// Private-profile (INI) text, as pure functions on the file's bytes.
//
// A section header is a line whose first non-blank character is "[" and
// that holds a "]"; its name is the text between them.  A key line is a line
// with "=" inside a section; its key is the text before the first "=", its
// value the text after it.  Section and key names match case-insensitively
// (ASCII) and without surrounding blanks; the first matching section and the
// first matching key in it are the ones read and written.  Lines starting
// with ";" or "#" are comments.  Every byte that is not part of the one key
// being written is kept as it was, whatever the file holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Where a section's lines lie: its body runs from the line after its header
// up to the next header line (or the end of the file).
struct IniSectionRange {
    std::size_t bodyBegin;
    std::size_t bodyEnd;
};

// The first section of that name, or nothing.
std::optional<IniSectionRange> FindIniSection(std::string_view content, std::string_view section);

// The value of key in the section's body, blanks around it removed, or nothing.
std::optional<std::string_view> FindIniKey(std::string_view content, IniSectionRange range,
                                           std::string_view key);

// FindIniSection, then FindIniKey.
std::optional<std::string_view> FindIniValue(std::string_view content, std::string_view section,
                                             std::string_view key);

// The content with key=value in section: an existing key's line replaced in
// place, a new key added after the last non-blank line of its section, a new
// section added at the end (after a blank line when the file is not empty).
// New lines take the file's line ending ("\r\n" if its first line has one).
std::string WithIniValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

// Whether a section name, key or value can be written without breaking the
// line structure (no line breaks or NULs; no "=" in a key; no "]" in a
// section; names not blank).
bool IsWritableIniEntry(std::string_view section, std::string_view key, std::string_view value);
