// The planner's PDF of its output (the Print command where no printer is
// installed) written onto a full file system or in place of a directory:
// a clear message, the outcome Failed, and the previous file intact.
// A full file system is a cap on the size of the files this process may
// write (RLIMIT_FSIZE), lowered only around the one write and restored.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <QFont>
#include <QGuiApplication>

#include "platform/uihost.h"
#include "quenta/ui/printing.h"
#include "reliability_fixtures.h"

namespace {

using reltest::TempDir;

const std::string kText = "\r\n            ISS   - Home      AMSAT DAY 14610\r\n 00:00  221   FM    11337  -58  224\r\n";

quenta::PrintHooks SaveAs(const std::string& path) {
  quenta::PrintHooks hooks;
  hooks.hasDefaultPrinter = [] { return false; };
  hooks.askYesNo = [](const QString&) { return true; };
  hooks.askPdfFileName = [path] { return QString::fromStdString(path); };
  return hooks;
}

// Lowers the soft file-size limit for its lifetime; a write beyond it fails
// with EFBIG instead of ending the process.
class FileSizeCap {
 public:
  explicit FileSizeCap(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim = old_;
    lim.rlim_cur = bytes;
    ok_ = setrlimit(RLIMIT_FSIZE, &lim) == 0;
  }
  ~FileSizeCap() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }
  bool ok() const { return ok_; }

 private:
  struct rlimit old_ {};
  sighandler_t oldHandler_ = SIG_DFL;
  bool ok_ = false;
};

TEST(PdfFaults, FullFileSystemGivesAMessageAndKeepsThePreviousPdf) {
  TempDir dir("pdf");
  const std::string path = dir / "plan.pdf";
  reltest::WriteText(path, "previous pdf");
  platform::RecordingUiHost host;
  quenta::PrintOutcome outcome;
  {
    FileSizeCap cap(64);  // far less than any PDF
    ASSERT_TRUE(cap.ok());
    outcome = quenta::PrintOutputText(kText, QFont("DejaVu Sans Mono", 10), host, SaveAs(path));
  }
  EXPECT_EQ(outcome, quenta::PrintOutcome::Failed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("could not be written"), std::string::npos) << host.messages[0];
  EXPECT_EQ(reltest::ReadText(path), "previous pdf");
}

TEST(PdfFaults, ADirectoryInPlaceOfTheFileIsLeftAsItIs) {
  TempDir dir("pdf");
  const std::string path = dir / "plan.pdf";
  reltest::fs::create_directories(path);
  reltest::WriteText(path + "/inside.txt", "kept");
  platform::RecordingUiHost host;
  const quenta::PrintOutcome outcome =
      quenta::PrintOutputText(kText, QFont("DejaVu Sans Mono", 10), host, SaveAs(path));
  EXPECT_EQ(outcome, quenta::PrintOutcome::Failed);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("could not be written"), std::string::npos) << host.messages[0];
  EXPECT_EQ(reltest::ReadText(path + "/inside.txt"), "kept");
}

TEST(PdfFaults, WritableDirectoryGetsTheWholePdf) {
  TempDir dir("pdf");
  const std::string path = dir / "plan.pdf";
  platform::RecordingUiHost host;
  EXPECT_EQ(quenta::PrintOutputText(kText, QFont("DejaVu Sans Mono", 10), host, SaveAs(path)),
            quenta::PrintOutcome::SavedPdf);
  const std::string pdf = reltest::ReadText(path);
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
}

}  // namespace

int main(int argc, char** argv) {
  // Fonts and the PDF writer need an application, not a screen (test
  // discovery runs this without the tests' environment).
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
