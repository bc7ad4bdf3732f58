// File-type associations of this platform, from the freedesktop.org MIME data: the shared MIME
// database's globs2 files map an extension to a type, mimeapps.list files and mimeinfo.cache map a
// type to a desktop entry, and the desktop entry's Exec key is the open command. The folders follow
// $XDG_DATA_HOME, $XDG_DATA_DIRS, $XDG_CONFIG_HOME and $XDG_CONFIG_DIRS.
#pragma once

#include <string>

class MimeAssociations {
public:
    // The MIME type of a file name's extension ("" when unknown); extension with its leading dot.
    static std::string TypeForExtension(const std::string& dotExtension);
    // The desktop entry id associated with the type ("" when none).
    static std::string DesktopEntryForType(const std::string& mimeType);
    // The Exec line of the desktop entry; false when the entry cannot be found or has none.
    static bool OpenCommand(const std::string& desktopEntry, std::string& command);
};
