// File operations of the main program: copy, move and delete through the platform's shell
// operations (with the Trash as recycle bin), folder trees, writability test, appending, overwriting,
// sizes, file-type associations and folder scans by name pattern. Output lists are appended to.
// Unlike the shell calls they stand for, every operation reports its failures to the caller.
#pragma once

#include "platform/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

// Copies (copy != 0) or moves each source to the target of the same index. FALSE when the target
// list is shorter than the source list (nothing is done then) or when any file failed; the others
// are still done. With rename set, a target that exists (in any letter case) gives "name (2).ext".
BOOL CopyOrMoveFileList(const std::vector<std::string>& sources, const std::vector<std::string>& targets,
                        BOOL copy, BOOL rename);
BOOL CopyOrMoveFile(const std::string& source, const std::string& target, BOOL copy, BOOL rename);
BOOL CopyOrMoveFilesToFolder(const std::vector<std::string>& sources, const std::string& folder, BOOL copy,
                             BOOL rename);
// FALSE for an empty list, when the user declined (show-UI mode) or when any path could not be
// deleted.
BOOL DeleteFileList(const std::vector<std::string>& paths, BOOL recycle, BOOL showUi);
BOOL CreateFolderTree(const std::string& path);
// Writes the file at target through a temporary file beside it (AtomicFileWriter::ReplaceThrough):
// write fills the temporary file whose path it is given; only when it succeeded does that file
// replace the target, so a failure leaves an old file at the target as it was (the temporary file
// is removed).
BOOL ReplaceFileThroughTemporary(const std::string& target, const std::function<bool(const std::string&)>& write);
// Creates, writes and deletes a temporary file in the folder; FALSE on any failure.
BOOL IsFolderWritable(const std::string& folder);
// Appends the bytes of the text (the file is created when missing); FALSE when the path is empty or
// the file cannot be opened or written.
BOOL AppendTextToFile(const std::string& path, const std::string& text);
// Overwrites an existing file of at least 5 bytes in place with fixed patterns, pass by pass.
void OverwriteFile(const std::string& path, int passes);
// Sum of size / 1024 over the regular files that can be opened (low 32 bits of each size).
double TotalFileSizeKB(const std::vector<std::string>& paths);
// How far the association of a file type resolves: 0 no type known for the extension, 1 no program
// associated with the type, 2 the program's entry cannot be read, 3 an open command exists.
int GetOpenCommandForFile(const std::string& extension);
BOOL ScanFolderByPatterns(const std::string& folder, std::vector<std::string>& out,
                          const std::vector<std::string>& patterns, BOOL matchAny, BOOL recurse);
BOOL CollectImageFolders(const std::string& folder, std::vector<std::string>& out,
                         const std::vector<std::string>& patterns, BOOL matchAny, BOOL recurse);
