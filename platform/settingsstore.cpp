#include "platform/settingsstore.h"

#include "navlib/textnum.h"

namespace platform {

int SettingsStore::readInt(const std::string& keyPath, const std::string& name, int def) {
  auto v = read(keyPath, name);
  if (!v) return def;
  return navlib::StrToIntDef(*v, def);
}

std::string SettingsStore::readText(const std::string& keyPath, const std::string& name,
                                    const std::string& def) {
  auto v = read(keyPath, name);
  return v ? *v : def;
}

std::optional<std::string> MemorySettingsStore::read(const std::string& keyPath, const std::string& name) {
  auto it = values.find({keyPath, name});
  if (it == values.end()) return std::nullopt;
  return it->second;
}

void MemorySettingsStore::write(const std::string& keyPath, const std::string& name, const std::string& value) {
  values[{keyPath, name}] = value;
}

bool MemorySettingsStore::flush(std::string* error) {
  if (failFlush) {
    if (error) *error = "settings store is not writable";
    return false;
  }
  return true;
}

}  // namespace platform
