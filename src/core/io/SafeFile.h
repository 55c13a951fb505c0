#pragma once

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

namespace orvalis {

// Files that appear under their final name only when complete. A landscape file is written
// as a file with no name (O_TMPFILE) and linked under its name when complete; the lists,
// which must never be missing, are written under a hidden name and renamed over the old
// ones, which one file system does in one step.

// Called by a writer when its file is complete and about to take its final name; false leaves
// the file unnamed and the writer failed. A run's earlier lists give way here to its first file.
using BeforeNaming = std::function<bool()>;

// A new file that will take path's name: without a name while the file system can make
// one (a kill then leaves nothing behind), else a hidden file beside path whose name goes
// to temporary. nullptr with errno set when it cannot be made.
std::FILE* createUnnamed(const std::string& path, std::string& temporary);

// Gives a file made by createUnnamed, flushed and still open, the name path, in place of
// whatever held it; false with errno set.
bool nameFile(std::FILE* file, const std::string& temporary, const std::string& path);

// A new, empty hidden file beside path, open for writing; its name goes to temporary.
// nullptr with errno set when it cannot be made.
std::FILE* createBeside(const std::string& path, std::string& temporary);

// Whether path may be replaced by a rename: it does not exist yet or is a plain file. A
// device, a pipe or a link is written through instead, as a user who named it expects.
bool replaceableByRename(const std::string& path);

// Puts temporary in place of path in one step; false with errno set.
bool replaceWith(const std::string& temporary, const std::string& path);

// A file that is to replace path: a new hidden file beside it (its name in temporary, to be
// put in place by replaceWith), or path itself opened for writing when it is a device, a pipe
// or a link (temporary empty). nullptr with errno set.
std::FILE* createReplacement(const std::string& path, std::string& temporary);

// Replaces path with a file holding text, all at once; false with errno set.
bool writeWholeFile(const std::string& path, const std::string& text);

// Opens path for reading only when it is a plain file, without ever waiting: a pipe or a
// device could block the caller for good. nullptr with errno set (EINVAL for a file that
// is not a plain one).
std::FILE* openPlainFile(const std::string& path);

// Writes block at the end of what file holds, whole and at once; when that fails (a full disk),
// cuts a plain file back to where it was, so that no row is left half written. Data still in
// file's buffer goes first. False with errno set.
bool appendWhole(std::FILE* file, const std::string& block);

// Held by appendWhole while it writes: a process that must end at once (the command line after
// a signal the run did not heed in time) takes it first, so that no block is left half written.
std::timed_mutex& appendLock();

// Removes the hidden files made beside their final names (createBeside) and not yet put in
// place: what a run ended by a signal leaves unfinished. Skipped when another thread is making one.
void removeUnfinishedFiles();

}  // namespace orvalis
