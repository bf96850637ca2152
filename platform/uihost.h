// The window facilities the cores need, as one narrow seam: message boxes,
// the input box and "let pending window messages run". The windows implement
// it over Qt; the command-line twins and the tests have their own hosts.
#pragma once

#include <string>
#include <vector>

namespace platform {

class UiHost {
 public:
  virtual ~UiHost() = default;
  // Information box with an OK button.
  virtual void showMessage(const std::string& text) = 0;
  // Plain box with OK and Cancel; the answer is ignored by every caller.
  virtual void messageOkCancel(const std::string& text) = 0;
  // Input box; Cancel returns defaultText unchanged.
  virtual std::string inputBox(const std::string& caption, const std::string& prompt,
                               const std::string& defaultText) = 0;
  // Let pending window messages run (repaint, serve Stop). No-op off-screen.
  virtual void processEvents() = 0;
};

// Records every message; answers input boxes from a queue (the default text
// when the queue is empty, as Cancel does). For tests and batch runs.
class RecordingUiHost : public UiHost {
 public:
  std::vector<std::string> messages;          // showMessage and messageOkCancel, in order
  std::vector<std::string> inputAnswers;      // consumed front first
  std::vector<std::string> inputPrompts;      // prompts seen
  int processEventsCalls = 0;

  void showMessage(const std::string& text) override { messages.push_back(text); }
  void messageOkCancel(const std::string& text) override { messages.push_back(text); }
  std::string inputBox(const std::string& caption, const std::string& prompt,
                       const std::string& defaultText) override {
    (void)caption;
    inputPrompts.push_back(prompt);
    if (inputAnswers.empty()) return defaultText;
    std::string a = inputAnswers.front();
    inputAnswers.erase(inputAnswers.begin());
    return a;
  }
  void processEvents() override { ++processEventsCalls; }
};

}  // namespace platform
