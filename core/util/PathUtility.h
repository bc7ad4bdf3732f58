// Path and file helpers of the utility layer. The splitting functions recognise "/", "\" and ":" as
// separators (so a drive prefix such as "C:" ends a folder part); JoinPath and MakePath recognise "/"
// and "\", so paths stored with either separator still split. Paths built here use '/', the
// separator of this platform.
#pragma once

#include "platform/WinTypes.h"

#include <string>

constexpr char kPathSeparator = '/';

std::string GetFolderPart(const std::string& path);
std::string GetNamePart(const std::string& path);
// Outputs emptied first; folder keeps its last separator; title and extension stay empty for a name
// without a dot. Returns 1.
int SplitPathExt(const std::string& path, std::string& folder, std::string& title, std::string& extension);
// Outputs emptied first; both stay empty when the path has no separator. Returns 1.
int SplitFolderName(const std::string& path, std::string& folder, std::string& name);
// The same as SplitFolderName, under the name the windows use.
int SplitFolderAndName(const std::string& path, std::string& folder, std::string& name);
// folder + separator (unless it ends with one) + name [+ separator]; "" when folder or name is empty.
std::string JoinPath(const std::string& folder, const std::string& name, bool trailingSeparator);
// folder + separator + name + "." + extension; "" when folder or name is empty.
std::string MakePath(const std::string& folder, const std::string& name, const std::string& extension);
// The same as MakePath, under the name the windows use.
std::string JoinPathExt(const std::string& folder, const std::string& title, const std::string& extension);
// The folder of the running program file, without a trailing separator.
std::string GetModuleFolder();
// TRUE for any existing file system object, folders included.
BOOL FileExists(const std::string& path);
BOOL IsDirectory(const std::string& path);
// Creates every missing folder of the path; TRUE when the whole path exists as folders afterwards.
BOOL EnsureFolderExists(const std::string& path);
