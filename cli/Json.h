#pragma once
// One JSON object per line, for scripts: keys in the order added.
#include <cstdint>
#include <string>
#include <string_view>

namespace vantorel::cli {

class CJsonLine {
public:
    CJsonLine& Add(std::string_view key, std::string_view value);
    CJsonLine& AddInt(std::string_view key, int64_t value);
    CJsonLine& AddBool(std::string_view key, bool value);
    // A value already written as JSON (an array of objects).
    CJsonLine& AddRaw(std::string_view key, std::string_view json);
    std::string Text() const { return m_text + "}"; }

private:
    void Key(std::string_view key);
    std::string m_text = "{";
};

std::string JsonString(std::string_view text);

} // namespace vantorel::cli
