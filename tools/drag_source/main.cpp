// tolvane-drag-source FILE...
// tolvane-drag-source --files0-from LIST
// Shows a 200x100 window at the top-left corner of the screen titled
// "drag-source"; pressing the left button in it drags the files as a file
// manager would. Paths are taken as raw bytes; relative ones are made
// absolute; a URI ("sftp://…") is sent as it stands. LIST holds the paths each ended by a NUL byte,
// for drags larger than a command line may be.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tools/drag_source/drag_source_window.h"

namespace {

std::string Absolute(const std::string& raw) {
    if (raw.find("://") != std::string::npos) return raw;
    std::filesystem::path path(raw);
    if (path.is_relative()) path = std::filesystem::current_path() / path;
    return path.native();
}

std::vector<std::string> AbsolutePaths(int argc, char** argv) {
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) paths.push_back(Absolute(argv[i]));
    return paths;
}

// Nothing when the list cannot be read or names no path.
std::optional<std::vector<std::string>> PathsFromList(const char* list_path) {
    std::ifstream list(list_path, std::ios::binary);
    if (!list) return std::nullopt;
    std::vector<std::string> paths;
    for (std::string path; std::getline(list, path, '\0');) paths.push_back(Absolute(path));
    if (list.bad() || paths.empty()) return std::nullopt;
    return paths;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::vector<std::string>> paths;
    if (argc == 3 && std::strcmp(argv[1], "--files0-from") == 0) {
        paths = PathsFromList(argv[2]);
        if (!paths) {
            std::fprintf(stderr, "%s: no paths could be read from %s\n", argv[0], argv[2]);
            return 2;
        }
    } else if (argc >= 2) {
        paths = AbsolutePaths(argc, argv);
    } else {
        std::fprintf(stderr, "usage: %s FILE...\n       %s --files0-from LIST\n", argv[0], argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    tolvane::DragSourceWindow window(std::move(*paths));
    window.show();
    return app.exec();
}
