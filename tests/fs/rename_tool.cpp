// rename_tool OLD NEW: one rename through the program's renamer, for tests
// that watch it from outside (a step made to fail, or the process killed
// between two steps). Prints "renamed", or the error's number and text.
#include <cstdio>

#include "engine/error.h"
#include "platform/posix/native_path.h"
#include "platform/posix/posix_renamer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: rename_tool OLD NEW\n", stderr);
        return 2;
    }
    try {
        tolvane::PosixRenamer().Rename(tolvane::FromNativePath(argv[1]),
                                       tolvane::FromNativePath(argv[2]));
        std::puts("renamed");
        return 0;
    } catch (const tolvane::Error& error) {
        std::printf("error %d: %s\n", error.number(),
                    tolvane::ToDisplayUtf8(error.description()).c_str());
        return 1;
    }
}
