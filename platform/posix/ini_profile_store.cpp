#include "platform/posix/ini_profile_store.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/file_replacement.h"
#include "platform/text_codec.h"

namespace vostrel::platform {
namespace {

// ---- bytes of code page 936 -------------------------------------------------------------

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive for ASCII letters only; the second byte of a double-byte character is
// compared exactly, since it can have the value of an ASCII letter.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(a[i])) {
            if (a[i] != b[i]) return false;
            if (i + 1 < a.size() && a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

// Position of an ASCII character, skipping double-byte characters: their second byte can have
// the value of ']' or '['.
std::size_t findAscii(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); i += isLeadByte(s[i]) ? 2 : 1) {
        if (s[i] == c) return i;
    }
    return std::string_view::npos;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view stripQuotes(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
        return s.substr(1, s.size() - 2);
    }
    return s;
}

// At most maxBytes bytes, never ending in the first half of a double-byte character.
std::string_view cutToBytes(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t step = isLeadByte(s[end]) ? 2 : 1;
        if (end + step > maxBytes) break;
        end += step;
    }
    return s.substr(0, end);
}

// ---- the file as lines --------------------------------------------------------------------

struct Line {
    std::size_t begin = 0; // offset of the first byte
    std::size_t end = 0;   // offset behind the content (before its line end)
    std::size_t next = 0;  // offset of the next line; next == end for a last line without end
};

// Lines end at CR LF, LF or a lone CR.
std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        line.end = std::min(text.find_first_of("\r\n", pos), text.size());
        line.next = line.end;
        if (line.next < text.size()) {
            const bool crLf = text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
            line.next += crLf ? 2 : 1;
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

bool hasLineEnd(const Line& line) { return line.next != line.end; }

std::string_view lineEndOf(std::string_view text, const Line& line) {
    return text.substr(line.end, line.next - line.end);
}

// The line end for a line added behind lines[after]: that line's own, so that a lone CR is
// never followed by an LF that would fuse with it; for a last line without one, the file's
// first line end; CR LF when the file has none.
std::string lineEndBehind(std::string_view text, const std::vector<Line>& lines, std::size_t after) {
    if (after < lines.size() && hasLineEnd(lines[after])) return std::string(lineEndOf(text, lines[after]));
    for (const Line& line : lines) {
        if (hasLineEnd(line)) return std::string(lineEndOf(text, line));
    }
    return "\r\n";
}

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> sectionNameOf(std::string_view content) {
    const std::string_view trimmed = trimBlanks(content);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    std::string_view name = trimmed.substr(1);
    const std::size_t close = findAscii(name, ']');
    if (close != std::string_view::npos) name = name.substr(0, close);
    return trimBlanks(name);
}

struct Entry {
    std::string_view key;                // trimmed
    std::optional<std::size_t> equalsAt; // offset of '=' within the line's content
};

Entry entryOf(std::string_view content) {
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) return {trimBlanks(content), std::nullopt};
    return {trimBlanks(content.substr(0, eq)), eq};
}

// Where a key stands in the file, and where its section ends.
struct Lookup {
    std::optional<std::size_t> entryLine;       // index of the matching entry's line
    std::optional<std::size_t> lastSectionLine; // last non-blank line of the first matching section
};

Lookup find(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Lookup found;
    bool inSection = false;
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
        if (const auto name = sectionNameOf(content)) {
            inSection = sameName(*name, section);
            inFirstSection = inSection && !found.lastSectionLine;
            if (inFirstSection) found.lastSectionLine = i;
            continue;
        }
        if (!inSection) continue;
        if (inFirstSection && !trimBlanks(content).empty()) found.lastSectionLine = i;
        if (sameName(entryOf(content).key, key)) {
            found.entryLine = i;
            return found;
        }
    }
    return found;
}

// ---- file access ----------------------------------------------------------------------------

enum class ReadResult { Ok, Missing, Failed };

ReadResult readFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return ReadResult::Missing;
    if (!std::filesystem::is_regular_file(status)) return ReadResult::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ReadResult::Failed;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? ReadResult::Failed : ReadResult::Ok;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// Names and values that would change the file's structure. Section and key come trimmed.
bool breaksStructure(std::string_view section, std::string_view key, std::string_view value) {
    return section.empty() || key.empty() || hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value) ||
           findAscii(section, ']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
           key.front() == '[';
}

// The value as it goes into the file: in double quotes when reading would otherwise lose
// blanks around it or a pair of quotes from it.
std::string storedValue(std::string_view value) {
    if (stripQuotes(trimBlanks(value)) == value) return std::string(value);
    return std::string("\"").append(value).append("\"");
}

// The text with key set to value (both stored forms) in section.
std::string withEntry(std::string text, std::string_view section, std::string_view key, std::string_view value) {
    const std::vector<Line> lines = splitLines(text);
    const Lookup found = find(text, lines, section, key);
    const std::string entryLine = std::string(key).append("=").append(value);

    if (found.entryLine) {
        const Line& line = lines[*found.entryLine];
        const std::string_view content = std::string_view(text).substr(line.begin, line.end - line.begin);
        const Entry entry = entryOf(content);
        if (entry.equalsAt) {
            // Keep the key as it is spelt in the file; replace only what follows "=".
            const std::size_t valueBegin = line.begin + *entry.equalsAt + 1;
            text.replace(valueBegin, line.end - valueBegin, value);
        } else {
            text.replace(line.begin, line.end - line.begin, entryLine);
        }
    } else if (found.lastSectionLine) {
        const Line& last = lines[*found.lastSectionLine];
        const std::string eol = lineEndBehind(text, lines, *found.lastSectionLine);
        if (!hasLineEnd(last)) {
            text.insert(last.end, eol + entryLine); // the section ends the file without a line end
        } else {
            text.insert(last.next, entryLine + eol);
        }
    } else {
        const std::string eol = lineEndBehind(text, lines, lines.empty() ? 0 : lines.size() - 1);
        if (!lines.empty() && !hasLineEnd(lines.back())) text += eol;
        if (!text.empty()) text += eol;
        text.append("[").append(section).append("]").append(eol).append(entryLine).append(eol);
    }
    return text;
}

// The text without the key's entry line (its line end goes with it); unchanged when the key is
// not in the section.
std::string withoutEntry(std::string text, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = splitLines(text);
    const Lookup found = find(text, lines, section, key);
    if (!found.entryLine) return text;
    const Line& line = lines[*found.entryLine];
    text.erase(line.begin, line.next - line.begin);
    return text;
}

struct StoredEntry {
    std::string key;                  // GBK, trimmed
    std::optional<std::string> value; // GBK, as given; none: remove the key
};

} // namespace

std::string IniProfileStore::readString(std::string_view section, std::string_view key, std::string_view path,
                                        std::size_t bufferBytes) {
    if (section.empty() || key.empty() || path.empty() || bufferBytes == 0) return {};
    std::string text;
    if (readFile(std::filesystem::path(path), text) != ReadResult::Ok) return {};

    const std::string gbkSection = utf8ToGbk(section);
    const std::string gbkKey = utf8ToGbk(key);
    const std::vector<Line> lines = splitLines(text);
    const Lookup found = find(text, lines, trimBlanks(gbkSection), trimBlanks(gbkKey));
    if (!found.entryLine) return {};

    const Line& line = lines[*found.entryLine];
    const std::string_view content = std::string_view(text).substr(line.begin, line.end - line.begin);
    const Entry entry = entryOf(content);
    if (!entry.equalsAt) return {};
    const std::string_view value = stripQuotes(trimBlanks(content.substr(*entry.equalsAt + 1)));
    return gbkToUtf8(cutToBytes(value, bufferBytes - 1));
}

bool IniProfileStore::writeStrings(std::string_view section, std::span<const ProfileEntry> entries,
                                   std::string_view path) {
    const std::string gbkSection(trimBlanks(utf8ToGbk(section)));
    std::vector<StoredEntry> stored;
    for (const ProfileEntry& entry : entries) {
        StoredEntry e{std::string(trimBlanks(utf8ToGbk(entry.key))), std::nullopt};
        if (entry.value) e.value = utf8ToGbk(*entry.value);
        if (breaksStructure(gbkSection, e.key, e.value.value_or(""))) return false;
        stored.push_back(std::move(e));
    }
    if (path.empty()) return false;

    std::string text;
    if (readFile(std::filesystem::path(path), text) == ReadResult::Failed) return false;
    std::string replaced = text;
    for (const StoredEntry& e : stored) {
        replaced = e.value ? withEntry(std::move(replaced), gbkSection, e.key, storedValue(*e.value))
                           : withoutEntry(std::move(replaced), gbkSection, e.key);
    }
    // A save writes all its keys every time, mostly with the values they have: those cost no
    // disk flush, but a read-only file is refused all the same.
    if (replaced == text) return calls_.accessForWriting(std::string(path)) == 0;
    return replaceFileContent(calls_, std::string(path), replaced);
}

void IniProfileStore::removeLeftovers(std::string_view path) { removeTemporaryCopies(calls_, std::string(path)); }

} // namespace vostrel::platform
