// Printing the planner's output: the whole text, page by page in the output
// view's fixed-pitch font, as one job titled "0" on the default printer,
// without a print dialog. Where no printer is installed the operator is told
// so and offered to save the job as a PDF file instead; a print that goes
// nowhere is never reported as done.
#pragma once

#include <functional>
#include <string>

#include <QFont>
#include <QString>

class QPagedPaintDevice;
class QWidget;

namespace platform { class UiHost; }

namespace quenta {

extern const char* const PrintJobTitle;  // "0"

// What the Print command asks the desktop; tests replace each part.
struct PrintHooks {
  // True when a default printer is installed.
  std::function<bool()> hasDefaultPrinter;
  // A yes/no question; true for yes.
  std::function<bool(const QString& question)> askYesNo;
  // The PDF file to write; empty when the operator cancels.
  std::function<QString()> askPdfFileName;
};
// The desktop's own: QPrinterInfo, QMessageBox, QFileDialog over parent.
PrintHooks DesktopPrintHooks(QWidget* parent);

enum class PrintOutcome { Printed, SavedPdf, Declined, Failed };

// Prints text (the output buffer's whole text); messages go through host.
PrintOutcome PrintOutputText(const std::string& text, const QFont& viewFont, platform::UiHost& host,
                             const PrintHooks& hooks);

// Lays text out on device page by page: the view font's family at the
// view's size, made smaller only where the widest line would not fit the
// page's width (columns stay aligned; lines are never wrapped).
bool RenderOutputText(QPagedPaintDevice& device, const std::string& text, const QFont& viewFont);

// The job as PDF bytes, for the printer-less case.
QByteArray OutputTextAsPdf(const std::string& text, const QFont& viewFont);

}  // namespace quenta
