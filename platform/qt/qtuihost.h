// UiHost over Qt: QMessageBox, QInputDialog and QCoreApplication::processEvents.
#pragma once

#include "platform/uihost.h"

class QWidget;

namespace platform {

class QtUiHost : public UiHost {
 public:
  explicit QtUiHost(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  void showMessage(const std::string& text) override;
  void messageOkCancel(const std::string& text) override;
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override;
  void processEvents() override;

 private:
  QWidget* parent_;
};

}  // namespace platform
