#include "quenta/ui/printing.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/atomicfile.h"
#include "platform/uihost.h"
#include "quenta/ui/planner_form.h"

namespace quenta {

const char* const PrintJobTitle = "0";

namespace {

QString ToQString(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (s.contains(QChar::ReplacementCharacter)) s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return s;
}

// Letter where the desktop measures in inches (United States), A4 elsewhere;
// 15 mm margins all round.
QPageLayout DefaultPageLayout() {
  const bool us = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
  return QPageLayout(QPageSize(us ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

// The view's font size in points: the view sets it in pixels at 96 per inch.
double ViewPointSize(const QFont& viewFont) {
  if (viewFont.pointSizeF() > 0) return viewFont.pointSizeF();
  return viewFont.pixelSize() * 72.0 / 96.0;
}

}  // namespace

PrintHooks DesktopPrintHooks(QWidget* parent) {
  PrintHooks h;
  h.hasDefaultPrinter = [] { return !QPrinterInfo::defaultPrinter().isNull(); };
  h.askYesNo = [parent](const QString& question) {
    return QMessageBox::question(parent, QStringLiteral("Quenta"), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
  };
  h.askPdfFileName = [parent] {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save the output as PDF"), QStringLiteral("quenta-output.pdf"),
                                        QStringLiteral("PDF files (*.pdf)"));
  };
  return h;
}

bool RenderOutputText(QPagedPaintDevice& device, const std::string& text, const QFont& viewFont) {
  const std::vector<std::string> lines = PrintLines(text);
  QFont font(viewFont.family());
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  double points = ViewPointSize(viewFont);
  font.setPointSizeF(points);

  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double pageWidth = device.width();    // printable area, device pixels
  const double pageHeight = device.height();
  std::size_t widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, line.size());
  {
    QFontMetricsF fm(font, &device);
    const double needed = fm.horizontalAdvance(QString(static_cast<qsizetype>(widest), QLatin1Char('M')));
    if (needed > pageWidth && needed > 0) {
      points = std::max(4.0, points * pageWidth / needed * 0.995);
      font.setPointSizeF(points);
    }
  }
  painter.setFont(font);
  painter.setPen(Qt::black);
  QFontMetricsF fm(font, &device);
  const double lineHeight = fm.lineSpacing();
  const int linesPerPage = std::max(1, static_cast<int>(std::floor(pageHeight / lineHeight)));
  const auto pages = Paginate(lines, linesPerPage);
  for (std::size_t p = 0; p < pages.size(); ++p) {
    if (p > 0 && !device.newPage()) {
      painter.end();
      return false;
    }
    double y = fm.ascent();
    for (const std::string& line : pages[p]) {
      painter.drawText(QPointF(0, y), ToQString(line));
      y += lineHeight;
    }
  }
  return painter.end();
}

QByteArray OutputTextAsPdf(const std::string& text, const QFont& viewFont) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setTitle(QString::fromLatin1(PrintJobTitle));
    writer.setCreator(QStringLiteral("Quenta"));
    writer.setPageLayout(DefaultPageLayout());
    writer.setResolution(600);
    if (!RenderOutputText(writer, text, viewFont)) return QByteArray();
  }
  buffer.close();
  return bytes;
}

PrintOutcome PrintOutputText(const std::string& text, const QFont& viewFont, platform::UiHost& host,
                             const PrintHooks& hooks) {
  if (hooks.hasDefaultPrinter && hooks.hasDefaultPrinter()) {
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(PrintJobTitle));
    printer.setCreator(QStringLiteral("Quenta"));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    if (!RenderOutputText(printer, text, viewFont)) {
      host.showMessage("The output could not be printed: the printer \"" +
                       printer.printerName().toStdString() + "\" did not accept the job.");
      return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
  }
  if (!hooks.askYesNo ||
      !hooks.askYesNo(QStringLiteral("No printer is installed, so the output cannot be printed.\n\n"
                                     "Save it as a PDF file instead?")))
    return PrintOutcome::Declined;
  const QString fileName = hooks.askPdfFileName ? hooks.askPdfFileName() : QString();
  if (fileName.isEmpty()) return PrintOutcome::Declined;
  const QByteArray pdf = OutputTextAsPdf(text, viewFont);
  if (pdf.isEmpty()) {
    host.showMessage("The PDF file could not be made.");
    return PrintOutcome::Failed;
  }
  std::string error;
  const std::string path = fileName.toStdString();
  if (!platform::WriteFileAtomically(path, std::string(pdf.constData(), static_cast<std::size_t>(pdf.size())), &error)) {
    host.showMessage("The PDF file " + path + " could not be written: " + error);
    return PrintOutcome::Failed;
  }
  host.showMessage("The output was saved as " + path + ".");
  return PrintOutcome::SavedPdf;
}

}  // namespace quenta
