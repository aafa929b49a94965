#pragma once

#include <functional>

#include "ui/main/child_window.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The largest point size from 30 down to 6 whose letter "M" is narrower than
// a 65th of the text box, else 5: a dump line then fits the box.
int FitDumpFontSize(int memoWidth, const std::function<int(int pointSize)>& widthOfM);

// "Просмотр памяти": reads the charger's memory into the image, shows an area
// of it as a hex dump and saves or loads the dump file.
class TFormMem : public ChildWindow {
  Q_OBJECT

 public:
  TFormMem();

  QGroupBox* const GroupBox1;
  QRadioButton* RadioButton[4];
  QPushButton* const Button1;
  QPushButton* const Button2;
  QPushButton* const Button3;
  QPlainTextEdit* const Memo1;

  void ShowDump();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  int selectedArea() const;

 protected:
  void shown() override;  // FormShow
  void tick() override;   // Timer1Timer
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;  // Memo1DblClick

 private:
  void fitFont();

  int fontCountdown_ = 2;
};
