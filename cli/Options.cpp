#include "cli/Options.h"

#include <charconv>
#include <cstdio>

#include "cli/KindLists.h"
#include "res/strings/cli.h"
#include "transfer/kinds/DocumentKinds.h"

namespace vantorel::cli {

namespace {

struct CCommandWord {
    const char* szWord;
    ECommand command;
};

constexpr CCommandWord kCommands[] = {
    {"ports", ECommand::Ports},
    {"get", ECommand::Get},
    {"send", ECommand::Send},
    {"backup", ECommand::Backup},
    {"restore", ECommand::Restore},
    {"verify", ECommand::Verify},
    {"info", ECommand::Info},
    {"convert", ECommand::Convert},
    {"library", ECommand::Library},
    {"search", ECommand::Search},
    {"duplicates", ECommand::Duplicates},
    {"diff", ECommand::Diff},
};

struct CLibraryWord {
    const char* szWord;
    ELibraryAction action;
};
constexpr CLibraryWord kLibraryActions[] = {
    {"add", ELibraryAction::Add}, {"scan", ELibraryAction::Scan}, {"problems", ELibraryAction::Problems}};

bool IsLibraryCommand(ECommand c)
{
    return c == ECommand::Library || c == ECommand::Search || c == ECommand::Duplicates;
}

bool Usage(std::string& error, const std::string& text)
{
    error = text + res::kCliSeeHelp;
    return false;
}

bool ParseRetries(const std::string& text, int& n)
{
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, n);
    return ec == std::errc() && p == end && n >= 1 && n <= 100;
}

bool UsesPorts(ECommand c)
{
    return c != ECommand::Info && c != ECommand::Help && c != ECommand::Convert && c != ECommand::Diff &&
           !IsLibraryCommand(c);
}

} // namespace

std::string FormatText(const char* pattern, const std::string& a, const std::string& b, const std::string& c,
                       const std::string& d, const std::string& e)
{
    const int n = std::snprintf(nullptr, 0, pattern, a.c_str(), b.c_str(), c.c_str(), d.c_str(), e.c_str());
    std::string text(size_t(n > 0 ? n : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, a.c_str(), b.c_str(), c.c_str(), d.c_str(),
                  e.c_str());
    return text;
}

bool ParseOptions(const std::vector<std::string>& args, COptions& options, std::string& error)
{
    options = COptions{};
    std::vector<std::string> words;
    std::optional<std::string> output;
    std::vector<std::string> given; // options seen, to check they apply
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "-h" || arg == "--help") {
            options.command = ECommand::Help;
            return true;
        }
        if (arg == "--quiet" || arg == "-q") {
            options.bQuiet = true;
            continue;
        }
        if (arg == "--keep-partial" || arg == "--lenient" || arg == "--any-device" || arg == "--json" ||
            arg == "--starred") {
            (arg == "--keep-partial" ? options.bKeepPartial
             : arg == "--lenient"    ? options.bLenient
             : arg == "--json"       ? options.bJson
             : arg == "--starred"    ? options.bStarred
                                     : options.bAnyDevice) = true;
            given.push_back(arg);
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-') {
            // Options with a value: "--midi-in 3" or "--midi-in=3".
            std::string value;
            bool bHasValue = false;
            if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                bHasValue = true;
            }
            if (arg != "--midi-in" && arg != "--midi-out" && arg != "--retries" && arg != "-o" &&
                arg != "--output" && arg != "--kind" && arg != "--tag")
                return Usage(error, FormatText(res::kCliUnknownOption, arg));
            if (!bHasValue) {
                if (i + 1 >= args.size())
                    return Usage(error, FormatText(res::kCliOptionNeedsValue, arg));
                value = args[++i];
            }
            given.push_back(arg);
            if (arg == "--midi-in")
                options.midiIn = value;
            else if (arg == "--midi-out")
                options.midiOut = value;
            else if (arg == "--retries") {
                if (!ParseRetries(value, options.nRetries))
                    return Usage(error, FormatText(res::kCliBadRetries, value));
            } else if (arg == "--kind") {
                options.pSearchKind = DocumentKinds().FromWord(value);
                if (!options.pSearchKind)
                    return Usage(
                        error, FormatText(res::kCliUnknownKind, value, KindWordList(DocumentKinds().All())));
            } else if (arg == "--tag")
                options.strTag = value;
            else
                output = value;
            continue;
        }
        words.push_back(arg);
    }

    if (words.empty())
        return Usage(error, res::kCliNoCommand);
    const std::string& word = words[0];
    bool bKnown = false;
    for (const CCommandWord& c : kCommands)
        if (word == c.szWord) {
            options.command = c.command;
            bKnown = true;
        }
    if (!bKnown)
        return Usage(error, FormatText(res::kCliUnknownCommand, word));

    for (const std::string& opt : given) {
        const bool bApplies = (opt == "--midi-in" || opt == "--midi-out" || opt == "--retries")
                                  ? UsesPorts(options.command)
                              : opt == "--keep-partial"
                                  ? options.command == ECommand::Get || options.command == ECommand::Backup
                              : opt == "--lenient" ? options.command == ECommand::Convert
                              : opt == "--any-device"
                                  ? options.command == ECommand::Convert || options.command == ECommand::Diff
                              : opt == "--json" ? IsLibraryCommand(options.command)
                              : opt == "--kind" || opt == "--tag" || opt == "--starred"
                                  ? options.command == ECommand::Search
                                  : options.command == ECommand::Get; // -o
        if (!bApplies)
            return Usage(error, FormatText(res::kCliOptionNotHere, opt, word));
    }

    // The arguments each command takes after its word: at least, at most.
    size_t nMin = 0, nMax = 0;
    const char* szWhat = "";
    switch (options.command) {
    case ECommand::Ports: break;
    case ECommand::Get: nMin = 1, nMax = 2, szWhat = res::kCliWhatKindFile; break;
    case ECommand::Send: nMin = 1, nMax = 2, szWhat = res::kCliWhatFile; break;
    case ECommand::Verify:
    case ECommand::Info: nMin = 1, nMax = 1, szWhat = res::kCliWhatFile; break;
    case ECommand::Backup:
    case ECommand::Restore: nMin = 1, nMax = 1, szWhat = res::kCliWhatDir; break;
    case ECommand::Convert: nMin = 2, nMax = 2, szWhat = res::kCliWhatInOut; break;
    case ECommand::Diff: nMin = 2, nMax = 2, szWhat = res::kCliWhatTwoFiles; break;
    case ECommand::Library: nMin = 1, nMax = words.size(), szWhat = res::kCliWhatLibrary; break;
    case ECommand::Search: nMin = 1, nMax = 1, szWhat = res::kCliWhatText; break;
    case ECommand::Duplicates:
    case ECommand::Help: break;
    }
    const size_t nArgs = words.size() - 1;
    if (nArgs < nMin)
        return Usage(error, FormatText(res::kCliMissingArgument, word, szWhat));
    if (nArgs > nMax)
        return Usage(error, FormatText(res::kCliTooManyArguments, word, words[nMax + 1]));

    if (options.command == ECommand::Get) {
        options.pKind = DocumentKinds().FromWord(words[1]);
        if (!options.pKind)
            return Usage(error,
                         FormatText(res::kCliUnknownKind, words[1], KindWordList(DocumentKinds().All())));
        if (!output)
            return Usage(error, res::kCliOutputMissing);
        options.strPath = *output;
        if (nArgs == 2) {
            options.strEntry = words[2];
            options.entry = options.pKind->ParseEntryLabel(words[2]);
            if (!options.entry)
                return Usage(error, FormatText(res::kCliUnknownEntry, options.pKind->Word(), words[2],
                                               options.pKind->LabelRange()));
        }
        return true;
    }
    if (options.command == ECommand::Library) {
        const CLibraryWord* pAction = nullptr;
        for (const CLibraryWord& a : kLibraryActions)
            if (words[1] == a.szWord)
                pAction = &a;
        if (!pAction)
            return Usage(error, FormatText(res::kCliUnknownLibraryAction, words[1]));
        options.libraryAction = pAction->action;
        options.folders.assign(words.begin() + 2, words.end());
        if (pAction->action == ELibraryAction::Add && options.folders.empty())
            return Usage(error, FormatText(res::kCliMissingArgument, "library add", res::kCliWhatDirs));
        if (pAction->action != ELibraryAction::Add && !options.folders.empty())
            return Usage(error, FormatText(res::kCliTooManyArguments, "library " + words[1], words[2]));
        return true;
    }
    if (options.command == ECommand::Search) {
        options.strText = words[1];
        return true;
    }
    if (nArgs >= 1)
        options.strPath = words[1];
    if (options.command == ECommand::Convert || options.command == ECommand::Diff) {
        options.strTarget = words[2];
        return true;
    }
    if (nArgs == 2)
        options.strEntry = words[2]; // checked against the file's kind once it is read
    return true;
}

} // namespace vantorel::cli
