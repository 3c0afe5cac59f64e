// tolvane-drag-source FILE...
// Shows a 200x100 window at the top-left corner of the screen titled
// "drag-source"; pressing the left button in it drags FILE... as a file
// manager would. Paths are taken as raw bytes; relative ones are made absolute.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/drag_source/drag_source_window.h"

namespace {

std::vector<std::string> AbsolutePaths(int argc, char** argv) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(argv[i]);
        if (path.is_relative()) path = std::filesystem::current_path() / path;
        paths.push_back(path.native());
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n", argv[0]);
        return 2;
    }
    std::vector<std::string> paths = AbsolutePaths(argc, argv);
    QApplication app(argc, argv);
    tolvane::DragSourceWindow window(std::move(paths));
    window.show();
    return app.exec();
}
