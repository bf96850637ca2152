// Runs a harness once over each file named on the command line (a directory:
// over every file in it), as libFuzzer does with -runs=0, for builds without
// libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int RunFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", p.c_str());
    return 1;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int failures = 0, runs = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path p = argv[i];
    if (p.string().rfind("-", 0) == 0) continue;  // libFuzzer options are ignored
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p)) {
        if (e.is_regular_file()) failures += RunFile(e.path()), ++runs;
      }
    } else {
      failures += RunFile(p), ++runs;
    }
  }
  std::printf("%d inputs run\n", runs);
  return failures == 0 ? 0 : 1;
}
