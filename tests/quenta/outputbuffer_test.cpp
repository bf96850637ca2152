// The output buffer: text, caret and selection as one std::string with a
// caret would keep them, across the chunk boundaries of its representation.
#include <gtest/gtest.h>

#include <random>

#include "platform/outputbuffer.h"

using platform::OutputBuffer;

namespace {

// The plain model the chunked buffer must agree with.
struct Model {
  std::string text;
  std::size_t sel = 0, len = 0;
  void Insert(const std::string& s) {
    text.replace(sel, len, s);
    sel += s.size();
    len = 0;
  }
};

class Recorder : public platform::OutputBufferListener {
 public:
  std::string mirror;
  int appearance = 0;
  void textChanged(std::size_t pos, std::size_t removed, const std::string& inserted) override {
    mirror.replace(pos, removed, inserted);
  }
  void appearanceChanged() override { ++appearance; }
};

}  // namespace

TEST(OutputBuffer, InsertAtCaretReplacesTheSelectionAndLeavesTheCaretAfterIt) {
  struct Case {
    const char* name;
    const char* text;
    std::size_t selStart, selLength;
    const char* inserted;
    const char* expected;
    std::size_t caret;
  } cases[] = {
      {"caret at start", "abc", 0, 0, "XY", "XYabc", 2},
      {"caret at end", "abc", 3, 0, "\r\n", "abc\r\n", 5},
      {"selection replaced", "abcdef", 1, 3, "Z", "aZef", 2},
      {"selection clipped at the end", "abc", 2, 10, "Q", "abQ", 3},
      {"caret past the end is the end", "abc", 99, 0, "!", "abc!", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OutputBuffer b;
    b.SetText(c.text);
    b.Select(c.selStart, c.selLength);
    b.InsertAtCaret(c.inserted);
    EXPECT_EQ(b.Text(), c.expected);
    EXPECT_EQ(b.SelStart(), c.caret);
    EXPECT_EQ(b.SelLength(), 0u);
  }
}

TEST(OutputBuffer, CrLfCountAsTwoCharacters) {
  OutputBuffer b;
  b.SetText("ab\r\ncd\r\n");
  EXPECT_EQ(b.Length(), 8u);
  EXPECT_EQ(b.LineEnd(0), 4u);
  EXPECT_EQ(b.LineEnd(4), 8u);
  EXPECT_EQ(b.Substr(4, 2), "cd");
  EXPECT_EQ(b.Find("cd"), 4u);
  EXPECT_EQ(b.Find("zz"), OutputBuffer::npos);
}

TEST(OutputBuffer, AgreesWithAPlainStringOverManyEditsAcrossChunks) {
  // A fixed seed: the same edit sequence every run.
  std::mt19937 rng(12345);
  OutputBuffer b;
  Recorder rec;
  b.SetListener(&rec);
  Model m;
  for (int step = 0; step < 4000; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 6) {  // insert a row somewhere
      std::size_t at = m.text.empty() ? 0 : rng() % (m.text.size() + 1);
      std::string row(rng() % 300, static_cast<char>('a' + step % 26));
      row += "\r\n";
      b.SetCaret(at);
      m.sel = at;
      m.len = 0;
      b.InsertAtCaret(row);
      m.Insert(row);
    } else if (op == 6 && !m.text.empty()) {  // replace a selection, often across chunks
      std::size_t at = rng() % m.text.size();
      std::size_t len = rng() % 600;
      len = std::min(len, m.text.size() - at);
      b.Select(at, len);
      m.sel = at;
      m.len = len;
      b.InsertAtCaret("#");
      m.Insert("#");
    } else if (op == 7) {
      b.AppendText("END\r\n");
      m.text += "END\r\n";
    } else if (!m.text.empty()) {  // read back a piece and search for it
      std::size_t at = rng() % m.text.size();
      std::string piece = m.text.substr(at, 20);
      EXPECT_EQ(b.Substr(at, 20), piece);
      EXPECT_EQ(b.Find(piece), m.text.find(piece));
      EXPECT_EQ(b.At(at), m.text[at]);
      std::size_t nl = m.text.find('\n', at);
      EXPECT_EQ(b.LineEnd(at), nl == std::string::npos ? m.text.size() : nl + 1);
    }
    ASSERT_EQ(b.Length(), m.text.size()) << "step " << step;
  }
  EXPECT_EQ(b.Text(), m.text);
  EXPECT_EQ(rec.mirror, m.text);
  EXPECT_GT(m.text.size(), 100000u);  // the edits did cross many chunks
}

TEST(OutputBuffer, FindsANeedleAcrossAChunkBoundary) {
  OutputBuffer b;
  std::string text(20000, 'x');
  text.replace(8190, 10, "0123456789");
  b.SetText(text);
  EXPECT_EQ(b.Find("0123456789"), 8190u);
  EXPECT_EQ(b.Find("0123456789", 8191), OutputBuffer::npos);
}

TEST(OutputBuffer, GenerationChangesWithEveryTextChangeOnly) {
  OutputBuffer b;
  auto g0 = b.Generation();
  b.InsertAtCaret("a");
  auto g1 = b.Generation();
  EXPECT_NE(g0, g1);
  b.SetCaret(0);
  b.SetBackground({1, 2, 3});
  EXPECT_EQ(b.Generation(), g1);
  b.Replace(0, 1, "b");
  EXPECT_NE(b.Generation(), g1);
}

TEST(OutputBuffer, WindowPropertiesStartAsDesignedAndNotify) {
  OutputBuffer b;
  Recorder rec;
  b.SetListener(&rec);
  EXPECT_FALSE(b.HasBackground());  // the system window colour until the first run
  EXPECT_FALSE(b.Visible());
  EXPECT_EQ(b.Caption(), " Output" + std::string(54, ' ') + "Quenta / VELM  ");
  b.SetBackground({255, 255, 192});
  b.SetVisible(true);
  b.SetWidth(855);
  b.SetCaption("x");
  EXPECT_TRUE(b.HasBackground());
  EXPECT_EQ(b.Background(), (platform::Rgb{255, 255, 192}));
  EXPECT_EQ(b.Width(), 855);
  EXPECT_EQ(rec.appearance, 4);
}
