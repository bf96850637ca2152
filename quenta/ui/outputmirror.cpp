#include "quenta/ui/outputmirror.h"

#include <algorithm>

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace quenta {
namespace {

// Output texts are single-byte report text plus what the operator typed:
// UTF-8 where it is valid, otherwise each byte as itself.
QString ToQString(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (s.contains(QChar::ReplacementCharacter)) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return s;
}

// True when text holds a "\r" or "\n" that is not part of a "\r\n" pair, or
// ends in a "\r" (whose "\n" might follow outside it).
bool HasLoneLineBreak(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 >= text.size() || text[i + 1] != '\n') return true;
      ++i;
    } else if (text[i] == '\n') {
      return true;
    }
  }
  return false;
}

// True when every byte is ASCII and every line break a "\r\n" pair: then each
// byte is one character of the view and each pair one paragraph break.
bool IsPlainReportText(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return !HasLoneLineBreak(text);
}

}  // namespace

std::string ViewTextFor(const std::string& bufferText) {
  std::string v;
  v.reserve(bufferText.size());
  for (std::size_t i = 0; i < bufferText.size(); ++i) {
    const char c = bufferText[i];
    if (c == '\r') {
      v += '\n';
      if (i + 1 < bufferText.size() && bufferText[i + 1] == '\n') ++i;
    } else {
      v += c;
    }
  }
  return v;
}

std::string BufferTextFor(const std::string& viewText) {
  std::string b;
  b.reserve(viewText.size() + viewText.size() / 32);
  for (char c : viewText) {
    if (c == '\n') b += "\r\n";
    else b += c;
  }
  return b;
}

OutputMirror::OutputMirror(platform::OutputBuffer& buffer, QPlainTextEdit* view) : buffer_(buffer), view_(view) {
  view_->setUndoRedoEnabled(false);
  Resync();
  buffer_.SetListener(this);
  QObject::connect(view_->document(), &QTextDocument::contentsChange, view_, [this](int, int, int) {
    if (!mirroring_) OperatorEdited();
  });
}

OutputMirror::~OutputMirror() { buffer_.SetListener(nullptr); }

void OutputMirror::Resync() {
  const std::string text = buffer_.Text();
  plain_ = IsPlainReportText(text);
  mirroring_ = true;
  view_->setPlainText(ToQString(ViewTextFor(text)));
  mirroring_ = false;
  knownBufferPos_ = 0;
  knownViewPos_ = 0;
}

int OutputMirror::ViewPosition(std::size_t bufferPos) {
  if (plain_) {
    // Line b of the buffer is block b of the view, and it starts at buffer
    // position block.position() + b (b line ends before it, two characters
    // in the buffer and one in the view each): a binary search over the
    // blocks, without reading the text.
    QTextDocument* doc = view_->document();
    int lo = 0, hi = doc->blockCount() - 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo + 1) / 2;
      if (static_cast<std::size_t>(doc->findBlockByNumber(mid).position() + mid) <= bufferPos) lo = mid;
      else hi = mid - 1;
    }
    const int blockPos = doc->findBlockByNumber(lo).position();
    return blockPos + static_cast<int>(bufferPos - static_cast<std::size_t>(blockPos + lo));
  }
  if (bufferPos < knownBufferPos_) {
    knownBufferPos_ = 0;
    knownViewPos_ = 0;
  }
  // Counted in the view's characters: a line end is one, and text the
  // operator typed outside ASCII takes fewer view characters than bytes.
  const std::string span = buffer_.Substr(knownBufferPos_, bufferPos - knownBufferPos_);
  knownViewPos_ += static_cast<int>(ToQString(ViewTextFor(span)).size());
  knownBufferPos_ = bufferPos;
  return knownViewPos_;
}

void OutputMirror::textChanged(std::size_t pos, std::size_t removed, const std::string& inserted) {
  if (applyingEdit_) return;  // the view already shows it
  // The runs add text; they remove it only when they clear the output (all of
  // it, or a table from its start to the end), once per run. Such a change,
  // and one that would part a "\r\n" pair, rebuilds the view from the buffer.
  const std::size_t after = pos + inserted.size();
  const bool splitsBefore = pos > 0 && buffer_.At(pos - 1) == '\r';
  const bool splitsAfter = after < buffer_.Length() && buffer_.At(after) == '\n';
  if (removed > 0 || pos == 0 || HasLoneLineBreak(inserted) || splitsBefore || splitsAfter) {
    Resync();
    return;
  }
  const int viewPos = ViewPosition(pos);
  if (!IsPlainReportText(inserted)) plain_ = false;
  const QString text = ToQString(ViewTextFor(inserted));
  mirroring_ = true;
  QTextCursor cursor(view_->document());
  cursor.setPosition(viewPos);
  cursor.insertText(text);
  mirroring_ = false;
  knownBufferPos_ = after;
  knownViewPos_ = viewPos + static_cast<int>(text.size());
  // The view's caret follows the rows as they are written, as the run's
  // insertions at the caret scroll the output along.
  view_->setTextCursor(cursor);
  view_->ensureCursorVisible();
}

void OutputMirror::appearanceChanged() {
  if (onAppearanceChanged) onAppearanceChanged();
}

void OutputMirror::OperatorEdited() {
  // The view's text as the buffer would hold it, against the buffer's text:
  // the differing middle is one replacement.
  const std::string now = BufferTextFor(view_->toPlainText().toStdString());
  const std::string old = buffer_.Text();
  std::size_t prefix = 0;
  const std::size_t shorter = std::min(now.size(), old.size());
  while (prefix < shorter && now[prefix] == old[prefix]) ++prefix;
  // Never cut a "\r\n" pair in two.
  if (prefix > 0 && old[prefix - 1] == '\r') --prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix && now[now.size() - 1 - suffix] == old[old.size() - 1 - suffix]) ++suffix;
  if (suffix > 0 && suffix < old.size() && old[old.size() - suffix] == '\n') --suffix;
  const std::size_t removed = old.size() - prefix - suffix;
  const std::string inserted = now.substr(prefix, now.size() - prefix - suffix);
  if (removed == 0 && inserted.empty()) return;

  // The run's own insertion point stays with the text it was in.
  std::size_t caret = buffer_.SelStart();
  if (caret >= prefix + removed) caret = caret - removed + inserted.size();
  else if (caret > prefix) caret = prefix + inserted.size();

  if (!IsPlainReportText(inserted)) plain_ = false;
  applyingEdit_ = true;
  buffer_.Replace(prefix, removed, inserted);
  buffer_.SetCaret(caret);
  applyingEdit_ = false;
  if (prefix < knownBufferPos_) {
    knownBufferPos_ = 0;
    knownViewPos_ = 0;
  }
}

}  // namespace quenta
