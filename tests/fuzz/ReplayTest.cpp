// Runs every fuzz entry point over its seed corpus, and over seeded
// truncations and mutations of it, in the ordinary (sanitizer) build.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "FuzzTargets.h"

using namespace vantorel::fuzz;
namespace fs = std::filesystem;

namespace {
using Entry = int (*)(const uint8_t*, size_t);

std::vector<std::vector<uint8_t>> Corpus(const char* name)
{
    std::vector<std::vector<uint8_t>> files;
    const fs::path dir = fs::path(VANTOREL_FUZZ_CORPUS) / name;
    for (const auto& e : fs::directory_iterator(dir)) {
        std::ifstream f(e.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return files;
}

void Replay(const char* name, Entry entry)
{
    const auto corpus = Corpus(name);
    ASSERT_FALSE(corpus.empty()) << name;
    std::mt19937 rng(20261207);
    for (const auto& seed : corpus) {
        entry(seed.data(), seed.size());
        // Every truncation near the interesting edges, then random ones.
        for (size_t cut = 0; cut < seed.size() && cut < 160; ++cut)
            entry(seed.data(), cut);
        for (int i = 0; i < 200; ++i) {
            std::vector<uint8_t> m = seed;
            const int flips = 1 + int(rng() % 8);
            for (int f = 0; f < flips && !m.empty(); ++f)
                m[rng() % m.size()] = uint8_t(rng());
            if (rng() % 3 == 0)
                m.resize(rng() % (m.size() + 64), uint8_t(rng()));
            entry(m.data(), m.size());
        }
    }
}
} // namespace

TEST(FuzzReplay, FileLoadersSurviveTheirCorpusAndMutations)
{
    Replay("patch", LoadPatchBank);
    Replay("perform", LoadPerformanceBank);
    Replay("system", LoadSystem);
    Replay("pattern", LoadPattern);
    Replay("motion", LoadMotion);
}

TEST(FuzzReplay, MessageParserSurvivesItsCorpusAndMutations)
{
    Replay("parse", ParseMessage);
}

TEST(FuzzReplay, SysExStreamReaderSurvivesItsCorpusAndMutations)
{
    Replay("syx", ReadSysExStream);
}
TEST(FuzzReplay, AnswerFaultsSurviveTheirCorpusAndMutations)
{
    Replay("answer", AnswerFaults);
}
