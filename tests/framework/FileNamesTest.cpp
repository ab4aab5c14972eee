// File names as the file system's bytes: every name survives the trip through
// a QString, UTF-8 or not, and a valid UTF-8 name reads as Qt reads it.
#include <gtest/gtest.h>

#include <QString>

#include <string>

#include "framework/core/FileNames.h"

using namespace vantorel;

TEST(FileNames, EveryByteSurvivesTheTripThroughAQString)
{
    const struct {
        const char* szWhat;
        std::string bytes;
        bool bUtf8;
    } cases[] = {
        {"ASCII", "/home/me/bank.pat", true},
        {"two-byte UTF-8", "/caf\xC3\xA9.pat", true},
        {"four-byte UTF-8", "/\xF0\x9F\x8E\xB9.pat", true},
        {"Latin-1", "/caf\xE9 \xFF.pat", false},
        {"overlong slash", "/a\xC0\xAF/b", false},
        {"encoded surrogate", "/\xED\xA0\x80.pat", false},
        {"sequence cut short", "/\xE2\x82.pat", false},
        {"beyond U+10FFFF", "/\xF4\x90\x80\x80", false},
        {"the last code point before the surrogates", "/\xED\x9F\xBF", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szWhat);
        const QString name = DecodeFileName(c.bytes);
        EXPECT_EQ(EncodeFileName(name), c.bytes);
        if (c.bUtf8)
            EXPECT_EQ(name, QString::fromUtf8(c.bytes.data(), qsizetype(c.bytes.size())));
        else // a message shows U+FFFD in place of what is not UTF-8
            EXPECT_NE(name.toLocal8Bit().indexOf("\xEF\xBF\xBD"), -1);
    }
}
