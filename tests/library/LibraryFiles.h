#pragma once
// Library files for the library's tests: banks whose patches have chosen
// names and sounds, written as library files or .syx files.
#include <QTemporaryDir>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data/PatchDoc.h"
#include "data/PerformDoc.h"
#include "framework/core/Archive.h"
#include "transfer/SysExExport.h"
#include "transfer/plans/PatchPlan.h"

namespace vantorel::test {

// A patch whose sound is numbered nSound (its bytes after the name), named name.
inline CPatchRecord MakePatch(const std::string& name, int nSound)
{
    CPatchRecord rec;
    rec.SetName(name);
    rec.m_data[CPatchRecord::kCommonSize] = uint8_t(nSound & 0x7f);
    rec.m_data[CPatchRecord::kCommonSize + 1] = uint8_t((nSound >> 7) & 0x7f);
    return rec;
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline std::vector<uint8_t> DocBytes(CDocument& doc)
{
    std::vector<uint8_t> bytes;
    CArchive ar(bytes);
    doc.Serialize(ar);
    return bytes;
}

// A patch bank with the given patches from A11 on (the rest initial).
inline void FillBank(CPatchDoc& doc, const std::vector<CPatchRecord>& patches)
{
    for (size_t i = 0; i < patches.size(); ++i)
        doc.m_aPatch[i] = patches[i];
}

inline void WritePatchBank(const std::string& path, const std::vector<CPatchRecord>& patches)
{
    CPatchDoc doc;
    FillBank(doc, patches);
    WriteBytes(path, DocBytes(doc));
}

inline void WritePatchSysEx(const std::string& path, const std::vector<CPatchRecord>& patches)
{
    CPatchDoc doc;
    FillBank(doc, patches);
    WriteBytes(path, JoinSysEx(ExportSysEx(PatchKind(), doc).messages));
}

} // namespace vantorel::test
