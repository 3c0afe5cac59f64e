#include "engine/rename_batch.h"

namespace tolvane {

namespace {

// The buffers of one entry's paths, reused from one entry to the next.
struct EntryPaths {
    Text scratch;  // for a list that does not hold its entries
    Text newPath;
};

// Returns the entry as dropped, valid until the next entry is read.
std::u16string_view RenameEntry(const DropFileList& files, FileRenamer& renamer, const Text& mode,
                                NameParts& parts, EntryPaths& paths) {
    const std::u16string_view entry = files.ReadEntry(parts.index, paths.scratch);
    SplitPath(entry, parts.directory, parts.name);
    ComposeNewPath(mode, parts, paths.newPath);
    // The entry as dropped is its directory part followed by its name.
    renamer.Rename(entry, paths.newPath);
    return entry;
}

}  // namespace

Short RenameBatch(const DropFileList& files, FileRenamer& renamer, BatchWatch& watch,
                  const Text& mode, const Text& find, const Text& replace) {
    if (find.empty()) return 0;
    const std::int32_t listed = files.Count();
    if (listed <= 0) return 0;
    // Converted before the first rename: an oversized drop renames nothing.
    const Short count = ToShort(listed);

    NameParts parts{.find = find, .replacement = replace, .count = count};
    const RenameBatchScope batch(renamer);
    const BatchWatchScope watching(watch, count);
    EntryPaths paths;
    for (Short index = 1;; index = CheckedAdd(index, 1)) {
        parts.index = index;
        const std::u16string_view entry = RenameEntry(files, renamer, mode, parts, paths);
        // Stop before stepping past the last entry, so a full drop of 32767
        // entries ends normally instead of overflowing its counter.
        if (index == count) break;
        if (watch.StopAfter(index)) throw BatchStopped(index, count, Text(entry), paths.newPath);
    }
    return count;
}

}  // namespace tolvane
