// quenta-setup: points the planner (and the plotter, which reads the same
// setting) at a keps directory, without opening a window.
//   quenta-setup                          where the settings live, and the directory stored
//   quenta-setup --keps-dir DIR           store DIR as "Keps Directory"
//   quenta-setup --keps-dir DIR --if-unset   only when none is stored yet
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/qt/qtsettingsstore.h"
#include "quenta/ui/planner_form.h"

int main(int argc, char** argv) {
  std::string dir;
  bool ifUnset = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--keps-dir" && i + 1 < argc) {
      dir = argv[++i];
    } else if (a == "--if-unset") {
      ifUnset = true;
    } else {
      std::cerr << "usage: quenta-setup [--keps-dir DIR [--if-unset]]\n";
      return 64;
    }
  }
  platform::QtSettingsStore store;
  const std::string stored = store.readText(quenta::StartupKey, quenta::KepsDirectoryValue, "");
  if (dir.empty()) {
    std::cout << "Settings: " << store.location() << "\n"
              << "Keps Directory: " << (stored.empty() ? "(none)" : stored) << "\n";
    return 0;
  }
  // Stored as an absolute path, so the programs find it from anywhere.
  std::error_code ec;
  std::filesystem::path absolute = std::filesystem::absolute(dir, ec);
  std::string text = ec ? dir : absolute.string();
  if (!dir.empty() && (dir.back() == '/' || dir.back() == '\\') && !text.empty() && text.back() != dir.back())
    text += dir.back();
  if (!std::filesystem::is_directory(text)) {
    std::cerr << "quenta-setup: " << text << " is not a directory\n";
    return 2;
  }
  if (!quenta::StoreKepsDirectory(store, text, ifUnset)) {
    std::cout << "Keps Directory is already set to " << stored << " (in " << store.location() << ").\n";
    return 0;
  }
  std::string error;
  if (!store.flush(&error)) {
    std::cerr << "quenta-setup: " << error << "\n";
    return 2;
  }
  std::cout << "Stored " << text << " as the Keps Directory (in " << store.location() << ").\n";
  return 0;
}
