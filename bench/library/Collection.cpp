#include "bench/library/Collection.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "data/MotionDoc.h"
#include "data/PatchDoc.h"
#include "data/PatternDoc.h"
#include "data/PerformDoc.h"
#include "data/SystemDoc.h"
#include "framework/core/Archive.h"

namespace vantorel::bench {

namespace {

constexpr const char* kWords[] = {
    "Warm",  "Pad",    "Bright", "Brass", "String", "Bell",  "Glass", "Soft",  "Dark",   "Lead",
    "Bass",  "Choir",  "Organ",  "Piano", "Sweep",  "Pluck", "Echo",  "Space", "Analog", "Drift",
    "Fat",   "Thin",   "Hollow", "Metal", "Wood",   "Air",   "Flute", "Reed",  "Voice",  "Noise",
    "Pulse", "Saw",    "Square", "Sync",  "Wave",   "Deep",  "High",  "Low",   "Slow",   "Fast",
    "Night", "Dawn",   "Storm",  "Rain",  "Ice",    "Fire",  "Dream", "Cloud", "Harp",   "Horn",
    "Cello", "Violin", "Chime",  "Drone", "Swell",  "Stab",  "Hit",   "Wash",  "Mellow", "Sharp",
};

class CGenerator {
public:
    explicit CGenerator(unsigned nSeed) : m_rng(nSeed) {}

    std::string Name()
    {
        std::string name = Word() + " " + Word() + " " + std::to_string(m_rng() % 100);
        name.resize(std::min<size_t>(name.size(), 16));
        return name;
    }
    // A patch: new, or (one in ten) a sound made before, under any name.
    CPatchRecord Patch()
    {
        CPatchRecord rec;
        if (!m_sounds.empty() && m_rng() % 10 == 0) {
            rec = m_sounds[m_rng() % m_sounds.size()];
        } else {
            for (size_t i = kEntryNameSize; i < CPatchRecord::kSize; ++i)
                rec.m_data[i] = uint8_t(m_rng() % 128);
            if (m_sounds.size() < 5000)
                m_sounds.push_back(rec);
        }
        rec.SetName(Name());
        return rec;
    }
    void Data(CVarEntry& e, size_t nMax)
    {
        std::vector<uint8_t> data(m_rng() % nMax);
        for (uint8_t& b : data)
            b = uint8_t(m_rng() % 128);
        e.m_byValue = uint8_t(m_rng() % 128);
        e.SetData(std::move(data));
    }
    uint8_t Byte() { return uint8_t(m_rng() % 128); }

private:
    std::string Word() { return kWords[m_rng() % std::size(kWords)]; }
    std::mt19937 m_rng;
    std::vector<CPatchRecord> m_sounds;
};

// One maker per kind of file, in turn: a document filled as a user's might be.
struct CFileMaker {
    const char* szExt;
    std::unique_ptr<CDocument> (*make)(CGenerator& gen);
};

constexpr CFileMaker kMakers[] = {
    {".pat",
     [](CGenerator& gen) -> std::unique_ptr<CDocument> {
         auto doc = std::make_unique<CPatchDoc>();
         for (CPatchRecord& rec : doc->m_aPatch)
             rec = gen.Patch();
         return doc;
     }},
    {".pfm",
     [](CGenerator& gen) -> std::unique_ptr<CDocument> {
         auto doc = std::make_unique<CPerformDoc>();
         for (CPerformRecord& rec : doc->m_aPerform) {
             rec.SetName(gen.Name());
             rec.m_aPatch[0] = gen.Patch();
             rec.m_aPatch[1] = gen.Patch();
         }
         return doc;
     }},
    {".syp",
     [](CGenerator& gen) -> std::unique_ptr<CDocument> {
         auto doc = std::make_unique<CSystemDoc>();
         for (uint8_t& b : doc->m_aSystem)
             b = gen.Byte();
         return doc;
     }},
    {".ptn",
     [](CGenerator& gen) -> std::unique_ptr<CDocument> {
         auto doc = std::make_unique<CPatternDoc>();
         for (CVarEntry& e : doc->m_aPattern)
             gen.Data(e, 400);
         return doc;
     }},
    {".mtn",
     [](CGenerator& gen) -> std::unique_ptr<CDocument> {
         auto doc = std::make_unique<CMotionDoc>();
         for (CVarEntry& e : doc->m_aMotion)
             gen.Data(e, 2000);
         return doc;
     }},
};

} // namespace

CCollectionStats WriteCollection(const std::string& dir, int nFiles, unsigned nSeed)
{
    CGenerator gen(nSeed);
    CCollectionStats stats;
    for (int i = 0; i < nFiles; ++i) {
        const CFileMaker& maker = kMakers[size_t(i) % std::size(kMakers)];
        const std::unique_ptr<CDocument> doc = maker.make(gen);
        const std::string ext = maker.szExt;
        std::vector<uint8_t> bytes;
        CArchive ar(bytes);
        doc->Serialize(ar);
        if (i % 100 == 99) { // damaged: cut short
            bytes.resize(bytes.size() / 2);
            ++stats.nDamaged;
        }
        const std::string folder = dir + "/set" + std::to_string(i / 100);
        std::filesystem::create_directories(folder);
        const std::string path = folder + "/bank" + std::to_string(i) + ext;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        ++stats.nFiles;
        stats.nBytes += (long long)bytes.size();
    }
    return stats;
}

} // namespace vantorel::bench
