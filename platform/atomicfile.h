// Replacing a file atomically: the new content goes to a temporary file in the
// same directory, is flushed to disk and then renamed over the old file, so a
// crash, a full disk or a missing permission never leaves a half-written file
// and never loses the previous one.
#pragma once

#include <string>

namespace platform {

// True on success; on failure false with a readable reason in *error, and the
// previous file (if any) untouched.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error);

// Whole file as raw bytes; false when it cannot be opened or read, or is not a regular file.
bool ReadWholeFile(const std::string& path, std::string* bytes);

}  // namespace platform
