#include "document/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One iconv descriptor per call: conversions are short and this keeps the
// functions safe to call from several threads.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one unit of input (inSize bytes); returns false when it cannot
    // be converted, leaving the output unchanged.
    bool Convert(const char* in, size_t inSize, std::string& out) {
        char buffer[16];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = buffer;
        size_t inLeft = inSize, outLeft = sizeof buffer;
        size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r == static_cast<size_t>(-1) || inLeft != 0 || r != 0) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            return false;
        }
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        return true;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80             ? 0
                    : (b & 0xE0) == 0xC0 ? 1
                    : (b & 0xF0) == 0xE0 ? 2
                    : (b & 0xF8) == 0xF0 ? 3
                                         : -1;
        char32_t c = extra == 0   ? b
                     : extra == 1 ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                                  : (b & 0x07);
        bool ok = extra >= 0 && i + static_cast<size_t>(extra) < text.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char n = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
            if ((n & 0xC0) != 0x80)
                ok = false;
            else
                c = (c << 6) | (n & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (ok && (c < kMin[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += kReplacement;
            ++i;
            continue;
        }
        i += static_cast<size_t>(extra) + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToCp932(std::u16string_view text) {
    Converter converter("CP932", "UTF-16LE");
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char unit[4];
        size_t n = 2;
        unit[0] = static_cast<char>(text[i] & 0xFF);
        unit[1] = static_cast<char>(text[i] >> 8);
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) {
            unit[2] = static_cast<char>(text[i + 1] & 0xFF);
            unit[3] = static_cast<char>(text[i + 1] >> 8);
            n = 4;
        }
        if (converter.Convert(unit, n, out)) {
            if (n == 4)
                ++i;
        } else {
            out += '?';
        }
    }
    return out;
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
    Converter converter("UTF-16LE", "CP932");
    std::u16string out;
    out.reserve(bytes.size());
    std::string buffer;
    for (size_t i = 0; i < bytes.size();) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        // Lead bytes of double-byte characters in code page 932.
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        size_t n = lead && i + 1 < bytes.size() ? 2 : 1;
        buffer.clear();
        if (converter.Convert(bytes.data() + i, n, buffer) && buffer.size() % 2 == 0) {
            for (size_t k = 0; k + 1 < buffer.size(); k += 2)
                out += static_cast<char16_t>(static_cast<unsigned char>(buffer[k]) |
                                             (static_cast<unsigned char>(buffer[k + 1]) << 8));
        } else {
            out += kReplacement;
        }
        i += n;
    }
    return out;
}
