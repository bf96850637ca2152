// Shared pieces of the fuzzing harnesses: splitting one input into several
// texts and a private scratch directory for readers that take a file name.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace velmfuzz {

inline std::string Text(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// The input cut at every zero byte: the words of a command line.
inline std::vector<std::string> Words(const uint8_t* data, size_t size) {
  std::vector<std::string> words;
  std::string word;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// A directory of this process, in memory where the machine offers it;
// removed at exit.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::error_code ec;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, ec)) base = std::filesystem::temp_directory_path();
    const std::filesystem::path d = base / ("velm-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d, ec);
    static const std::string removeAtExit = d.string();
    std::atexit([] {
      std::error_code e;
      std::filesystem::remove_all(removeAtExit, e);
    });
    return d.string();
  }();
  return dir;
}

// Writes bytes to the file name inside the scratch directory (plainly: the
// harness is the only reader).
inline void PutFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = ScratchDir() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
}

}  // namespace velmfuzz
