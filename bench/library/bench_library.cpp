// The library over a generated collection (10,000 files by default, or the
// number given; a folder after it keeps them there): the first scan against merely reading the same files, a
// re-scan with nothing changed, and the time a name search takes to give its
// first page. Prints each figure beside its limit with a ratio (below 1 is
// within it). Always exits 0: a figure, not a test.
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "bench/library/Collection.h"
#include "library/LibraryIndex.h"

using namespace vantorel;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Every file read whole, as a scan must at least do.
double ReadAll(const std::string& dir, long long& nBytes)
{
    const auto t0 = Clock::now();
    std::vector<char> buf;
    nBytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        buf.assign(std::istreambuf_iterator<char>(in), {});
        nBytes += (long long)buf.size();
    }
    return Seconds(t0);
}

double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000 + double(ts.tv_nsec) / 1e6;
}

double P95(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
}

// The 95th percentile of the queries' times, in milliseconds, and of their CPU time.
double SearchP95(const CLibraryIndex& index, const std::vector<std::string>& queries, int& nFound,
                 double& cpuP95)
{
    std::vector<double> ms, cpu;
    nFound = 0;
    for (const std::string& text : queries) {
        CLibraryQuery q;
        q.strText = text;
        const auto t0 = Clock::now();
        const double c0 = ThreadCpuMs();
        nFound += int(index.Search(q).size());
        cpu.push_back(ThreadCpuMs() - c0);
        ms.push_back(Seconds(t0) * 1000);
    }
    cpuP95 = P95(cpu);
    return P95(ms);
}

} // namespace

int main(int argc, char** argv)
{
    const int nFiles = argc > 1 ? std::max(5, std::atoi(argv[1])) : 10000;
    // A second argument keeps the collection and its index in that folder.
    QTemporaryDir dir;
    const std::string root = argc > 2 ? std::string(argv[2]) : dir.path().toStdString();
    const std::string files = root + "/collection";
    const auto tGen = Clock::now();
    const bench::CCollectionStats stats = bench::WriteCollection(files, nFiles);
    std::printf("collection: %d files (%d cut short), %.1f MB, written in %.1f s\n", stats.nFiles,
                stats.nDamaged, double(stats.nBytes) / 1e6, Seconds(tGen));

    long long nBytes = 0;
    ReadAll(files, nBytes); // once to warm the cache, as the scan will find it
    const double readS = ReadAll(files, nBytes);

    std::string error;
    auto index = CLibraryIndex::Open(root + "/library.db", error);
    if (!index || !index->AddFolder(files, error)) {
        std::printf("the library could not be opened: %s\n", error.c_str());
        return 0;
    }
    auto t0 = Clock::now();
    const std::clock_t c0 = std::clock();
    const double t0Cpu = ThreadCpuMs();
    const CScanSummary first = index->Scan();
    const double scanS = Seconds(t0);
    const double scanCpuS = double(std::clock() - c0) / CLOCKS_PER_SEC;
    const double scanThreadS = (ThreadCpuMs() - t0Cpu) / 1000;
    const int nEntries = index->Count({});
    std::printf(
        "first scan: %d files, %d entries, %d left out: %.2f s (limit 15 s) ratio %.2f; CPU time %.2f s, "
        "%.2f s of it writing the index\n",
        first.nFiles, nEntries, first.nProblems, scanS, scanS / 15.0, scanCpuS, scanThreadS);
    std::printf("first scan against reading the same files (%.3f s): %.1fx (limit 20x) ratio %.2f\n", readS,
                scanS / readS, scanS / readS / 20.0);

    t0 = Clock::now();
    const CScanSummary again = index->Scan();
    const double rescanS = Seconds(t0);
    std::printf("re-scan, nothing changed (%d read): %.3f s (limit 1 s) ratio %.2f\n", again.nRead, rescanS,
                rescanS);

    // Queries from the names' words: parts of 3 to 6 letters, and of 1 or 2.
    const char* kWords[] = {"Warm",   "Bright", "String", "Glass", "Choir", "Analog",
                            "Hollow", "Violin", "Mellow", "Storm", "Pulse", "Drone"};
    std::mt19937 rng(7);
    std::vector<std::string> longQueries, shortQueries;
    for (int i = 0; i < 60; ++i) {
        const std::string w = kWords[rng() % std::size(kWords)];
        const size_t nLen = 3 + rng() % std::min<size_t>(4, w.size() - 2);
        longQueries.push_back(w.substr(rng() % (w.size() - nLen + 1), nLen));
        const size_t nShort = 1 + rng() % 2;
        shortQueries.push_back(w.substr(rng() % (w.size() - nShort + 1), nShort));
    }
    int nFound = 0;
    double cpu = 0;
    const double p95Long = SearchP95(*index, longQueries, nFound, cpu);
    std::printf(
        "name search, 3 to 6 characters, first page (%d rows over %zu queries): p95 %.2f ms (limit 20 ms) "
        "ratio %.2f; CPU time p95 %.2f ms\n",
        nFound, longQueries.size(), p95Long, p95Long / 20.0, cpu);
    const double p95Short = SearchP95(*index, shortQueries, nFound, cpu);
    std::printf(
        "name search, 1 or 2 characters, first page (%d rows over %zu queries): p95 %.2f ms (limit 100 ms) "
        "ratio %.2f; CPU time p95 %.2f ms\n",
        nFound, shortQueries.size(), p95Short, p95Short / 100.0, cpu);
    return 0;
}
