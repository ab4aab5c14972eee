// The layers of docs/decisions.md hold in the tree: no file includes a header
// of a row above its own, and the widget-free folders name nothing of
// QtWidgets. The rules are read from that page, so the page stays the rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = VANTOREL_SOURCE_DIR;

// A path of the table: a folder (matches what lies under it) or a file-name
// start ending in '*'.
struct SPattern {
    std::string strPrefix;
    size_t nRow = 0;
};

struct SRules {
    std::vector<SPattern> patterns;
    std::vector<std::string> rowNames; // each row's first path, for messages
    std::vector<SPattern> widgetFree;
};

SPattern MakePattern(std::string strPath, size_t nRow)
{
    if (!strPath.empty() && strPath.back() == '*')
        strPath.pop_back();
    else if (!strPath.empty() && strPath.back() != '/')
        strPath += '/';
    return {strPath, nRow};
}

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

SRules ReadRules()
{
    const std::string strPage = ReadText(kRoot / "docs/decisions.md");
    SRules rules;
    const size_t nStructure = strPage.find("## Structure");
    const size_t nOpen = strPage.find("```\n", nStructure);
    const size_t nClose = strPage.find("```", nOpen + 4);
    if (nStructure == std::string::npos || nOpen == std::string::npos || nClose == std::string::npos)
        return rules;
    // Rows top to bottom; a path without a library joins the row above.
    std::vector<std::vector<std::string>> rows;
    std::istringstream table(strPage.substr(nOpen + 4, nClose - nOpen - 4));
    for (std::string strLine; std::getline(table, strLine);) {
        std::istringstream words(strLine);
        std::string strPath, strLibrary;
        words >> strPath >> strLibrary;
        if (strPath.find('/') == std::string::npos)
            continue;
        if (strLibrary.rfind("vantorel", 0) == 0 || rows.empty())
            rows.emplace_back();
        rows.back().push_back(strPath);
    }
    // Row numbers count upwards, so that a higher number is a higher layer.
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t nRow = rows.size() - 1 - i;
        for (const std::string& strPath : rows[i])
            rules.patterns.push_back(MakePattern(strPath, nRow));
    }
    rules.rowNames.resize(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rules.rowNames[rows.size() - 1 - i] = rows[i].front();

    const size_t nFree = strPage.find("Widget-free", nClose);
    const size_t nFrom = strPage.find('`', nFree);
    const size_t nTo = strPage.find('`', nFrom + 1);
    if (nFree == std::string::npos || nFrom == std::string::npos || nTo == std::string::npos)
        return rules;
    std::istringstream freeList(strPage.substr(nFrom + 1, nTo - nFrom - 1));
    for (std::string strPath; freeList >> strPath;)
        rules.widgetFree.push_back(MakePattern(strPath, 0));
    return rules;
}

// The longest pattern that matches strFile, or none.
const SPattern* Match(const std::vector<SPattern>& patterns, const std::string& strFile)
{
    const SPattern* pBest = nullptr;
    for (const SPattern& pattern : patterns)
        if (strFile.rfind(pattern.strPrefix, 0) == 0 &&
            (!pBest || pattern.strPrefix.size() > pBest->strPrefix.size()))
            pBest = &pattern;
    return pBest;
}

// The program's code: every .h and .cpp outside tests, benchmarks and builds.
std::vector<std::string> ProgramFiles()
{
    std::vector<std::string> files;
    for (auto it = fs::recursive_directory_iterator(kRoot); it != fs::recursive_directory_iterator(); ++it) {
        const std::string strRelative = fs::relative(it->path(), kRoot).generic_string();
        if (it->is_directory()) {
            if (strRelative == "tests" || strRelative == "bench" || strRelative == "build" ||
                strRelative[0] == '.')
                it.disable_recursion_pending();
            continue;
        }
        const std::string strExtension = it->path().extension().string();
        if (strExtension == ".h" || strExtension == ".cpp")
            files.push_back(strRelative);
    }
    return files;
}

TEST(LayersTest, NoFileIncludesAHeaderOfALayerAboveItsOwn)
{
    const SRules rules = ReadRules();
    ASSERT_GT(rules.rowNames.size(), 10u)
        << "the table under \"## Structure\" in docs/decisions.md was not found";
    ASSERT_FALSE(rules.widgetFree.empty()) << "the widget-free list in docs/decisions.md was not found";

    const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    const std::regex widgets(R"(QtWidgets|QWidget|QDialog)");
    const std::vector<std::string> files = ProgramFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& strFile : files) {
        const SPattern* pOwn = Match(rules.patterns, strFile);
        if (!pOwn) {
            ADD_FAILURE() << strFile << " lies in no row of the table in docs/decisions.md";
            continue;
        }
        const bool bWidgetFree = Match(rules.widgetFree, strFile) != nullptr;
        std::istringstream lines(ReadText(kRoot / strFile));
        int nLine = 0;
        for (std::string strLine; std::getline(lines, strLine);) {
            ++nLine;
            std::smatch m;
            if (strLine.find("include") == std::string::npos || !std::regex_search(strLine, m, include))
                continue;
            const std::string strHeader = m[2];
            if (bWidgetFree && std::regex_search(strHeader, widgets))
                ADD_FAILURE() << strFile << ":" << nLine << " is widget-free but includes " << strHeader;
            if (m[1] != "\"" || !fs::exists(kRoot / strHeader))
                continue;
            const SPattern* pTheirs = Match(rules.patterns, strHeader);
            if (pTheirs && pTheirs->nRow > pOwn->nRow)
                ADD_FAILURE() << strFile << ":" << nLine << " (" << rules.rowNames[pOwn->nRow]
                              << ") includes " << strHeader << " of a layer above ("
                              << rules.rowNames[pTheirs->nRow] << ")";
        }
    }
}

} // namespace
