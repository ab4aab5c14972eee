// The program's command line before any window: --version and --help answer
// on the terminal and end the program, and a start with no display is one
// line and a failing exit instead of the toolkit's abort.
#include <gtest/gtest.h>

#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/StartOptions.h"

namespace vantorel::test {
namespace {

struct CStartCase {
    std::vector<const char*> args;
    const char* szPlatform; // QT_QPA_PLATFORM, null: unset
    const char* szDisplay;  // DISPLAY, null: unset
    std::optional<int> exitCode;
    const char* szSays; // a piece of what is printed
};

TEST(StartOptions, VersionHelpAndAMissingDisplayEndTheProgramWithTheirAnswer)
{
    const CStartCase cases[] = {
        {{"--version"}, nullptr, nullptr, 0, "Vantorel Version 1.00"},
        {{"a.pat", "--help"}, nullptr, nullptr, 0, "Usage: vantorel [FILE...]"},
        {{"--help"}, nullptr, nullptr, 0, "(.pat, .pfm, .syp, .ptn, .mtn) and imports"},
        {{"-h"}, "offscreen", ":1", 0, "--version"},
        {{"a.pat"}, nullptr, nullptr, 1, "needs a display"},
        {{"a.pat"}, "xcb", nullptr, 1, "needs a display"},
        {{"a.pat", "-platform", "offscreen"}, nullptr, nullptr, std::nullopt, ""},
        {{"a.pat"}, "offscreen", nullptr, std::nullopt, ""},
        {{"a.pat"}, nullptr, ":1", std::nullopt, ""},
        // After "--" a file may be called anything.
        {{"--", "--version"}, nullptr, ":1", std::nullopt, ""},
    };
    const std::string savedPlatform = std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    for (const CStartCase& c : cases) {
        std::vector<char*> argv{const_cast<char*>("vantorel")};
        for (const char* a : c.args)
            argv.push_back(const_cast<char*>(a));
        c.szPlatform ? setenv("QT_QPA_PLATFORM", c.szPlatform, 1) : unsetenv("QT_QPA_PLATFORM");
        c.szDisplay ? setenv("DISPLAY", c.szDisplay, 1) : unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const std::optional<int> exitCode = AnswerBeforeStart(int(argv.size()), argv.data());
        const std::string printed =
            testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
        SCOPED_TRACE(c.args.front());
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_NE(printed.find(c.szSays), std::string::npos) << printed;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << "one line";
        }
        if (!c.exitCode) {
            EXPECT_EQ(printed, "");
        }
    }
    setenv("QT_QPA_PLATFORM", savedPlatform.c_str(), 1);
}

TEST(StartOptions, TheBuiltProgramPrintsItsVersionAndEnds)
{
    QProcess program;
    program.start(QStringLiteral(VANTOREL_PATH), {QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(20'000));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(program.readAllStandardOutput().trimmed(), "Vantorel Version 1.00");
}

} // namespace
} // namespace vantorel::test
