#pragma once
// Entries copied with Edit > Copy (in a list window, or of a Library result)
// or carried by a drag: the bytes of each entry and the copy kind of the row
// it came from (a Library result: its messages), kept until the next copy
// (so one copy pastes into many places). The same entries go to the system
// clipboard as their exclusive messages (the bytes of a .syx file), so that
// another instance, or any program that takes SysEx, can paste them; what
// another program put there is read back through the .syx reader and the
// kind's placement.
#include <QByteArray>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <vector>

class QMimeData;

namespace vantorel {

class CDocKind;

// The exclusive messages; the word of their kind ("patch") beside them.
inline constexpr const char* kSysExMimeType = "application/x-sysex";
inline constexpr const char* kKindMimeType = "application/x-vantorel-kind";

struct CClipEntry {
    int nKind = 0;              // the copy kind of the row it came from (kCopyPatch, ...)
    int nIndex = 0;             // its entry number in a document of its kind
    std::vector<uint8_t> bytes; // as the document's entry interface gives it
};

// The copy kind a window gives entry n of a kind (the system's two blocks
// differ; every other kind has one).
using FRowKind = std::function<int(int nEntry)>;

// The entries as mime data: the .syx bytes (left out when one of them cannot
// be written as messages) and the kind's word. Null for no entries.
QMimeData* MakeEntryMimeData(const CDocKind& kind, const std::vector<CClipEntry>& entries);
// The entries of kind held in mime data from anywhere, in the order of the
// messages' entries; none when it holds none of that kind.
std::vector<CClipEntry> ReadEntryMimeData(const QMimeData& data, const CDocKind& kind,
                                          const FRowKind& rowKind);

class CEntryClip {
public:
    static CEntryClip& Get();

    // Keeps the entries and puts them on the system clipboard.
    void Keep(const CDocKind& kind, std::vector<CClipEntry> entries);
    // Keeps entries given as their exclusive messages (mime data as
    // MakeEntryMimeData makes it, which the clipboard then owns): a paste
    // reads them as the window's kind places them, and nothing kept counts
    // as picked up. False, keeping what was kept before, when the data holds
    // no messages.
    bool KeepMessages(QMimeData* pData);
    // The latest copy: what this program kept, unless another program has
    // put exclusive messages on the clipboard since (read as kind's).
    std::vector<CClipEntry> Entries(const CDocKind& kind, const FRowKind& rowKind) const;
    // Something to paste: kept entries or exclusive messages on the clipboard.
    bool HasEntries() const;
    // Forgets the kept entries, and takes them off the clipboard if still there.
    void Forget();
    // The entry Edit > Copy picked up as well (one entry copied), so that
    // Paste tells it from one picked up by a Shift-click.
    void SetPickedUp(const void* pSource) { m_pPickedUp = pSource; }
    const void* PickedUp() const { return m_pPickedUp; }

private:
    CEntryClip() = default;
    // The clipboard's mime data when another program put it there.
    const QMimeData* ForeignData() const;

    // Puts data on the clipboard as this program's own.
    void Publish(QMimeData* pData);

    std::vector<CClipEntry> m_entries;
    QByteArray m_messages; // kept as messages: read when pasted
    QPointer<QMimeData> m_pOwnData;
    const void* m_pPickedUp = nullptr;
};

} // namespace vantorel
