#include "library/EntryReader.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "library/SoundHash.h"
#include "res/strings/library.h"
#include "transfer/SysExFile.h"
#include "transfer/SysExPlace.h"
#include "transfer/SysExReader.h"
#include "transfer/engine/TransferText.h"
#include "transfer/kinds/DocumentKinds.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

constexpr std::string_view kSysExExtension = ".syx";
// The edit that places a .syx file's data sets in a document (never shown).
constexpr const char* kPlaceEdit = "library";

std::string Trimmed(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

// The whole file, or the reason it cannot be had.
bool ReadWhole(const std::string& path, std::vector<uint8_t>& bytes, std::string& problem)
{
    // Non-blocking, so that opening a FIFO never waits for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = errno == EACCES || errno == EPERM ? res::kLibSkipNoAccess : res::kLibSkipUnreadable;
        return false;
    }
    struct stat st {};
    bool bOk = ::fstat(fd, &st) == 0;
    if (bOk && !S_ISREG(st.st_mode)) {
        problem = res::kLibSkipNotRegular;
        bOk = false;
    } else if (bOk && uint64_t(st.st_size) > kMaxLibraryFile) {
        problem = res::kLibSkipHuge;
        bOk = false;
    } else if (bOk) {
        bytes.resize(size_t(st.st_size));
        size_t nDone = 0;
        while (bOk && nDone < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + nDone, bytes.size() - nDone);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                problem = res::kLibSkipUnreadable;
                bOk = false;
            }
            if (n <= 0)
                break; // at the end: a file that shrank meanwhile is read as it is now
            nDone += size_t(n);
        }
        bytes.resize(nDone);
    } else {
        problem = res::kLibSkipUnreadable;
    }
    ::close(fd);
    return bOk;
}

void ReadSysEx(const std::vector<uint8_t>& bytes, CReadFile& out)
{
    if (bytes.size() > kMaxSysExFile) {
        out.strProblem = FormatText(res::kLibSkipTooLarge, "SysEx");
        return;
    }
    // Downloaded files are often made for another device ID: the sounds are
    // the same.
    auto reader = std::make_unique<CSysExReader>(DocumentKinds().SysExLayouts());
    reader->SetAnyDevice(true);
    reader->Feed(bytes.data(), bytes.size());
    reader->Finish();
    const CSysExHaul& haul = reader->GetHaul();
    for (const CDocKind* pKind : DocumentKinds().All()) {
        if (pKind->TakenCount(haul) == 0)
            continue;
        CFileDocument doc{pKind, pKind->NewDocument(), pKind->TakenEntries(haul)};
        PlaceHaul(haul, *pKind, *doc.pDoc, kPlaceEdit);
        out.docs.push_back(std::move(doc));
    }
    if (out.docs.empty())
        out.strProblem = res::kLibSkipNoSysEx;
}

void ReadDocument(const std::vector<uint8_t>& bytes, CReadFile& out)
{
    const CDocKind* pKind = nullptr;
    if (bytes.size() >= kFileHeaderSize) {
        CFileHeader header;
        std::copy_n(bytes.begin(), kFileHeaderSize, header.m_data.begin());
        if (header.CheckModel() && header.CheckVersion())
            pKind = DocumentKinds().FromType(std::string_view(
                reinterpret_cast<const char*>(header.Data()) + kHeaderTypeOffset, kHeaderTypeSize));
    }
    if (!pKind) {
        out.strProblem = res::kLibSkipForeign;
        return;
    }
    CFileDocument doc{pKind, pKind->NewDocument(), {}};
    const CFileBounds bounds = doc.pDoc->GetFileBounds();
    if (!bounds.bFixedBody && bytes.size() > bounds.nMaxSize) {
        out.strProblem = FormatText(res::kLibSkipTooLarge, pKind->Word());
        return;
    }
    // A fixed body ends the file: whatever a stored file holds after it is never read.
    const size_t nEnd = bounds.bFixedBody ? std::min<size_t>(bytes.size(), bounds.nMaxSize) : bytes.size();
    try {
        CArchive ar(bytes.data(), nEnd);
        if (doc.pDoc->Serialize(ar) != CDocument::LoadResult::Ok) {
            out.strProblem = res::kLibSkipForeign;
            return;
        }
    } catch (const CArchiveException&) {
        out.strProblem = res::kLibSkipShort;
        return;
    }
    doc.entries.resize(size_t(pKind->EntryCount()));
    for (int n = 0; n < pKind->EntryCount(); ++n)
        doc.entries[size_t(n)] = n;
    out.docs.push_back(std::move(doc));
}

} // namespace

bool IsLibraryCandidate(const std::string& path)
{
    return PathEndsWith(path, kSysExExtension) || DocumentKinds().FromExtension(path) != nullptr;
}

CReadFile ReadLibraryFile(const std::string& path)
{
    CReadFile out;
    std::vector<uint8_t> bytes;
    if (!ReadWhole(path, bytes, out.strProblem))
        return out;
    if (PathEndsWith(path, kSysExExtension))
        ReadSysEx(bytes, out);
    else
        ReadDocument(bytes, out);
    return out;
}

std::vector<CFoundEntry> ListEntries(const CReadFile& file)
{
    std::vector<CFoundEntry> found;
    for (const CFileDocument& doc : file.docs) {
        const CDocKind& kind = *doc.pKind;
        const CDocKind::CInnerEntries inner = kind.InnerEntries();
        for (int n : doc.entries) {
            const std::vector<uint8_t> bytes = doc.pDoc->GetEntryBytes(n);
            const CEntryHashes hashes = HashEntry(kind, bytes.data(), bytes.size());
            const std::string label = kind.EntryLabel(n);
            found.push_back(
                {&kind, n, -1, label, Trimmed(kind.EntryName(*doc.pDoc, n)), hashes.nSound, hashes.nBytes});
            for (int p = 0; p < inner.nCount; ++p) {
                const size_t nAt = inner.nOffset + size_t(p) * inner.nSize;
                if (nAt + inner.nSize > bytes.size())
                    break;
                const uint8_t* pInner = bytes.data() + nAt;
                const CEntryHashes h = HashEntry(*inner.pKind, pInner, inner.nSize);
                const size_t nName = std::min(inner.pKind->NameSize(), inner.nSize);
                found.push_back({inner.pKind, n, p,
                                 FormatText(res::kLibInnerLabel, label.c_str(), inner.pKind->Word(), p + 1),
                                 Trimmed(NameFromBytes(pInner, nName)), h.nSound, h.nBytes});
            }
        }
    }
    return found;
}

std::optional<std::vector<uint8_t>> FindEntryBytes(const CReadFile& file, const CDocKind& kind, int nEntry,
                                                   int nPart)
{
    for (const CFileDocument& doc : file.docs) {
        const bool bOuter = nPart < 0 && doc.pKind == &kind;
        const CDocKind::CInnerEntries inner = doc.pKind->InnerEntries();
        const bool bInner = nPart >= 0 && inner.pKind == &kind && nPart < inner.nCount;
        if ((!bOuter && !bInner) ||
            std::find(doc.entries.begin(), doc.entries.end(), nEntry) == doc.entries.end())
            continue;
        std::vector<uint8_t> bytes = doc.pDoc->GetEntryBytes(nEntry);
        if (bOuter)
            return bytes;
        const size_t nAt = inner.nOffset + size_t(nPart) * inner.nSize;
        if (nAt + inner.nSize <= bytes.size())
            return std::vector<uint8_t>(bytes.begin() + long(nAt), bytes.begin() + long(nAt + inner.nSize));
    }
    return std::nullopt;
}

} // namespace vantorel
