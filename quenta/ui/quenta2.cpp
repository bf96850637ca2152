#include "quenta/ui/quenta2.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/settingsstore.h"
#include "platform/uihost.h"
#include "quenta/core/planner.h"
#include "quenta/ui/outputmirror.h"
#include "quenta/ui/planner_form.h"

namespace quenta {

TQuenta2::TQuenta2(platform::OutputBuffer& output, platform::SettingsStore& settings, platform::UiHost& host)
    : QWidget(nullptr,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                  Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      output_(output),
      settings_(settings),
      host_(host) {
  setObjectName(QStringLiteral("Quenta2"));
  setWindowTitle(QString::fromStdString(DesignCaption()));
  appliedCaption_ = DesignCaption();
  resize(658, 343);
  appliedWidth_ = 658;
  move(185, 117);

  RichEdit1 = new QPlainTextEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setReadOnly(false);
  // "Fixedsys", 12 pixels high: the reports are column-aligned.
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPixelSize(12);
  RichEdit1->setFont(font);
  systemPalette_ = RichEdit1->palette();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RichEdit1);

  PopupMenu1 = new QMenu(this);
  Copy = PopupMenu1->addAction(QStringLiteral("Copy"));
  Cut1 = PopupMenu1->addAction(QStringLiteral("Cut"));
  Paste1 = PopupMenu1->addAction(QStringLiteral("Paste"));
  Delete1 = PopupMenu1->addAction(QStringLiteral("Delete"));
  QObject::connect(Copy, &QAction::triggered, this, [this] { CopyClick(); });
  QObject::connect(Cut1, &QAction::triggered, this, [this] { Cut1Click(); });
  QObject::connect(Paste1, &QAction::triggered, this, [this] { Paste1Click(); });
  QObject::connect(Delete1, &QAction::triggered, this, [this] { Delete1Click(); });
  RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1->exec(RichEdit1->viewport()->mapToGlobal(at));
  });

  mirror_ = std::make_unique<OutputMirror>(output_, RichEdit1);
  mirror_->onAppearanceChanged = [this] { ApplyAppearance(); };
  FormCreate();
}

TQuenta2::~TQuenta2() = default;

void TQuenta2::FormCreate() {
  const WindowPosition p = ReadWindowPosition(settings_, Form2TopValue, Form2LeftValue);
  move(p.Left, p.Top);
}

void TQuenta2::FormClose() {
  if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
  WriteWindowPosition(settings_, Form2TopValue, Form2LeftValue, WindowPosition{pos().y(), pos().x()});
  std::string error;
  if (!settings_.flush(&error)) host_.showMessage(error);
}

void TQuenta2::closeEvent(QCloseEvent* event) {
  FormClose();
  // Only hidden: the next row a run prints shows the window again.
  output_.SetVisible(false);
  event->accept();
}

void TQuenta2::ApplyAppearance() {
  if (output_.HasBackground() != appliedHasBackground_ ||
      (output_.HasBackground() && !(output_.Background() == appliedBackground_))) {
    appliedHasBackground_ = output_.HasBackground();
    appliedBackground_ = output_.Background();
    QPalette palette = systemPalette_;  // the system's window colour until a run sets one
    if (appliedHasBackground_) {
      const QColor colour(appliedBackground_.red, appliedBackground_.green, appliedBackground_.blue);
      palette.setColor(QPalette::Active, QPalette::Base, colour);
      palette.setColor(QPalette::Inactive, QPalette::Base, colour);
      palette.setColor(QPalette::Disabled, QPalette::Base, colour);
    }
    RichEdit1->setPalette(palette);
  }
  if (output_.Caption() != appliedCaption_) {
    appliedCaption_ = output_.Caption();
    setWindowTitle(QString::fromStdString(appliedCaption_));
  }
  if (output_.Width() != appliedWidth_) {
    appliedWidth_ = output_.Width();
    // The run sets the outer width; the frame's share is known once shown.
    const int frame = isVisible() ? frameGeometry().width() - geometry().width() : 0;
    resize(std::max(100, appliedWidth_ - frame), height());
  }
  if (output_.Visible() && !isVisible()) show();
  appliedVisible_ = output_.Visible();
}

void TQuenta2::CalculateStarting() { appliedWidth_ = -1; }

void TQuenta2::CopyClick() { RichEdit1->copy(); }

void TQuenta2::Cut1Click() { RichEdit1->cut(); }

void TQuenta2::Paste1Click() { RichEdit1->paste(); }

void TQuenta2::Delete1Click() {
  QTextCursor cursor = RichEdit1->textCursor();
  cursor.removeSelectedText();
  RichEdit1->setTextCursor(cursor);
}

}  // namespace quenta
