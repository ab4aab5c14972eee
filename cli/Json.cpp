#include "cli/Json.h"

#include <cstdio>

namespace vantorel::cli {

namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when there is none.
size_t Utf8Length(std::string_view text, size_t i)
{
    const auto byte = [&](size_t n) { return static_cast<unsigned char>(text[n]); };
    const unsigned char b = byte(i);
    const size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (n == 0 || i + n > text.size())
        return 0;
    for (size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    const unsigned char b1 = byte(i + 1);
    if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 >= 0xA0) || (b == 0xF0 && b1 < 0x90) ||
        (b == 0xF4 && b1 >= 0x90))
        return 0; // overlong, a surrogate or past U+10FFFF
    return n;
}

} // namespace

// Text that is not UTF-8 (a name byte of 0x80 or more in a library file)
// goes out as that byte's code point, so every line stays valid JSON.
std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            if (const size_t n = Utf8Length(text, i)) {
                out.append(text.substr(i, n));
                i += n - 1;
            } else {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x",
                              static_cast<unsigned>(static_cast<unsigned char>(c)));
                out += buf;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

void CJsonLine::Key(std::string_view key)
{
    if (m_text.size() > 1)
        m_text += ',';
    m_text += JsonString(key);
    m_text += ':';
}

CJsonLine& CJsonLine::Add(std::string_view key, std::string_view value)
{
    Key(key);
    m_text += JsonString(value);
    return *this;
}

CJsonLine& CJsonLine::AddInt(std::string_view key, int64_t value)
{
    Key(key);
    m_text += std::to_string(value);
    return *this;
}

CJsonLine& CJsonLine::AddBool(std::string_view key, bool value)
{
    Key(key);
    m_text += value ? "true" : "false";
    return *this;
}

CJsonLine& CJsonLine::AddRaw(std::string_view key, std::string_view json)
{
    Key(key);
    m_text += json;
    return *this;
}

} // namespace vantorel::cli
