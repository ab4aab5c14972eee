#include "cli/Json.h"

#include <cstdio>

namespace vantorel::cli {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
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

void CJsonLine::Key(std::string_view key) {
    if (m_text.size() > 1)
        m_text += ',';
    m_text += JsonString(key);
    m_text += ':';
}

CJsonLine& CJsonLine::Add(std::string_view key, std::string_view value) {
    Key(key);
    m_text += JsonString(value);
    return *this;
}

CJsonLine& CJsonLine::AddInt(std::string_view key, int64_t value) {
    Key(key);
    m_text += std::to_string(value);
    return *this;
}

CJsonLine& CJsonLine::AddBool(std::string_view key, bool value) {
    Key(key);
    m_text += value ? "true" : "false";
    return *this;
}

CJsonLine& CJsonLine::AddRaw(std::string_view key, std::string_view json) {
    Key(key);
    m_text += json;
    return *this;
}

} // namespace vantorel::cli
