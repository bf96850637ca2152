// TGimbra3, the Earth-sensor arc report window: one fixed-pitch text view.
#pragma once

#include <string>

#include <QWidget>

class QPlainTextEdit;

namespace gimbra::ui {

class TGimbra3 : public QWidget {
 public:
  TGimbra3();

  // Makes the window visible, then sets the whole text (CR LF line ends).
  void ShowReport(const std::string& text);
  // The report's text exactly as made, CR LF kept.
  const std::string& ReportText() const { return text_; }

  QPlainTextEdit* Memo1 = nullptr;

 private:
  std::string text_;
};

}  // namespace gimbra::ui
