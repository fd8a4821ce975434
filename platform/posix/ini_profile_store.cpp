#include "platform/posix/ini_profile_store.h"

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace vostrel::platform {
namespace {

// ---- bytes of code page 936 -------------------------------------------------------------

bool isLeadByte(unsigned char c) { return c >= 0x80; }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Case-insensitive for ASCII letters only; the second byte of a double-byte character is
// compared exactly, since it can have the value of an ASCII letter.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(a[i]))) {
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
    for (std::size_t i = 0; i < s.size(); i += isLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1) {
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
        const std::size_t step = isLeadByte(static_cast<unsigned char>(s[end])) ? 2 : 1;
        if (end + step > maxBytes) break;
        end += step;
    }
    return s.substr(0, end);
}

// ---- the file as lines --------------------------------------------------------------------

struct Line {
    std::size_t begin = 0;    // offset of the first byte
    std::size_t end = 0;      // offset behind the content (before CR LF / LF)
    std::size_t next = 0;     // offset of the next line
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        Line line;
        line.begin = pos;
        line.next = (lf == std::string_view::npos) ? text.size() : lf + 1;
        line.end = (lf == std::string_view::npos) ? text.size() : lf;
        if (line.end > line.begin && text[line.end - 1] == '\r') --line.end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
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
    std::string_view key;                  // trimmed
    std::optional<std::size_t> equalsAt;   // offset of '=' within the line's content
};

Entry entryOf(std::string_view content) {
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) return {trimBlanks(content), std::nullopt};
    return {trimBlanks(content.substr(0, eq)), eq};
}

// Where a key stands in the file, and where its section ends.
struct Lookup {
    std::optional<std::size_t> entryLine;        // index of the matching entry's line
    std::optional<std::size_t> lastSectionLine;  // last non-blank line of the first matching section
};

Lookup find(std::string_view text, const std::vector<Line>& lines, std::string_view section,
            std::string_view key) {
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

bool writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string_view lineEndOf(std::string_view text) {
    const std::size_t lf = text.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || text[lf - 1] != '\r')) return "\n";
    return "\r\n";
}

} // namespace

std::string IniProfileStore::readString(std::string_view section, std::string_view key,
                                        std::string_view path, std::size_t bufferBytes) {
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

bool IniProfileStore::writeString(std::string_view section, std::string_view key,
                                  std::string_view value, std::string_view path) {
    const std::string gbkSection(trimBlanks(utf8ToGbk(section)));
    const std::string gbkKey(trimBlanks(utf8ToGbk(key)));
    const std::string gbkValue = utf8ToGbk(value);
    if (gbkSection.empty() || gbkKey.empty() || path.empty()) return false;
    if (hasLineBreak(gbkSection) || hasLineBreak(gbkKey) || hasLineBreak(gbkValue)) return false;
    if (findAscii(gbkSection, ']') != std::string_view::npos || gbkKey.find('=') != std::string::npos ||
        gbkKey.front() == '[') {
        return false;
    }

    const std::filesystem::path file(path);
    std::string text;
    if (readFile(file, text) == ReadResult::Failed) return false;

    const std::string eol(lineEndOf(text));
    const std::vector<Line> lines = splitLines(text);
    const Lookup found = find(text, lines, gbkSection, gbkKey);
    const std::string entryLine = gbkKey + "=" + gbkValue;

    if (found.entryLine) {
        const Line& line = lines[*found.entryLine];
        const std::string_view content = std::string_view(text).substr(line.begin, line.end - line.begin);
        const Entry entry = entryOf(content);
        if (entry.equalsAt) {
            // Keep the key as it is spelt in the file; replace only what follows "=".
            const std::size_t valueBegin = line.begin + *entry.equalsAt + 1;
            text.replace(valueBegin, line.end - valueBegin, gbkValue);
        } else {
            text.replace(line.begin, line.end - line.begin, entryLine);
        }
    } else if (found.lastSectionLine) {
        const Line& last = lines[*found.lastSectionLine];
        if (last.next == last.end) {
            text.insert(last.end, eol + entryLine);  // the section ends the file without a line end
        } else {
            text.insert(last.next, entryLine + eol);
        }
    } else {
        if (!text.empty() && text.back() != '\n') text += eol;
        if (!text.empty()) text += eol;
        text += "[" + gbkSection + "]" + eol + entryLine + eol;
    }
    return writeFile(file, text);
}

} // namespace vostrel::platform
