#include "framework/core/FileNames.h"

#include <QFileInfo>

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace vantorel {

namespace {
constexpr char16_t kEscapeBase = 0xDC00; // + the byte, which is 0x80 or above
constexpr char16_t kEscapeFirst = 0xDC80;
constexpr char16_t kEscapeLast = 0xDCFF;

// The length of the valid UTF-8 sequence at p (of n bytes left), or 0.
size_t Utf8SequenceAt(const uint8_t* p, size_t n)
{
    const uint8_t b = p[0];
    if (b < 0x80)
        return 1;
    size_t len = 0;
    uint8_t lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF)
        len = 2;
    else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (b == 0xED)
            hi = 0x9F; // no encoded surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else
        return 0;
    if (n < len || p[1] < lo || p[1] > hi)
        return 0;
    for (size_t i = 2; i < len; ++i)
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    return len;
}
} // namespace

QString DecodeFileName(const std::string& strBytes)
{
    const auto* p = reinterpret_cast<const uint8_t*>(strBytes.data());
    const size_t n = strBytes.size();
    QString name;
    size_t runStart = 0; // the valid UTF-8 not yet decoded
    size_t i = 0;
    const auto flushRun = [&] {
        name += QString::fromUtf8(strBytes.data() + runStart, qsizetype(i - runStart));
    };
    while (i < n) {
        if (const size_t len = Utf8SequenceAt(p + i, n - i)) {
            i += len;
            continue;
        }
        flushRun();
        name += QChar(char16_t(kEscapeBase + p[i]));
        runStart = ++i;
    }
    flushRun();
    return name;
}

std::string EncodeFileName(const QString& strName)
{
    std::string bytes;
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        bytes += strName.mid(runStart, end - runStart).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < strName.size(); ++i) {
        const char16_t c = strName[i].unicode();
        // A valid pair never has its low half here alone: the loop steps over it.
        if (QChar::isHighSurrogate(c) && i + 1 < strName.size() && strName[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c < kEscapeFirst || c > kEscapeLast)
            continue;
        flushRun(i);
        bytes += char(uint8_t(c - kEscapeBase));
        runStart = i + 1;
    }
    flushRun(strName.size());
    return bytes;
}

QString AbsoluteFileName(const std::string& strArgument)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(strArgument, error);
    // QFileInfo only tidies an absolute name ("." and ".."), which keeps the escapes.
    return QFileInfo(DecodeFileName(error ? strArgument : absolute.string())).absoluteFilePath();
}

std::string FolderThatTellsApart(const std::string& strPath, const std::vector<std::string>& others)
{
    const std::filesystem::path folder = std::filesystem::path(strPath).parent_path();
    for (const std::string& other : others)
        if (std::filesystem::path(other).parent_path().filename() == folder.filename())
            return folder.string();
    return folder.filename().string();
}

} // namespace vantorel
