#pragma once
// The files that tell the desktop about Vantorel, written at build time for
// the registered kinds (transfer/kinds/DesktopFiles.h): the desktop entry,
// and the MIME description of the library files, one type per kind. %s are
// filled in as each comment says.
namespace vantorel::res {

// The desktop entry; the MIME types, each followed by kDesktopTypeEnd.
inline constexpr const char* kDesktopEntry =
    "[Desktop Entry]\n"
    "Type=Application\n"
    "Name=Vantorel\n"
    "GenericName=Synthesizer Librarian\n"
    "Comment=Fetch, arrange, keep and send back the user memory of a "
    "KQ-3300 synthesizer\n"
    "Exec=vantorel %F\n"
    "Icon=vantorel\n"
    "Terminal=false\n"
    "Categories=AudioVideo;Audio;Midi;\n"
    "MimeType=%s\n";
inline constexpr const char* kDesktopTypeEnd = ";";

// A kind's MIME type: its word.
inline constexpr const char* kMimeType = "application/x-vantorel-%s";
// How many kinds (a word), the model, its size, the type's size.
inline constexpr const char* kMimeHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- The %s library file kinds. Each file starts with the model \"%s\"\n"
    "     (%s bytes) and a %s-byte type string, which tells the kinds apart even when\n"
    "     the extension is missing or shared with another program's files. -->\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
// One kind: its MIME type, what its files hold, its extension, the model's
// offset, the model, the type's offset, the type.
inline constexpr const char* kMimeKind = "  <mime-type type=\"%s\">\n"
                                         "    <comment>KQ-3300 %s</comment>\n"
                                         "    <glob pattern=\"*%s\"/>\n"
                                         "    <magic priority=\"60\">\n"
                                         "      <match type=\"string\" offset=\"%s\" value=\"%s\">\n"
                                         "        <match type=\"string\" offset=\"%s\" value=\"%s\"/>\n"
                                         "      </match>\n"
                                         "    </magic>\n"
                                         "  </mime-type>\n";
inline constexpr const char* kMimeTail = "</mime-info>\n";

// The software centre's metadata: where its template takes the media types,
// and one of them (the type).
inline constexpr const char* kMetaInfoMediaTypesMark = "@MEDIATYPES@";
inline constexpr const char* kMetaInfoMediaType = "    <mediatype>%s</mediatype>\n";

// vantorel-desktop-files: how it is called, and a file it could not write
// (the path).
inline constexpr const char* kDesktopFilesUsage =
    "Usage: vantorel-desktop-files DIR METAINFO-TEMPLATE\n"
    "Writes vantorel.desktop, vantorel-mime.xml and vantorel.metainfo.xml for the registered kinds into "
    "DIR.\n";
inline constexpr const char* kDesktopFilesReadFault =
    "vantorel-desktop-files: %s could not be read. Check that it exists and may be read.\n";
inline constexpr const char* kDesktopFilesWriteFault =
    "vantorel-desktop-files: %s could not be written. Check that its folder exists and may be written to.\n";

} // namespace vantorel::res
