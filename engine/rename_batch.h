#pragma once

#include "engine/batch_watch.h"
#include "engine/drop_file_list.h"
#include "engine/error.h"
#include "engine/file_renamer.h"
#include "engine/name_rules.h"
#include "engine/path_split.h"
#include "engine/short_int.h"
#include "engine/text.h"

namespace tolvane {

// Renames every entry of one drop in place, in list order, by `mode`'s rule.
// Returns the number of entries renamed, or 0 when `find` is empty (the list
// is not read) or the list is empty. The first error stops the batch: earlier
// renames stay done, later entries are not touched, and the error propagates.
// `watch` may stop the batch between two entries in the same way, with
// BatchStopped.
Short RenameBatch(const DropFileList& files, FileRenamer& renamer, BatchWatch& watch,
                  const Text& mode, const Text& find, const Text& replace);

}  // namespace tolvane
