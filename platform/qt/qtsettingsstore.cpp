#include "platform/qt/qtsettingsstore.h"

#include <QSettings>
#include <QString>

namespace platform {
namespace {

// "Software\VELM Programs\Quenta\Startup" + "Keps Directory" -> a QSettings key.
QString KeyOf(const std::string& keyPath, const std::string& name) {
  QString k = QString::fromStdString(keyPath);
  k.replace('\\', '/');
  return k + "/" + QString::fromStdString(name);
}

}  // namespace

QtSettingsStore::QtSettingsStore() {
#ifdef Q_OS_WIN
  settings_ = std::make_unique<QSettings>("HKEY_CURRENT_USER", QSettings::NativeFormat);
#else
  settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "VELM Programs", "VELM");
#endif
}

QtSettingsStore::QtSettingsStore(const std::string& iniPath)
    : settings_(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::string> QtSettingsStore::read(const std::string& keyPath, const std::string& name) {
  QString key = KeyOf(keyPath, name);
  if (!settings_->contains(key)) return std::nullopt;
  return settings_->value(key).toString().toStdString();
}

void QtSettingsStore::write(const std::string& keyPath, const std::string& name, const std::string& value) {
  settings_->setValue(KeyOf(keyPath, name), QString::fromStdString(value));
}

bool QtSettingsStore::flush(std::string* error) {
  settings_->sync();
  if (settings_->status() != QSettings::NoError) {
    if (error) *error = "The settings could not be saved to " + location() + ".";
    return false;
  }
  return true;
}

std::string QtSettingsStore::location() const { return settings_->fileName().toStdString(); }

}  // namespace platform
