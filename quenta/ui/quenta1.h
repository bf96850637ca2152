// The planner's main window: observer, satellites, time zone, interval,
// start and finish, horizon mode, keps directory and squint limit; Calculate
// and Stop; the menu with Exit, About and Print. It reads its controls into
// the planner core's PlanInputs and calls the core: no orbit arithmetic here.
// Its selections are kept in the per-user settings store between starts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QMainWindow>

#include "quenta/ui/printing.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;

namespace navlib { struct NavState; }
namespace platform {
class OutputBuffer;
class SettingsStore;
class UiHost;
}  // namespace platform

namespace quenta {

class Planner;
struct PlanInputs;
class TQuenta2;

class TQuenta1 : public QMainWindow {
 public:
  // output2 may be null until SetOutputWindow: the output window is created
  // after the main window.
  TQuenta1(navlib::NavState& nav, Planner& planner, platform::OutputBuffer& output, TQuenta2* output2,
           platform::SettingsStore& settings, platform::UiHost& host);
  ~TQuenta1() override;
  void SetOutputWindow(TQuenta2* output2) { output2_ = output2; }
  // Called after the window has closed (the program then ends).
  std::function<void()> onClosed;

  // ---- Controls, named as on the form ----
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr;
  QLabel *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr;
  QComboBox* ListBox1 = nullptr;    // observer lines
  QListWidget* ListBox2 = nullptr;  // satellites, multiple selection
  QComboBox* ListBox3 = nullptr;    // time zones
  QComboBox* ListBox4 = nullptr;    // intervals
  QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr, *Edit5 = nullptr,
            *Edit6 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr, *RadioButton3 = nullptr, *RadioButton4 = nullptr;
  QPushButton* Button1 = nullptr;  // Calculate
  QPushButton* Button2 = nullptr;  // Stop
  QMenu* Menu1 = nullptr;
  QAction *Exit1 = nullptr, *About1 = nullptr, *Print1 = nullptr;

  // ---- Window events ----
  void FormCreate();
  void FormShow();
  void FormClose();
  void ListBox1Click();
  void ListBox4Click();
  void Edit2MouseDown();
  void Edit3MouseDown();
  void Edit4MouseDown();
  void Edit2Change();
  void Exit1Click();
  void About1Click();
  void Print1Click();
  // ---- Run commands ----
  void Button1MouseDown();  // Calculate
  void Button2Click();      // Stop

  // What the controls hold, as the core's inputs record.
  PlanInputs ReadInputs() const;

  // The Print command's questions to the desktop; tests replace them.
  PrintHooks printHooks;
  PrintOutcome lastPrintOutcome = PrintOutcome::Declined;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void ApplyStoredSelections();
  int CheckedHorizonButton() const;  // 1..4, 0 for none

  navlib::NavState& nav_;
  Planner& planner_;
  platform::OutputBuffer& output_;
  TQuenta2* output2_;
  platform::SettingsStore& settings_;
  platform::UiHost& host_;
  std::vector<std::string> observers_;   // the observer list's lines, byte for byte
  std::vector<std::string> satellites_;  // the satellite list's names, byte for byte
  bool shown_ = false;
  bool closed_ = false;
};

}  // namespace quenta
