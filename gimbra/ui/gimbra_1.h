// TGimbra1, the plotter's main window: satellite and zoom lists, calculation
// date, attitude, segment counts, sensor gammas, fudge factors, the data-file
// name, the "Graph Items" check boxes, the Draw button and the menu. Its
// controls keep the names of the form they mirror; the window copies them
// into a PlotInputs record and hands that to the core.
#pragma once

#include <string>

#include <QMainWindow>

#include "gimbra/core/plotinputs.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace gimbra::ui {

class GimbraSession;

class TGimbra1 : public QMainWindow {
 public:
  // Creates the controls and runs FormCreate (settings, lists, position).
  explicit TGimbra1(GimbraSession& session);
  ~TGimbra1() override;

  // ---- handlers ----
  void FormCreate();
  void FormShow();
  void FormClose();
  void ListBox1Click();
  void Button1Click();
  void Edit4Exit(QLineEdit* edit);  // Edit4 and Edit8
  void Edit2Exit();
  void Edit3Exit();
  void Advanced1Click();
  void About2Click();
  void ESarcSim1Click();
  void Exit1Click();

  // The controls as the core's inputs record, and back.
  PlotInputs ReadControls() const;
  void WriteControls(const PlotInputs& in);

  // Outer width of the form in design pixels (narrow or wide).
  int FormWidth() const { return formWidth_; }

  // ---- controls ----
  QLabel* Label1 = nullptr;
  QListWidget* ListBox1 = nullptr;  // satellites
  QLabel* Label2 = nullptr;
  QListWidget* ListBox2 = nullptr;  // zoom
  QLabel* Label6 = nullptr;
  QLineEdit* Edit4 = nullptr;       // "Map" segments
  QLineEdit* Edit8 = nullptr;       // "Sat" segments
  QLabel* Label3 = nullptr;
  QLineEdit* Edit1 = nullptr;       // calculation date
  QLabel* Label4 = nullptr;
  QLineEdit* Edit2 = nullptr;       // ALON
  QLabel* Label5 = nullptr;
  QLineEdit* Edit3 = nullptr;       // ALAT
  QLabel* Label7 = nullptr;
  QLineEdit* Edit5 = nullptr;       // data file name
  QLabel* Label8 = nullptr;
  QLineEdit* Edit6 = nullptr;       // first gamma, "U-gamma"
  QLineEdit* Edit7 = nullptr;       // second gamma, "L-gamma"
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLineEdit* Edit9 = nullptr;       // ESL fudge
  QLineEdit* Edit10 = nullptr;      // ESU fudge
  QLineEdit* Edit11 = nullptr;      // Sun fudge
  QPushButton* Button1 = nullptr;   // "Draw"
  QGroupBox* GroupBox1 = nullptr;   // "Graph Items"
  QCheckBox* CheckBox[9] = {};      // in the group's order, top to bottom
  QMenu* Menu1 = nullptr;
  QAction* About2 = nullptr;
  QAction* ESarcSim1 = nullptr;
  QAction* Advanced1 = nullptr;
  QAction* Exit1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void SetFormWidth(int width);
  void ShowError(const std::exception& e);

  GimbraSession& session_;
  int formWidth_ = 0;
  bool shown_ = false;
  bool closing_ = false;
};

}  // namespace gimbra::ui
