// Property: whatever a settings file held before, after the four keys are written (as every
// accepted save writes them) each reads back as exactly the text typed, and every other line
// of the file is still there, byte for byte, with its own line end. Checked over thousands of
// files from a seeded generator: other sections and keys, comments, duplicate sections and
// keys, blanks, GBK bytes (also second bytes that look like brackets), random bytes, and line
// ends of every kind (CR LF, LF, a lone CR, none at the end).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/ini_profile_store.h"
#include "platform/text_codec.h"
#include "settings/settings_file.h"
#include "settings/subject_settings.h"
#include "tests/platform/temp_folder.h"

namespace vostrel::settings_test {
namespace {

using platform_test::TempFolder;

using settings::kRowSettings;

constexpr int kFiles = 1500;            // each saved twice
constexpr std::size_t kTypingLimit = 5; // characters a start-time box takes
constexpr std::uint32_t kSeed = 20261208;

// Flushing to disk is not what this test is about: it would only make it slow. For the same
// reason the files live in memory where the system offers a folder for that (a rename over a
// file on ext4 starts writing it to disk).
class UnflushedFileCalls final : public platform::FileCalls {
public:
    int fsync(int) override { return 0; }
};

std::filesystem::path fastFolder() {
    const std::filesystem::path memory = "/dev/shm";
    std::error_code ec;
    return std::filesystem::is_directory(memory, ec) ? memory : std::filesystem::temp_directory_path();
}

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    // A settings file as it might be found: GBK bytes.
    std::string file() {
        static const std::vector<std::string_view> kLineEnds{"\r\n", "\n", "\r"};
        std::string text;
        const int lines = below(12);
        for (int i = 0; i < lines; ++i) {
            text += line();
            if (i + 1 < lines || below(3) != 0) text += pick(kLineEnds);
        }
        return text;
    }

    // A text as an operator could type it into a start-time box (UTF-8).
    std::string typed() {
        static const std::vector<std::string_view> kCharacters{"0",  "1", "5",  "9",  ":",  "：", "０",
                                                               "９", " ", "\t", "\"", "'",  "=",  "[",
                                                               "]",  ";", "a",  "时", "癩", "/",  "　"};
        std::string text;
        const int length = below(static_cast<int>(kTypingLimit) + 1);
        for (int i = 0; i < length; ++i) text += pick(kCharacters);
        return text;
    }

private:
    std::string line() {
        static const std::vector<std::string_view> kSections{
            "[时间设置]", " [ 时间设置 ] ", "[时间设置", "[其他]", "[Times]", "[癩乚]", "[]", "[时间设置]x"};
        static const std::vector<std::string_view> kOtherLines{
            "",   "  ",  "\t",    "; 考试时间",     "#语文时间=08:00", "语文=08:00", "语文时间x=1", "Chinese=09:00",
            "=x", "key", "癩=乚", "k = \"quoted\" "};
        switch (below(5)) {
        case 0: return platform::utf8ToGbk(pick(kSections));
        case 1: return entry();
        case 2: return platform::utf8ToGbk(pick(kOtherLines));
        case 3: return randomBytes();
        default: return entry();
        }
    }

    // One of the four keys, with or without blanks around it, or without "=" and value.
    std::string entry() {
        const std::string key = platform::utf8ToGbk(kRowSettings[static_cast<std::size_t>(below(4))].key);
        const std::string value = platform::utf8ToGbk(typed());
        switch (below(4)) {
        case 0: return key + "=" + value;
        case 1: return " " + key + " = " + value + " ";
        case 2: return key + "\t=" + value;
        default: return key;
        }
    }

    // Any bytes but line ends, so also lone lead bytes of double-byte characters.
    std::string randomBytes() {
        std::string bytes;
        const int length = below(10);
        for (int i = 0; i < length; ++i) {
            char c = '\0';
            do c = static_cast<char>(below(255) + 1);
            while (c == '\r' || c == '\n');
            bytes += c;
        }
        return bytes;
    }

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::string_view pick(const std::vector<std::string_view>& list) {
        return list[static_cast<std::size_t>(below(static_cast<int>(list.size())))];
    }

    std::mt19937 random_;
};

// ---- the oracle: lines as the Windows functions see them ------------------------------------

struct FileLine {
    std::string content;
    std::string end; // "\r\n", "\n", "\r", or "" for a last line without one
};

std::vector<FileLine> linesOf(std::string_view text) {
    std::vector<FileLine> lines;
    while (!text.empty()) {
        const std::size_t stop = std::min(text.find_first_of("\r\n"), text.size());
        const std::size_t endLength = stop == text.size() ? 0 : text.substr(stop, 2) == "\r\n" ? 2 : 1;
        lines.push_back({std::string(text.substr(0, stop)), std::string(text.substr(stop, endLength))});
        text.remove_prefix(stop + endLength);
    }
    return lines;
}

bool isOneOfTheKeys(std::string_view name) {
    static const std::array<std::string, 4> kKeys{
        platform::utf8ToGbk(kRowSettings[0].key), platform::utf8ToGbk(kRowSettings[1].key),
        platform::utf8ToGbk(kRowSettings[2].key), platform::utf8ToGbk(kRowSettings[3].key)};
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    return std::find(kKeys.begin(), kKeys.end(), name) != kKeys.end();
}

// A line of one of the four keys whose value the write replaced: same text up to the "=".
bool isRewrittenEntry(const FileLine& before, const FileLine& after) {
    const std::size_t equals = before.content.find('=');
    const std::string keyPart = before.content.substr(0, equals);
    return isOneOfTheKeys(keyPart) && after.content.compare(0, keyPart.size() + 1, keyPart + "=") == 0;
}

// What a write may add: an entry of one of the four keys, the section, a blank line before it.
bool isAddedLine(const FileLine& line) {
    // Appended rather than `"[" + std::string(...)`: GCC 12 at -O3 sees a memcpy that may overlap
    // inside that operator+ (-Wrestrict, a false positive of its own) and fails a -Werror build.
    static const std::string kSectionLine =
        platform::utf8ToGbk(std::string("[").append(settings::kSettingsSection).append("]"));
    const std::size_t equals = line.content.find('=');
    return line.content.empty() || line.content == kSectionLine ||
           (equals != std::string::npos && isOneOfTheKeys(line.content.substr(0, equals)));
}

// Every line of before is in after, in order, with its own line end (a last line without one
// may have got one); only entries of the four keys changed, and only such entries, the section
// and a blank line were added.
::testing::AssertionResult keepsEveryOtherLine(std::string_view before, std::string_view after) {
    const std::vector<FileLine> old = linesOf(before);
    const std::vector<FileLine> now = linesOf(after);
    std::size_t j = 0;
    for (std::size_t i = 0; i < old.size(); ++i) {
        for (;; ++j) {
            if (j == now.size()) return ::testing::AssertionFailure() << "line " << i << " is gone";
            const bool sameEnd = old[i].end == now[j].end || (i + 1 == old.size() && old[i].end.empty());
            if (sameEnd && (old[i].content == now[j].content || isRewrittenEntry(old[i], now[j]))) break;
            if (!isAddedLine(now[j])) return ::testing::AssertionFailure() << "line " << j << " is not expected";
        }
        ++j;
    }
    for (; j < now.size(); ++j) {
        if (!isAddedLine(now[j])) return ::testing::AssertionFailure() << "line " << j << " is not expected";
    }
    return ::testing::AssertionSuccess();
}

std::string escaped(std::string_view bytes) {
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            out += c;
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        }
    }
    return out;
}

TEST(SaveRoundTripProperty, TheFourTypedTextsReadBackAndEveryOtherLineStays) {
    TempFolder folder(fastFolder());
    const std::string path = folder.file("vanto.ini");
    UnflushedFileCalls calls;
    platform::IniProfileStore store(calls);
    Generator generate(kSeed);

    for (int n = 0; n < kFiles; ++n) {
        std::string before = generate.file();
        TempFolder::writeBytes(path, before);
        for (int save = 1; save <= 2; ++save) { // the second save finds the keys the first added
            std::array<std::string, 4> texts;
            for (std::size_t i = 0; i < texts.size(); ++i) {
                texts[i] = generate.typed();
                ASSERT_TRUE(store.writeString(settings::kSettingsSection, kRowSettings[i].key, texts[i], path));
            }
            const std::string after = TempFolder::readBytes(path);
            SCOPED_TRACE("case " + std::to_string(n) + ", save " + std::to_string(save) +
                         "\nbefore: " + escaped(before) + "\nafter:  " + escaped(after));
            for (std::size_t i = 0; i < texts.size(); ++i) {
                ASSERT_EQ(
                    store.readString(settings::kSettingsSection, kRowSettings[i].key, path, settings::kReadBufferBytes),
                    texts[i]);
            }
            ASSERT_TRUE(keepsEveryOtherLine(before, after));
            before = after;
        }
    }
}

} // namespace
} // namespace vostrel::settings_test
