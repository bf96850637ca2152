#include "platform/outputbuffer.h"

#include <algorithm>

namespace platform {
namespace {

// Chunks are split when an insertion makes them longer than twice this size.
constexpr std::size_t ChunkSize = 4096;

}  // namespace

OutputBuffer::OutputBuffer() : chunks_(1) {
  caption_ = " Output" + std::string(54, ' ') + "Quenta / VELM  ";
}

OutputBuffer::Where OutputBuffer::Locate(std::size_t pos) const {
  // Positions at a chunk boundary belong to the end of the earlier chunk, so
  // that appending at the end never needs a new chunk first.
  if (pos >= length_) {  // the end: the last chunk (appends land here)
    cacheChunk_ = chunks_.size() - 1;
    cacheStart_ = length_ - chunks_.back().size();
    return {cacheChunk_, chunks_.back().size()};
  }
  if (pos < cacheStart_ || cacheChunk_ >= chunks_.size()) {
    cacheChunk_ = 0;
    cacheStart_ = 0;
  }
  std::size_t i = cacheChunk_, start = cacheStart_;
  while (i + 1 < chunks_.size() && pos > start + chunks_[i].size()) {
    start += chunks_[i].size();
    ++i;
  }
  cacheChunk_ = i;
  cacheStart_ = start;
  return {i, std::min(pos - start, chunks_[i].size())};
}

std::string OutputBuffer::Text() const {
  std::string all;
  all.reserve(length_);
  for (const auto& c : chunks_) all += c;
  return all;
}

char OutputBuffer::At(std::size_t pos) const {
  if (pos >= length_) return '\0';
  Where w = Locate(pos);
  if (w.offset == chunks_[w.chunk].size()) return chunks_[w.chunk + 1][0];
  return chunks_[w.chunk][w.offset];
}

std::string OutputBuffer::Substr(std::size_t pos, std::size_t count) const {
  std::string s;
  if (pos >= length_) return s;
  count = std::min(count, length_ - pos);
  s.reserve(count);
  Where w = Locate(pos);
  std::size_t i = w.chunk, off = w.offset;
  while (s.size() < count && i < chunks_.size()) {
    const std::string& c = chunks_[i];
    std::size_t take = std::min(count - s.size(), c.size() - off);
    s.append(c, off, take);
    ++i;
    off = 0;
  }
  return s;
}

std::size_t OutputBuffer::Find(const std::string& needle, std::size_t from) const {
  if (needle.empty()) return from <= length_ ? from : npos;
  if (from >= length_) return npos;
  Where w = Locate(from);
  std::size_t start = from - w.offset;  // text position of chunk w.chunk
  // Search each chunk together with the tail of the one before, so that a
  // needle across a chunk boundary is found too.
  std::string carry;
  std::size_t carryStart = from;
  for (std::size_t i = w.chunk; i < chunks_.size(); ++i) {
    std::size_t off = (i == w.chunk) ? w.offset : 0;
    std::string window = carry;
    window.append(chunks_[i], off, std::string::npos);
    std::size_t hit = window.find(needle);
    if (hit != std::string::npos) return carryStart + hit;
    std::size_t keep = std::min(window.size(), needle.size() - 1);
    carry = window.substr(window.size() - keep);
    start += chunks_[i].size();
    carryStart = start - keep;
  }
  return npos;
}

std::size_t OutputBuffer::LineEnd(std::size_t from) const {
  if (from >= length_) return length_;
  Where w = Locate(from);
  std::size_t pos = from;
  for (std::size_t i = w.chunk; i < chunks_.size(); ++i) {
    std::size_t off = (i == w.chunk) ? w.offset : 0;
    std::size_t hit = chunks_[i].find('\n', off);
    if (hit != std::string::npos) return pos + (hit - off) + 1;
    pos += chunks_[i].size() - off;
  }
  return length_;
}

void OutputBuffer::SplitChunk(std::size_t index) {
  if (chunks_[index].size() <= 2 * ChunkSize) return;
  std::string big = std::move(chunks_[index]);
  std::vector<std::string> parts;
  for (std::size_t p = 0; p < big.size(); p += ChunkSize) parts.push_back(big.substr(p, ChunkSize));
  chunks_[index] = std::move(parts[0]);
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                 std::make_move_iterator(parts.begin() + 1), std::make_move_iterator(parts.end()));
}

void OutputBuffer::ReplaceRange(std::size_t pos, std::size_t count, const std::string& text) {
  pos = std::min(pos, length_);
  count = std::min(count, length_ - pos);
  // Remove count characters from pos, chunk by chunk.
  std::size_t left = count;
  Where w = Locate(pos);
  std::size_t i = w.chunk, off = w.offset;
  while (left > 0) {
    if (off == chunks_[i].size()) {
      ++i;
      off = 0;
      continue;
    }
    std::size_t take = std::min(left, chunks_[i].size() - off);
    chunks_[i].erase(off, take);
    left -= take;
  }
  length_ -= count;
  if (count > 0) {
    // Drop the chunks the removal emptied (keep at least one).
    bool dropped = false;
    for (std::size_t k = std::min(i, chunks_.size() - 1) + 1; k-- > w.chunk;) {
      if (chunks_[k].empty() && chunks_.size() > 1) {
        chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(k));
        dropped = true;
      }
    }
    if (dropped) {
      cacheChunk_ = 0;
      cacheStart_ = 0;
    }
  }
  if (!text.empty()) {
    Where at = Locate(pos);
    chunks_[at.chunk].insert(at.offset, text);
    length_ += text.size();
    SplitChunk(at.chunk);
  }
}

void OutputBuffer::Changed(std::size_t pos, std::size_t removed, const std::string& inserted) {
  ++generation_;
  if (listener_) listener_->textChanged(pos, removed, inserted);
}

void OutputBuffer::AppearanceChanged() {
  if (listener_) listener_->appearanceChanged();
}

void OutputBuffer::SetText(const std::string& text) {
  std::size_t old = length_;
  chunks_.assign(1, std::string());
  length_ = 0;
  cacheChunk_ = cacheStart_ = 0;
  if (!text.empty()) {
    chunks_[0] = text;
    length_ = text.size();
    SplitChunk(0);
  }
  selStart_ = 0;
  selLength_ = 0;
  Changed(0, old, text);
}

void OutputBuffer::AppendText(const std::string& text) {
  std::size_t pos = length_;
  ReplaceRange(pos, 0, text);
  Changed(pos, 0, text);
}

void OutputBuffer::Replace(std::size_t pos, std::size_t count, const std::string& text) {
  pos = std::min(pos, length_);
  count = std::min(count, length_ - pos);
  ReplaceRange(pos, count, text);
  selStart_ = pos + text.size();
  selLength_ = 0;
  Changed(pos, count, text);
}

void OutputBuffer::SetCaret(std::size_t pos) {
  selStart_ = std::min(pos, length_);
  selLength_ = 0;
}

void OutputBuffer::Select(std::size_t start, std::size_t count) {
  selStart_ = std::min(start, length_);
  selLength_ = std::min(count, length_ - selStart_);
}

std::string OutputBuffer::SelText() const { return Substr(selStart_, selLength_); }

void OutputBuffer::InsertAtCaret(const std::string& text) {
  Replace(selStart_, selLength_, text);
}

void OutputBuffer::SetBackground(Rgb colour) {
  hasBackground_ = true;
  background_ = colour;
  AppearanceChanged();
}

void OutputBuffer::SetVisible(bool visible) {
  // Every printed row makes the window visible: tell the view only of a change.
  if (visible_ == visible) return;
  visible_ = visible;
  AppearanceChanged();
}

void OutputBuffer::SetCaption(const std::string& caption) {
  caption_ = caption;
  AppearanceChanged();
}

void OutputBuffer::SetWidth(int pixels) {
  width_ = pixels;
  AppearanceChanged();
}

}  // namespace platform
