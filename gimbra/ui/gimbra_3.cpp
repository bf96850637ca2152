#include "gimbra/ui/gimbra_3.h"

#include <QGuiApplication>
#include <QPlainTextEdit>

#include "gimbra/core/esarc.h"
#include "platform/qt/qtcanvas.h"

namespace gimbra::ui {

TGimbra3::TGimbra3() : QWidget(nullptr) {
  setWindowTitle(QString::fromUtf8(EsArcCaption));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(467, 395);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setGeometry(8, 8, 449, 377);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The rows line up only in a fixed-pitch font.
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont font(platform::QtCanvas::FontFamilyFor("Fixedsys"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(12);
  Memo1->setFont(font);
}

void TGimbra3::ShowReport(const std::string& text) {
  show();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) raise();
  text_ = text;
  // The view takes "\n" as its line break; the text itself keeps CR LF.
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  Memo1->setPlainText(shown);
}

}  // namespace gimbra::ui
