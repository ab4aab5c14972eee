#pragma once
// What the five documents share: the file header around a body, and the
// row-repaint hints their windows listen for.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#include "data/FileHeader.h"
#include "framework/core/Archive.h"
#include "framework/core/Document.h"
#include "framework/core/Rect.h"

namespace vantorel {

// n x nHeight, saturated to 32 bits so that no row index can overflow.
int RowEdge(int64_t n, int nHeight);

// Tells every view of doc to repaint rect: hint number 0, no sending view.
void UpdateRect(CDocument& doc, const CRect& rect);

// The old row first, then the new one; a negative row means none.
template <class F>
void ForOldThenNew(int nOld, int nNew, F&& fn)
{
    if (nOld >= 0)
        fn(nOld);
    if (nNew >= 0)
        fn(nNew);
}

// A record's bytes as an edit carries them, and back. Bytes of another
// size are not a record of this kind and are ignored.
template <class T>
std::vector<uint8_t> RecordBytes(const T& rec)
{
    return std::vector<uint8_t>(rec.Data(), rec.Data() + T::kSize);
}
template <class T>
void SetRecordBytes(T& rec, const std::vector<uint8_t>& bytes)
{
    if (bytes.size() == T::kSize)
        std::memcpy(rec.Data(), bytes.data(), T::kSize);
}

// A fixed body ends a file at one size; what a stored file holds after it is
// never read.
template <class T>
constexpr CFileBounds FixedBodyBounds()
{
    return CFileBounds{kFileHeaderSize, kFileHeaderSize + sizeof(T), true};
}

// Header plus a fixed body stored as the exact bytes of body (records are
// byte arrays without padding, so the object's bytes are the file's bytes).
// A load reads the whole body before touching the document: a short file
// throws and leaves body as it was.
template <class T>
CDocument::LoadResult SerializeFixedBody(CArchive& ar, std::string_view type, T& body)
{
    static_assert(std::is_trivially_copyable_v<T> && std::has_unique_object_representations_v<T>,
                  "a fixed body must be plain bytes");
    if (ar.IsStoring()) {
        StoreFileHeader(ar, type);
        ar.Write(&body, sizeof body);
        return CDocument::LoadResult::Ok;
    }
    if (!LoadFileHeader(ar, type))
        return CDocument::LoadResult::HeaderMismatch;
    std::vector<uint8_t> staged(sizeof body);
    ar.Read(staged.data(), staged.size());
    std::memcpy(&body, staged.data(), sizeof body);
    return CDocument::LoadResult::Ok;
}

} // namespace vantorel
