// vantorel-cli as a user meets it: the built program's answers to bad command
// lines, its help, `info` on library files, and the entry labels against the
// windows' own.
#include <QDir>
#include <QFile>

#include "cli/CliFixture.h"
#include "cli/ExitCodes.h"
#include "cli/Json.h"
#include "cli/KindLists.h"
#include "cli/LibraryFile.h"
#include "cli/Options.h"
#include "data/EntryName.h"
#include "res/Strings.h"
#include "res/strings/cli.h"
#include "transfer/kinds/DocumentKinds.h"
#include "views/PatternView.h"

namespace vantorel::test {
namespace {

struct CUsageCase {
    QStringList args;
    const char* szSays; // a piece of the one line on stderr
};

TEST(CliProgram, EveryUsageErrorIsOneLineAndExitTwo)
{
    const CUsageCase cases[] = {
        {{}, "No command given"},
        {{"frobnicate"}, "Unknown command 'frobnicate'"},
        {{"ports", "--bogus"}, "Unknown option '--bogus'"},
        {{"get"}, "needs a KIND"},
        {{"get", "sound", "-o", "x.pat"}, "Unknown kind 'sound'"},
        {{"get", "patch", "C99", "-o", "x.pat"}, "no patch entry 'C99'"},
        {{"get", "pattern", "C1", "-o", "x.ptn"}, "no pattern entry 'C1'"},
        {{"get", "motion", "A3", "-o", "x.mtn"}, "no motion entry 'A3'"},
        {{"get", "system", "both", "-o", "x.syp"}, "no system entry 'both'"},
        {{"get", "patch"}, "needs -o FILE"},
        {{"get", "patch", "-o"}, "Option -o needs a value"},
        {{"get", "patch", "-o", "x.pat", "--retries", "many"}, "--retries takes a whole number"},
        {{"info"}, "needs a FILE"},
        {{"info", "a.pat", "b.pat"}, "Too many arguments for info: 'b.pat'"},
        {{"info", "a.pat", "--midi-in", "0"}, "Option --midi-in does not apply to info"},
        {{"send", "a.pat", "-o", "b.pat"}, "Option -o does not apply to send"},
        {{"backup"}, "needs a DIR"},
        {{"restore", "d", "e"}, "Too many arguments for restore"},
        {{"ports", "--midi-in"}, "Option --midi-in needs a value"},
        {{"get", "patch", "-o", "x.pat", "--midi-in", "no such port"},
         "There is no MIDI input 'no such port'"},
        {{"get", "patch", "-o", "x.pat", "--midi-out", "999"}, "There is no MIDI output '999'"},
        // No settings file (a cron job): not the built-in simulator.
        {{"backup", "nightly"},
         "No MIDI input and output chosen for the command line. Run vantorel-cli ports"},
        {{"send", "a.pat"}, "No MIDI output chosen"},
        {{"convert", "a.pat"}, "needs IN and OUT"},
        {{"convert", "a.pat", "b.syx", "--midi-in", "0"}, "Option --midi-in does not apply to convert"},
        {{"get", "patch", "-o", "x.pat", "--lenient"}, "Option --lenient does not apply to get"},
        {{"convert", "a.syx", "b.SYX"}, "both files are SysEx files"},
        {{"convert", "a.pat", "b.txt"}, "b.txt: name the new file .pat, .pfm"},
        {{"diff", "a.pat"}, "The diff command needs two files, A and B"},
        {{"diff", "a.pat", "b.pat", "--lenient"}, "Option --lenient does not apply to diff"},
    };
    for (const CUsageCase& c : cases) {
        const CProgramRun run = RunProgram(c.args);
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(run.nExit, cli::kExitUsage);
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_NE(run.err.find(c.szSays), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    // Nothing was written for the gets that were refused.
    EXPECT_FALSE(QFile::exists("x.pat"));
}

// --json lines stay valid UTF-8: well-formed sequences (a path) pass, other
// bytes (a name byte of 0x80 or more) go out as their code point.
TEST(CliProgram, JsonTextIsAlwaysValidUtf8)
{
    const struct {
        std::string in, out;
    } cases[] = {
        {"Pad \"1\"\t", R"("Pad \"1\"\t")"},     {"/home/j\xC3\xB6rg/a.pat", "\"/home/j\xC3\xB6rg/a.pat\""},
        {"Pad\xFF\x80", R"("Pad\u00ff\u0080")"}, {"\xC3", R"("\u00c3")"}, // cut short
        {"\xC0\xAF", R"("\u00c0\u00af")"},                                // overlong
        {"\xE2\x82\xAC!", "\"\xE2\x82\xAC!\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::JsonString(c.in), c.out) << c.in;
}

TEST(CliProgram, HelpListsTheCommandsAndTheExitCodes)
{
    const CProgramRun run = RunProgram({"--help"});
    EXPECT_EQ(run.nExit, cli::kExitDone);
    for (const char* word : {"ports",
                             "get KIND [ENTRY] -o FILE",
                             "send FILE [ENTRY]",
                             "backup DIR",
                             "restore DIR",
                             "verify FILE",
                             "info FILE",
                             "diff A B",
                             "--midi-in",
                             "--retries",
                             "--keep-partial",
                             "--lenient",
                             "--any-device",
                             "--quiet",
                             "2 usage error",
                             "3 MIDI error",
                             "4 file error",
                             "130",
                             "library add DIR...",
                             "library scan",
                             "library problems",
                             "search TEXT",
                             "duplicates",
                             "--json"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
}

// The help and the messages' lists name exactly the kinds given: each of the
// registered kinds left out in turn.
TEST(CliKindLists, NameEveryKindGivenAndNoOther)
{
    const cli::CKindList all = DocumentKinds().All();
    for (size_t nLeftOut = 0; nLeftOut < all.size(); ++nLeftOut) {
        cli::CKindList kinds = all;
        kinds.erase(kinds.begin() + std::ptrdiff_t(nLeftOut));
        const std::string help = cli::UsageText(kinds);
        const std::string words = cli::KindWordList(kinds);
        const std::string extensions = cli::ExtensionList(kinds, true);
        const std::string files = cli::BackupFileList(kinds);
        for (const CDocKind* kind : all) {
            SCOPED_TRACE(std::string(kind->Word()) + (kind == all[nLeftOut] ? " left out" : ""));
            const bool bNamed = kind != all[nLeftOut];
            const std::string labels = kind->EntryLabel(kind->EntryCount() - 1) + " (" + kind->Word() + ")";
            EXPECT_EQ(help.find(labels) != std::string::npos, bNamed);
            EXPECT_EQ(help.find(std::string("DIR/") + kind->BackupFile()) != std::string::npos, bNamed);
            EXPECT_EQ(help.find(std::string(kind->Extension()) + ",") != std::string::npos, bNamed);
            EXPECT_EQ(words.find(kind->Word()) != std::string::npos, bNamed);
            EXPECT_EQ(extensions.find(kind->Extension()) != std::string::npos, bNamed);
            EXPECT_EQ(files.find(kind->BackupFile()) != std::string::npos, bNamed);
        }
        EXPECT_NE(help.find("all " + res::CountWord(kinds.size()) + " kinds"), std::string::npos);
        for (const std::string& line : Lines(help))
            EXPECT_LE(line.size(), size_t(res::kCliUsageBackupWidth)) << line;
    }
}

TEST(CliProgram, PortsListsTheBuiltInSimulatorAsDeviceZero)
{
    const CProgramRun run = RunProgram({"ports"});
    EXPECT_EQ(run.nExit, cli::kExitDone) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "MIDI inputs:");
    EXPECT_EQ(lines[1], "    0  KQ-3300 Simulator  (built-in simulator)");
}

TEST(CliProgram, InfoShowsTheKindAndEveryEntryOfRealFiles)
{
    struct CFileCase {
        const char* szFile;
        const char* szKind;
        size_t nEntries;
        const char* szSecondLine;
    };
    const CFileCase cases[] = {
        {"patch/new.pat", "patch", 128, "A11 "},
        {"perform/new.pfm", "performance", 64, "11 "},
        {"system/new.syp", "system", 2, "system System Parameter"},
        {"pattern/edited.ptn", "pattern", 48, "C#2    PATTERN 1, "},
        {"motion/cleared.mtn", "motion", 4, "A1     MOTION 1, 21 bytes"},
    };
    for (const CFileCase& c : cases) {
        const QString path = QString(VANTOREL_CORPUS_DIR) + "/" + c.szFile;
        const CProgramRun run = RunProgram({"info", path});
        SCOPED_TRACE(c.szFile);
        EXPECT_EQ(run.nExit, cli::kExitDone) << run.err;
        const std::vector<std::string> lines = Lines(run.out);
        ASSERT_EQ(lines.size(), c.nEntries + 1);
        EXPECT_EQ(lines[0],
                  path.toStdString() + ": " + c.szKind + ", " + std::to_string(c.nEntries) + " entries");
        EXPECT_EQ(lines[1].rfind(c.szSecondLine, 0), 0u) << lines[1];
    }
}

TEST(CliProgram, InfoNamesEachPatchByItsLabel)
{
    QTemporaryDir dir;
    CPatchDoc bank;
    bank.m_aPatch[16].SetName("Night Strings"); // A31
    bank.m_aPatch[70].SetName("Bell Pad");      // B17
    const std::string path = (dir.path() + "/bank.pat").toStdString();
    std::string error;
    ASSERT_TRUE(cli::SaveLibraryFile(path, bank, error)) << error;
    const CProgramRun run = RunProgram({"info", QString::fromStdString(path)});
    ASSERT_EQ(run.nExit, cli::kExitDone) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 129u);
    EXPECT_EQ(lines[17], "A31    Night Strings   ");
    EXPECT_EQ(lines[71], "B17    Bell Pad        ");
}

TEST(CliProgram, FilesThatCannotBeUsedAreOneLineAndExitFour)
{
    QTemporaryDir dir;
    const QString garbage = dir.path() + "/notes.pat";
    QFile f(garbage);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some text, not a library file");
    f.close();
    // A patch file cut short inside its records.
    const std::vector<uint8_t> bytes = FileBytes(QString(VANTOREL_CORPUS_DIR) + "/patch/new.pat");
    ASSERT_GT(bytes.size(), 1000u);
    const QString cut = dir.path() + "/cut.pat";
    QFile c(cut);
    ASSERT_TRUE(c.open(QIODevice::WriteOnly));
    c.write(reinterpret_cast<const char*>(bytes.data()), 1000);
    c.close();
    // A SysEx file with a message of another maker only.
    const QString noise = dir.path() + "/other.syx";
    QFile n(noise);
    ASSERT_TRUE(n.open(QIODevice::WriteOnly));
    n.write(QByteArray::fromHex("f0410010420000f7"));
    n.close();

    const struct {
        QStringList args;
        const char* szSays;
    } cases[] = {
        {{"info", dir.path() + "/missing.pat"}, "does not exist"},
        {{"info", dir.path()}, "is not a regular file"},
        {{"info", garbage}, "is not a library file"},
        {{"info", cut}, "ends too early"},
        {{"verify", garbage, "--midi-in", "0", "--midi-out", "0"}, "is not a library file"},
        {{"send", cut, "--midi-in", "0", "--midi-out", "0"}, "ends too early"},
        {{"convert", garbage, dir.path() + "/out.syx"}, "is not a library file"},
        {{"convert", QString(VANTOREL_CORPUS_DIR) + "/patch/new.pat", dir.path() + "/out.ptn"},
         "holds patch data, not pattern data"},
        {{"convert", noise, dir.path() + "/out.pat"}, "holds no patch data of the KQ-3300"},
        {{"convert", dir.path() + "/missing.syx", dir.path() + "/out.pat"}, "does not exist"},
        {{"diff", QString(VANTOREL_CORPUS_DIR) + "/patch/new.pat", cut}, "ends too early"},
        {{"diff", noise, QString(VANTOREL_CORPUS_DIR) + "/patch/new.pat"}, "holds no data of the KQ-3300"},
        {{"diff", QString(VANTOREL_CORPUS_DIR) + "/patch/new.pat",
          QString(VANTOREL_CORPUS_DIR) + "/perform/new.pfm"},
         "holds patch data and"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CProgramRun run = RunProgram(c.args);
        EXPECT_EQ(run.nExit, cli::kExitFile);
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_NE(run.err.find(c.szSays), std::string::npos) << run.err;
    }
    // A refused conversion writes nothing.
    EXPECT_FALSE(QFile::exists(dir.path() + "/out.pat"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/out.syx"));
}

TEST(CliLabels, EveryLabelParsesBackToItsEntryInAnyCase)
{
    for (const CDocKind* pKind : DocumentKinds().All())
        for (int n = 0; n < pKind->EntryCount(); ++n) {
            const std::string label = pKind->EntryLabel(n);
            EXPECT_EQ(pKind->ParseEntryLabel(label), n) << label;
            std::string lower = label;
            for (char& ch : lower)
                ch = char(std::tolower(static_cast<unsigned char>(ch)));
            EXPECT_EQ(pKind->ParseEntryLabel(lower), n) << lower;
        }
    EXPECT_EQ(PatchKind().ParseEntryLabel("B17"), 70);
    EXPECT_EQ(PatchKind().ParseEntryLabel("B19"), std::nullopt);
    EXPECT_EQ(PerformanceKind().ParseEntryLabel("88"), 63);
    EXPECT_EQ(SystemKind().ParseEntryLabel("txrx"), 1);
    EXPECT_EQ(MotionKind().ParseEntryLabel("B2"), 3);
}

TEST(CliLabels, AreTheLabelsTheWindowsShow)
{
    for (int n = 0; n < CPatchDoc::kPatchCount; ++n)
        EXPECT_EQ(PatchKind().EntryLabel(n), FormatPatchLabel(n));
    for (int n = 0; n < CPerformDoc::kPerformanceCount; ++n)
        EXPECT_EQ(PerformanceKind().EntryLabel(n), FormatPerformanceLabel(n));
    for (int n = 0; n < CPatternDoc::kPatternCount; ++n) {
        std::string shown = CPatternView::NoteName(n);
        shown.erase(shown.find_last_not_of(' ') + 1);
        EXPECT_EQ(PatternKind().EntryLabel(n), shown);
    }
    EXPECT_EQ(PatternKind().EntryLabel(0), "C#2");
    EXPECT_EQ(PatternKind().EntryLabel(47), "C6");
    const char* motions[] = {"A1", "A2", "B1", "B2"};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(MotionKind().EntryLabel(n), motions[n]);
}

} // namespace
} // namespace vantorel::test
