// Per-user settings: text values under key paths such as
// "Software\VELM Programs\Quenta\Startup". One store is shared by both programs.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The value, or nothing when the key or the value name does not exist.
  virtual std::optional<std::string> read(const std::string& keyPath, const std::string& name) = 0;
  virtual void write(const std::string& keyPath, const std::string& name, const std::string& value) = 0;
  // Makes the written values permanent; false (with a reason) when they could not be stored.
  virtual bool flush(std::string* error) = 0;

  // "String to integer with a default": missing or non-numeric values give def.
  int readInt(const std::string& keyPath, const std::string& name, int def);
  std::string readText(const std::string& keyPath, const std::string& name, const std::string& def);
};

// In-memory store for tests.
class MemorySettingsStore : public SettingsStore {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  bool failFlush = false;  // simulate a store that cannot be written
  std::optional<std::string> read(const std::string& keyPath, const std::string& name) override;
  void write(const std::string& keyPath, const std::string& name, const std::string& value) override;
  bool flush(std::string* error) override;
};

}  // namespace platform
