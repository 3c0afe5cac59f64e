#include "bench/drop_route.h"

#include "bench/quiet_watch.h"
#include "engine/rename_batch.h"
#include "platform/posix/posix_renamer.h"
#include "platform/posix/uri_list.h"

namespace tolvane::bench {

void RenameDroppedFiles(const DropFileList& files) {
    PosixRenamer renamer;
    QuietWatch watch;
    RenameBatch(files, renamer, watch, u"N", u"-", u"");
}

DropRoute UriListRoute() {
    return {"drop via UriFileList", [](const std::string& uriList) {
                return [&uriList] { RenameDroppedFiles(UriFileList(uriList)); };
            }};
}

}  // namespace tolvane::bench
