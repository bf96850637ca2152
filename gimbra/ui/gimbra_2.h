// TGimbra2, the plot window: the 800 x 600 image Image1 on which the Draw
// paints the sky map and the keys paint the satellite view, the pointer
// read-out, the mouse buttons and the keys. An independent top-level window
// with its own task-bar entry; closing it only hides it.
#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QWidget>

#include "gimbra/core/plotwindow.h"

namespace platform { class QtCanvas; }

namespace gimbra::ui {

class GimbraSession;
class TGimbra2;

// The image: shows the plot picture, reports pointer moves and presses.
class PlotImage : public QWidget {
 public:
  PlotImage(TGimbra2& form, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  TGimbra2& form_;
};

class TGimbra2 : public QWidget {
 public:
  explicit TGimbra2(GimbraSession& session);
  ~TGimbra2() override;

  void FormCreate();
  void FormClose();
  void Image1MouseMove(int x, int y);
  void FormMouseDown(MouseButton button, bool shift, bool alt);
  void FormKeyDown(ViewKey key, bool shift);

  // The Draw's step "show the plot window".
  void ShowForDraw();
  // The plot picture and the canvas the core draws on.
  QImage& Picture() { return picture_; }
  platform::Canvas& Canvas();
  // Shows the drawing so far.
  void Repaint();
  // The image's hint on or off.
  void SetHint(bool on);
  bool HintOn() const;

  PlotImage* Image1 = nullptr;

  // The key of the table for a Qt key (with keypad flag); ViewKey::Other for the rest.
  static ViewKey KeyFor(int qtKey, bool keypad);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  friend class PlotImage;
  // Runs one handler of the core with the plot window's context; a
  // conversion error is shown as a message.
  void WithContext(const std::function<void(PlotWindowContext&)>& handler);

  GimbraSession& session_;
  QImage picture_;
  std::unique_ptr<platform::QtCanvas> canvas_;
};

}  // namespace gimbra::ui
