// The per-user settings store over QSettings: the registry under
// HKEY_CURRENT_USER on Windows; elsewhere one INI file per user,
// <config dir>/VELM Programs/VELM.ini, shared by both programs.
#pragma once

#include <memory>

#include "platform/settingsstore.h"

class QSettings;

namespace platform {

class QtSettingsStore : public SettingsStore {
 public:
  QtSettingsStore();                                 // the real per-user store
  explicit QtSettingsStore(const std::string& iniPath);  // an INI file of one's own (tests)
  ~QtSettingsStore() override;
  std::optional<std::string> read(const std::string& keyPath, const std::string& name) override;
  void write(const std::string& keyPath, const std::string& name, const std::string& value) override;
  bool flush(std::string* error) override;
  std::string location() const;  // file name or registry path, for the README and messages

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace platform
