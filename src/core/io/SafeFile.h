#pragma once

#include <cstdio>
#include <string>

namespace orvalis {

// Files that appear under their final name only when complete: written under a hidden
// temporary name in the same folder, then renamed, which one file system does in one step.

// A new, empty hidden file beside path, open for writing; its name goes to temporary.
// nullptr with errno set when it cannot be made.
std::FILE* createBeside(const std::string& path, std::string& temporary);

// Whether path may be replaced by a rename: it does not exist yet or is a plain file. A
// device, a pipe or a link is written through instead, as a user who named it expects.
bool replaceableByRename(const std::string& path);

// Puts temporary in place of path in one step; false with errno set.
bool replaceWith(const std::string& temporary, const std::string& path);

// Opens path for reading only when it is a plain file, without ever waiting: a pipe or a
// device could block the caller for good. nullptr with errno set (EINVAL for a file that
// is not a plain one).
std::FILE* openPlainFile(const std::string& path);

// Replaces path with a file holding text, all or nothing; false with errno set.
bool writeWholeFile(const std::string& path, const std::string& text);

}  // namespace orvalis
