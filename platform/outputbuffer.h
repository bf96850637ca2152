// The planner's output text as a buffer with a caret: the whole text with
// "\r\n" line ends, a caret and a selection measured in characters of exactly
// that text (each '\r' and each '\n' counts one), plus what the output window
// shows around it: background colour, visibility, caption and width.
//
// The rise/set merge inserts rows in the middle of a table that grows to a few
// megabytes, so the text is kept as a list of chunks of a few kilobytes: an
// insertion moves at most one chunk, never the whole text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A colour as its red, green and blue parts.
struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

// Told of every change, so that a text view can mirror the buffer.
class OutputBufferListener {
 public:
  virtual ~OutputBufferListener() = default;
  // `removed` characters at `pos` were replaced by `inserted` (SetText: pos 0,
  // the whole old length removed).
  virtual void textChanged(std::size_t pos, std::size_t removed, const std::string& inserted) = 0;
  // Background, visibility, caption or width changed.
  virtual void appearanceChanged() = 0;
};

class OutputBuffer {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  OutputBuffer();

  // ---- text ----
  std::string Text() const;                   // the whole text
  std::size_t Length() const { return length_; }
  bool Empty() const { return length_ == 0; }
  char At(std::size_t pos) const;             // pos < Length()
  std::string Substr(std::size_t pos, std::size_t count) const;  // clipped at the end
  // First position >= from where needle starts, or npos.
  std::size_t Find(const std::string& needle, std::size_t from = 0) const;
  // Position just past the next "\n" at or after from, or Length() when none.
  std::size_t LineEnd(std::size_t from) const;

  // Replaces the whole text; caret at 0, no selection.
  void SetText(const std::string& text);
  // Adds text at the end: the same as SetText(Text() + text) without copying
  // the old text; caret and selection stay.
  void AppendText(const std::string& text);
  // Replaces count characters at pos (clipped) by text: an edit of the
  // operator, or of a report that rewrites part of the output. Caret after the
  // inserted text, no selection.
  void Replace(std::size_t pos, std::size_t count, const std::string& text);

  // ---- caret and selection ----
  std::size_t SelStart() const { return selStart_; }
  std::size_t SelLength() const { return selLength_; }
  // Places the caret (clipped to the text), no selection.
  void SetCaret(std::size_t pos);
  // Selects count characters from start (both clipped).
  void Select(std::size_t start, std::size_t count);
  std::string SelText() const;
  // Inserts text at the caret, replacing the selection; the caret ends after
  // the inserted text.
  void InsertAtCaret(const std::string& text);

  // Changes at every change of the text; lets a reader that keeps positions
  // beside the buffer see that someone else edited it.
  std::uint64_t Generation() const { return generation_; }

  // ---- the window around the text ----
  // False until a run first sets a colour: the view then shows the system's
  // window colour.
  bool HasBackground() const { return hasBackground_; }
  Rgb Background() const { return background_; }
  void SetBackground(Rgb colour);
  // The window's visibility as the reports see it: a row printer sets it, and
  // the window sets it false when the operator closes (hides) the window, so
  // that the next row shows it again. Listeners hear of changes only.
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Width() const { return width_; }  // pixels
  void SetWidth(int pixels);

  // At most one listener; null to detach. Not owned.
  void SetListener(OutputBufferListener* listener) { listener_ = listener; }

 private:
  struct Where {
    std::size_t chunk;   // index into chunks_
    std::size_t offset;  // within that chunk
  };
  Where Locate(std::size_t pos) const;
  void ReplaceRange(std::size_t pos, std::size_t count, const std::string& text);
  void SplitChunk(std::size_t index);
  void Changed(std::size_t pos, std::size_t removed, const std::string& inserted);
  void AppearanceChanged();

  std::vector<std::string> chunks_;  // never empty; only the first may be empty
  std::size_t length_ = 0;
  // Cache of the last located chunk: index and the position where it starts.
  mutable std::size_t cacheChunk_ = 0;
  mutable std::size_t cacheStart_ = 0;

  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  std::uint64_t generation_ = 0;

  bool hasBackground_ = false;
  Rgb background_{};
  bool visible_ = false;
  std::string caption_;
  int width_ = 658;
  OutputBufferListener* listener_ = nullptr;
};

}  // namespace platform
