// vantorel-cli's library commands in process: a folder added and scanned,
// then search, duplicates and their usage errors, each with its exit code.
#include "cli/CliFixture.h"
#include "library/LibraryFiles.h"

#include <cstdlib>

namespace vantorel::test {
namespace {

class CliLibrary : public CliInProcess {
protected:
    void SetUp() override
    {
        // The index goes where XDG_DATA_HOME says.
        const char* szOld = std::getenv("XDG_DATA_HOME");
        m_oldData = szOld ? std::optional<std::string>(szOld) : std::nullopt;
        ::setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
    }
    void TearDown() override
    {
        m_oldData ? (void)::setenv("XDG_DATA_HOME", m_oldData->c_str(), 1)
                  : (void)::unsetenv("XDG_DATA_HOME");
    }
    std::optional<std::string> m_oldData;
};

TEST_F(CliLibrary, SearchAndDuplicatesPrintWhatTheyFoundAndSayWhetherTheyFoundAnything)
{
    WritePatchBank(Path("lib/bank.pat"), {MakePatch("Warm Pad", 1), MakePatch("Pad \"Two\"", 2)});
    ASSERT_EQ(Run({"library", "add", Path("lib")}), 0) << m_err.str();
    ASSERT_EQ(Run({"library", "scan"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "Scanned 1 files: 1 read, 0 unchanged, 0 removed; 0 left out "
                           "(vantorel-cli library problems lists them).\n");

    const std::string bank = Path("lib/bank.pat");
    const struct {
        std::vector<std::string> args;
        int nExit;
        std::string firstLine; // of stdout, or of stderr for a usage error
    } kCases[] = {
        {{"search", "pad"}, 0, "A12          Pad \"Two\"        patch       " + bank},
        {{"search", "RM P"}, 0, "A11          Warm Pad         patch       " + bank},
        {{"search", "pad", "--json"},
         0,
         "{\"label\":\"A12\",\"name\":\"Pad \\\"Two\\\"\",\"kind\":\"patch\",\"file\":\"" + bank + "\""},
        {{"search", "pad", "--kind", "performance"}, 1, ""},
        {{"search", "", "--starred"}, 1, ""},
        {{"search", "Organ"}, 1, ""},
        {{"duplicates"}, 0, "INIT PATCH (patch), 126 places:"},
        {{"search"}, 2, "vantorel-cli: The search command needs"},
        {{"search", "pad", "--kind", "drum"}, 2, "vantorel-cli: Unknown kind 'drum'"},
        {{"library", "tidy"}, 2, "vantorel-cli: Unknown library command 'tidy'"},
        {{"info", bank, "--json"}, 2, "vantorel-cli: Option --json does not apply to info."},
        {{"library", "add", Path("none")},
         4,
         "vantorel-cli: The folder " + Path("none") + " does not exist."},
    };
    for (const auto& c : kCases) {
        std::string all;
        for (const std::string& a : c.args)
            all += a + " ";
        EXPECT_EQ(Run(c.args), c.nExit) << all << m_err.str();
        const std::vector<std::string> lines = Lines(c.nExit >= 2 ? m_err.str() : m_out.str());
        const std::string first = lines.empty() ? "" : lines.front();
        EXPECT_EQ(first.substr(0, c.firstLine.size()), c.firstLine) << all;
    }
}

} // namespace
} // namespace vantorel::test
