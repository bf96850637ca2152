// Keeps the output window's text view and the planner's OutputBuffer in step.
//
// The buffer is the truth: the runs read positions from it and insert rows at
// them, counting each "\r" and each "\n" of its "\r\n" line ends. Qt's text
// view holds one paragraph break per line end instead, so the view only
// mirrors the buffer: every change of the buffer is repeated in the view at
// the position that corresponds to it. The operator's own edits in the view
// (typing, cut, paste, delete) flow back into the buffer at once, line ends
// as "\r\n", so the next row of a run is placed against the text as it stands.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "platform/outputbuffer.h"

class QPlainTextEdit;

namespace quenta {

// The view's text for a buffer text: every "\r\n" (and any lone "\r") becomes
// one "\n".
std::string ViewTextFor(const std::string& bufferText);
// The buffer's text for a view text: every "\n" becomes "\r\n".
std::string BufferTextFor(const std::string& viewText);

class OutputMirror : public platform::OutputBufferListener {
 public:
  // Attaches itself as the buffer's listener and fills the view.
  OutputMirror(platform::OutputBuffer& buffer, QPlainTextEdit* view);
  ~OutputMirror() override;
  OutputMirror(const OutputMirror&) = delete;
  OutputMirror& operator=(const OutputMirror&) = delete;

  // Called when the buffer's background, visibility, caption or width changed.
  std::function<void()> onAppearanceChanged;

  // The view position of a buffer position (which must not fall between the
  // "\r" and the "\n" of a line end).
  int ViewPosition(std::size_t bufferPos);

  void textChanged(std::size_t pos, std::size_t removed, const std::string& inserted) override;
  void appearanceChanged() override;

 private:
  void Resync();           // the whole view from the buffer
  void OperatorEdited();   // the view changed under the operator's hand

  platform::OutputBuffer& buffer_;
  QPlainTextEdit* view_;
  bool mirroring_ = false;      // the view is being changed from the buffer
  bool applyingEdit_ = false;   // the buffer is being changed from the view
  // The buffer holds only ASCII and "\r\n" line ends: positions map through
  // the view's blocks. Otherwise they are counted through the text.
  bool plain_ = true;
  // For text that is not plain: a buffer position and its view position
  // known to correspond, so that rows added further on need not count the
  // line ends from the start.
  std::size_t knownBufferPos_ = 0;
  int knownViewPos_ = 0;
};

}  // namespace quenta
