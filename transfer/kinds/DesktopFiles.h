#pragma once
// What the desktop is told about the library files of the kinds given (the
// registered kinds, DocumentKinds()): the MIME description, one type per
// kind, by extension and by header, and the desktop entry that opens them.
// Written at build time by vantorel-desktop-files (transfer/kinds/desktop),
// so that a new kind needs no line of its own in either file.
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

class CDocKind;

inline constexpr const char* kDesktopEntryFile = "vantorel.desktop";
inline constexpr const char* kMimeInfoFile = "vantorel-mime.xml";
inline constexpr const char* kMetaInfoFile = "vantorel.metainfo.xml";

// The MIME type of a kind's library files: "application/x-vantorel-patch".
std::string KindMimeType(const CDocKind& kind);
// The shared-mime-info package (vantorel-mime.xml).
std::string MimeInfoXml(const std::vector<const CDocKind*>& kinds);
// The desktop entry (vantorel.desktop), with every kind's MIME type.
std::string DesktopEntry(const std::vector<const CDocKind*>& kinds);
// The software centre's metadata (vantorel.metainfo.xml): the template with
// its line "@MEDIATYPES@" replaced by a <mediatype> line per kind.
std::string MetaInfoXml(std::string_view strTemplate, const std::vector<const CDocKind*>& kinds);

} // namespace vantorel
