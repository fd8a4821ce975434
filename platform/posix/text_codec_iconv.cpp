// UTF-8 <-> code page 936 through iconv. glibc's "CP936" is the Windows variant of GBK
// (it also maps 0x80 to the euro sign), which is what files written on Windows contain.
#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace vostrel::platform {
namespace {

constexpr const char* kGbkName = "CP936";

// Number of input bytes to drop, after a sequence that cannot be converted, so that the
// next attempt starts at the next character.
using SkipRule = std::size_t (*)(const unsigned char* in, std::size_t left);

std::size_t skipUtf8Character(const unsigned char* in, std::size_t left) {
    const unsigned char lead = in[0];
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length > left) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((in[i] & 0xC0) != 0x80) return 1; // malformed: drop only the lead byte
    }
    return length;
}

std::size_t skipGbkCharacter(const unsigned char* in, std::size_t left) {
    const unsigned char lead = in[0];
    if (lead < 0x81 || lead == 0xFF || left < 2) return 1;
    const unsigned char trail = in[1];
    const bool validTrail = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFE);
    return validTrail ? 2 : 1; // an unmapped pair goes as one; a broken one keeps its second byte
}

class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    std::string convert(std::string_view input, SkipRule skip) {
        std::string out;
        if (!ok()) return std::string(input.size(), '?');
        out.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t used = 0;
        while (inLeft > 0) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t result = iconv(handle_, &in, &inLeft, &outPtr, &outLeft);
            used = out.size() - outLeft;
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ (not convertible) or EINVAL (cut short at the end): one '?' per character.
            const std::size_t drop =
                errno == EINVAL ? inLeft : skip(reinterpret_cast<const unsigned char*>(in), inLeft);
            in += drop;
            inLeft -= drop;
            if (used == out.size()) out.resize(out.size() * 2);
            out[used++] = '?';
            iconv(handle_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t handle_;
};

} // namespace

std::string utf8ToGbk(std::string_view utf8) {
    Converter converter(kGbkName, "UTF-8");
    return converter.convert(utf8, skipUtf8Character);
}

std::string gbkToUtf8(std::string_view gbk) {
    Converter converter("UTF-8", kGbkName);
    return converter.convert(gbk, skipGbkCharacter);
}

} // namespace vostrel::platform
