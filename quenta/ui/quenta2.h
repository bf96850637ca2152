// The planner's output window: a top-level window of its own (its own
// task-bar entry, not owned by the main window) holding one read-write,
// no-wrap, fixed-pitch text view that mirrors the planner's OutputBuffer.
// Hidden at start, shown by the first row a run prints; closing it only hides
// it and remembers where it was.
#pragma once

#include <memory>

#include <QPalette>
#include <QWidget>

#include "platform/outputbuffer.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace platform {
class SettingsStore;
class UiHost;
}  // namespace platform

namespace quenta {

class OutputMirror;

class TQuenta2 : public QWidget {
 public:
  TQuenta2(platform::OutputBuffer& output, platform::SettingsStore& settings, platform::UiHost& host);
  ~TQuenta2() override;

  QPlainTextEdit* RichEdit1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* Copy = nullptr;
  QAction* Cut1 = nullptr;
  QAction* Paste1 = nullptr;
  QAction* Delete1 = nullptr;

  // Window events.
  void FormCreate();
  void FormClose();
  // Popup menu.
  void CopyClick();
  void Cut1Click();
  void Paste1Click();
  void Delete1Click();

  // A Calculate is about to set the window's width: it is applied even when
  // it equals the last one (the operator may have resized the window since).
  void CalculateStarting();
  // The outer width a run set last, in pixels.
  int AppliedWidth() const { return appliedWidth_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyAppearance();  // background, caption, width, visibility from the buffer

  platform::OutputBuffer& output_;
  platform::SettingsStore& settings_;
  platform::UiHost& host_;
  std::unique_ptr<OutputMirror> mirror_;
  int appliedWidth_ = 0;
  std::string appliedCaption_;
  bool appliedHasBackground_ = false;
  platform::Rgb appliedBackground_{};
  bool appliedVisible_ = false;
  QPalette systemPalette_;
};

}  // namespace quenta
