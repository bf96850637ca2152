#include "platform/qt/qtuihost.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {

void QtUiHost::showMessage(const std::string& text) {
  QMessageBox::information(parent_, QApplication::applicationName(), QString::fromStdString(text));
}

void QtUiHost::messageOkCancel(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), QString::fromStdString(text),
                  QMessageBox::Ok | QMessageBox::Cancel, parent_);
  box.exec();
}

std::string QtUiHost::inputBox(const std::string& caption, const std::string& prompt,
                               const std::string& defaultText) {
  bool ok = false;
  QString answer = QInputDialog::getText(parent_, QString::fromStdString(caption), QString::fromStdString(prompt),
                                         QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
  if (!ok) return defaultText;
  return answer.toStdString();
}

void QtUiHost::processEvents() { QCoreApplication::processEvents(); }

}  // namespace platform
