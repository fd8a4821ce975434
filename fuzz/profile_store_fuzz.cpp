// The private-profile store on any settings file: one write, through the store's public
// operations only. A refused write leaves the file byte for byte; an accepted one reads back
// as written (for a value that reading does not trim or unquote), leaves every other key's
// value as it was, and keeps every line of the file but the one it replaced, in order, whatever
// ends the lines (CR LF, LF or a lone CR).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/scratch_folder.h"
#include "platform/posix/ini_profile_store.h"
#include "platform/text_codec.h"

namespace vostrel::fuzz {

namespace {

constexpr std::size_t kMostNamesChecked = 16;

// The lines of a text, each ended by CR LF, LF or a lone CR (or by the end of the text).
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}

// Whether all of `old` but at most one line appear in `now`, in their order.
bool keepsAllLinesButOne(const std::vector<std::string_view>& old, const std::vector<std::string_view>& now) {
    constexpr std::size_t kNone = SIZE_MAX;
    const std::size_t n = old.size();
    const std::size_t m = now.size();
    // prefixEnd[i]: where in `now` the earliest match of old[0, i) ends; suffixStart[i]: where
    // the latest match of old[i, n) starts.
    std::vector<std::size_t> prefixEnd(n + 1, kNone), suffixStart(n + 1, kNone);
    prefixEnd[0] = 0;
    for (std::size_t i = 0, at = 0; i < n; ++i) {
        while (at < m && now[at] != old[i]) ++at;
        if (at == m) break;
        prefixEnd[i + 1] = ++at;
    }
    suffixStart[n] = m;
    for (std::size_t i = n, at = m; i > 0; --i) {
        while (at > 0 && now[at - 1] != old[i - 1]) --at;
        if (at == 0) break;
        suffixStart[i - 1] = --at;
    }
    if (prefixEnd[n] != kNone) return true;
    for (std::size_t skipped = 0; skipped < n; ++skipped) {
        if (prefixEnd[skipped] != kNone && suffixStart[skipped + 1] != kNone &&
            prefixEnd[skipped] <= suffixStart[skipped + 1]) {
            return true;
        }
    }
    return false;
}

using Name = std::pair<std::string, std::string>; // section and key, UTF-8

// Section and key names that the file seems to hold, found by a rough look at its lines.
std::vector<Name> namesIn(std::string_view gbk) {
    std::vector<Name> names;
    std::string section;
    for (const std::string_view line : linesOf(gbk)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos && line[first] == '[') {
            std::string_view name = line.substr(first + 1);
            section = platform::gbkToUtf8(name.substr(0, name.find(']')));
        } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
            names.emplace_back(section, platform::gbkToUtf8(line.substr(0, eq)));
        }
        if (names.size() == kMostNamesChecked) break;
    }
    return names;
}

// A value that reading gives back as it stands: no blanks around it, no quotes around it.
bool readsBackAsWritten(std::string_view gbk) {
    if (gbk.empty()) return true;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !blank(gbk.front()) && !blank(gbk.back()) && gbk.front() != '"' && gbk.front() != '\'';
}

// Takes the next NUL-ended field of the input, or all that is left.
std::string_view nextField(std::string_view& input) {
    const std::size_t end = input.find('\0');
    const std::string_view field = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return field;
}

} // namespace

int profileStore(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string section(nextField(input));
    const std::string key(nextField(input));
    const std::string value(nextField(input));
    const std::string_view before = input;

    static const std::string path = scratchFile("vanto.ini");
    writeScratchFile(path, before);
    platform::IniProfileStore store;
    const std::size_t enough = before.size() + value.size() * 2 + 2; // more than any value the file can hold
    const std::vector<Name> names = namesIn(before);
    std::vector<std::string> valuesBefore;
    for (const Name& name : names) valuesBefore.push_back(store.readString(name.first, name.second, path, enough));

    const bool written = store.writeString(section, key, value, path);
    const std::string after = readScratchFile(path);
    if (!written) {
        FUZZ_EXPECT(after == before);
        return 0;
    }
    const std::string readBack = store.readString(section, key, path, after.size() + 1);
    const std::string gbkValue = platform::utf8ToGbk(value);
    if (readsBackAsWritten(gbkValue)) FUZZ_EXPECT(readBack == platform::gbkToUtf8(gbkValue));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string now = store.readString(names[i].first, names[i].second, path, after.size() + 1);
        FUZZ_EXPECT(now == valuesBefore[i] || now == readBack);
    }
    FUZZ_EXPECT(keepsAllLinesButOne(linesOf(before), linesOf(after)));
    return 0;
}

} // namespace vostrel::fuzz
