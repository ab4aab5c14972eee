#include "app/StartOptions.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "res/strings/app.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel {

namespace {

bool IsSet(const char* szVariable)
{
    const char* value = std::getenv(szVariable);
    return value && *value;
}

// X11 and Wayland need their display; any other platform (offscreen, vnc,
// ...) was chosen by whoever started the program and brings its own.
bool PlatformNeedsDisplay(std::string_view platform)
{
    if (platform.empty())
        return true;
    while (!platform.empty()) {
        const size_t end = platform.find(';');
        const std::string_view one = platform.substr(0, end);
        if (!one.starts_with("xcb") && !one.starts_with("wayland"))
            return false;
        platform = end == std::string_view::npos ? std::string_view() : platform.substr(end + 1);
    }
    return true;
}

} // namespace

std::optional<int> AnswerBeforeStart(int argc, char** argv)
{
    std::string_view platform = IsSet("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        if (arg == "--version") {
            std::printf("%s\n", res::kAboutVersion);
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::string extensions;
            for (const CDocKind* pKind : DocumentKinds().All())
                extensions += (extensions.empty() ? "" : ", ") + std::string(pKind->Extension());
            std::printf(res::kCommandLineHelp, extensions.c_str());
            return 0;
        }
        if ((arg == "-platform" || arg == "--platform") && i + 1 < argc)
            platform = argv[i + 1];
    }
#if defined(__unix__) && !defined(__APPLE__)
    if (PlatformNeedsDisplay(platform) && !IsSet("DISPLAY") && !IsSet("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "%s\n", res::kNoDisplay);
        return 1;
    }
#endif
    return std::nullopt;
}

} // namespace vantorel
