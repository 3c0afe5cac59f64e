#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane::bench {

// A fresh directory under `root`, removed with everything in it at the end.
// All of them have paths of the same length, so every side of a comparison
// walks equally long paths.
class BenchDir {
  public:
    explicit BenchDir(const std::string& root);
    BenchDir(const BenchDir&) = delete;
    BenchDir& operator=(const BenchDir&) = delete;
    ~BenchDir();

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }

  private:
    std::string path_;
};

// The folders the benchmark directories are made in: the arguments after
// the round count, or else $TMPDIR (or /tmp); as absolute paths.
std::vector<std::string> BenchRoots(int argc, char** argv);

// Creates an empty file for each name, then flushes the filesystem so that
// writeback left over from creating them does not land in a timed section.
void CreateEmptyFiles(const BenchDir& dir, const std::vector<std::string>& names);

// Raises std::runtime_error unless `dir` holds exactly `expected` (any order).
void ExpectNames(const BenchDir& dir, std::vector<std::string> expected);

// The kind of filesystem `path` lies on, e.g. "tmpfs".
std::string FilesystemName(const std::string& path);

}  // namespace tolvane::bench
