// quenta-cli import's whole command on arbitrary words (the input cut at zero
// bytes): option parsing, then the files it names read and keps files written.
// Everything happens inside the harness's scratch directory: words holding a
// "/" or ".." are not run, file words are taken inside the scratch directory,
// and the keps directory is always its "keps" (given last, so it wins).
#include <sstream>

#include "fuzz_common.h"
#include "quenta/import/import_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string scratch = [] {
    // One real element-set file the words may name.
    const std::string tle =
        "ISS (ZARYA)\n"
        "1 25544U 98067A   18015.54791667  .00001883  00000-0  35616-4 0  9995\n"
        "2 25544  51.6424 289.0314 0003597 326.1541  96.3236 15.54314981 95236\n";
    velmfuzz::PutFile("iss.tle", reinterpret_cast<const uint8_t*>(tle.data()), tle.size());
    std::error_code ec;
    std::filesystem::create_directories(velmfuzz::ScratchDir() + "/keps", ec);
    return velmfuzz::ScratchDir() + "/";
  }();
  std::vector<std::string> words = velmfuzz::Words(data, size);
  bool nameValue = false;  // the word after --name is a NAME=CATNR, not a file
  for (std::string& w : words) {
    if (w.find('/') != std::string::npos || w.find("..") != std::string::npos) return 0;
    // Only "keps" may be written: no word may name another directory to write into.
    if (w.rfind("--keps-dir", 0) == 0) return 0;
    const bool option = !w.empty() && w[0] == '-';
    if (!option && !nameValue) w = scratch + w;
    nameValue = w == "--name";
  }
  words.push_back("--keps-dir=" + scratch + "keps");
  std::ostringstream out, err;
  (void)quenta::RunImportCommandAt(words, out, err, 1.5e9);
  return 0;
}
