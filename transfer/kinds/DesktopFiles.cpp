#include "transfer/kinds/DesktopFiles.h"

#include "data/FileHeader.h"
#include "res/Strings.h"
#include "res/strings/desktop.h"
#include "transfer/plans/DocKind.h"

namespace vantorel {

namespace {

// pattern with each %s replaced by the next of values.
std::string Fill(std::string_view pattern, std::initializer_list<std::string> values)
{
    std::string text;
    auto value = values.begin();
    for (size_t at = 0; at < pattern.size(); ++at) {
        if (pattern.compare(at, 2, "%s") == 0 && value != values.end()) {
            text += *value++;
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

// Text inside an attribute or an element.
std::string EscapeXml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

} // namespace

std::string KindMimeType(const CDocKind& kind)
{
    return Fill(res::kMimeType, {kind.Word()});
}

std::string MimeInfoXml(const std::vector<const CDocKind*>& kinds)
{
    std::string xml =
        Fill(res::kMimeHead, {res::CountWord(kinds.size()), EscapeXml(kHeaderModel),
                              std::to_string(kHeaderModelSize), std::to_string(kHeaderTypeSize)});
    for (const CDocKind* kind : kinds)
        xml += Fill(res::kMimeKind, {EscapeXml(KindMimeType(*kind)), EscapeXml(kind->FileKind()),
                                     EscapeXml(kind->Extension()), std::to_string(kHeaderModelOffset),
                                     EscapeXml(kHeaderModel), std::to_string(kHeaderTypeOffset),
                                     EscapeXml(kind->FileType())});
    return xml + res::kMimeTail;
}

std::string DesktopEntry(const std::vector<const CDocKind*>& kinds)
{
    std::string types;
    for (const CDocKind* kind : kinds)
        types += KindMimeType(*kind) + res::kDesktopTypeEnd;
    return Fill(res::kDesktopEntry, {types});
}

std::string MetaInfoXml(std::string_view strTemplate, const std::vector<const CDocKind*>& kinds)
{
    std::string types;
    for (const CDocKind* kind : kinds)
        types += Fill(res::kMetaInfoMediaType, {EscapeXml(KindMimeType(*kind))});
    std::string xml(strTemplate);
    if (const size_t at = xml.find(res::kMetaInfoMediaTypesMark); at != std::string::npos)
        xml.replace(at, std::string_view(res::kMetaInfoMediaTypesMark).size(), types);
    return xml;
}

} // namespace vantorel
