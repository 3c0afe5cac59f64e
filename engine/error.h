#pragma once

#include <cstdint>
#include <stdexcept>

#include "engine/text.h"

namespace tolvane {

// Every failure in the program travels as this exception, carrying a number
// (the system's error code where there is one) and a text for the user.
class Error : public std::runtime_error {
  public:
    Error(std::int32_t number, Text description);

    std::int32_t number() const noexcept { return number_; }
    const Text& description() const noexcept { return description_; }

  private:
    std::int32_t number_;
    Text description_;
};

// Raised when a 16-bit counter or position would leave -32768..32767.
class OverflowError : public Error {
  public:
    OverflowError();
};

// Raised when a file or folder cannot be renamed; names both paths.
class RenameError : public Error {
  public:
    RenameError(std::int32_t number, const Text& reason, Text oldPath, Text newPath);

    const Text& oldPath() const noexcept { return oldPath_; }
    const Text& newPath() const noexcept { return newPath_; }

  private:
    Text oldPath_;
    Text newPath_;
};

// Raised when the user stops a batch between two entries: says how far it
// came and names the last entry renamed, old and new path.
class BatchStopped : public Error {
  public:
    BatchStopped(std::int32_t done, std::int32_t count, const Text& lastOld, const Text& lastNew);
};

// A Text as UTF-8 for logs and std::exception::what(); lone surrogates
// become U+FFFD there, never in a path.
std::string ToDisplayUtf8(const Text& text);

}  // namespace tolvane
