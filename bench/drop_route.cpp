#include "bench/drop_route.h"

#include <vector>

#include "engine/rename_batch.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"
#include "platform/posix/uri_list.h"
#include "platform/text_file_list.h"

namespace tolvane::bench {

void RenameDroppedFiles(const DropFileList& files) {
    PosixRenamer renamer;
    RenameBatch(files, renamer, u"N", u"-", u"");
}

DropRoute UriListRoute() {
    return {"drop via LocalPathsFromUriList", [](const std::string& uriList) {
                return [&uriList] {
                    std::vector<Text> paths;
                    for (const auto& path : LocalPathsFromUriList(uriList)) {
                        paths.push_back(FromNativePath(path));
                    }
                    RenameDroppedFiles(TextFileList(std::move(paths)));
                };
            }};
}

}  // namespace tolvane::bench
