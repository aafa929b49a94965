#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// "Открытие COM-порта": picks one of the ports present; the answer goes to
// DeviceLink.ChosenPort (0 for Cancel, unchanged when closed by the frame).
class TFormCOM : public QDialog {
  Q_OBJECT

 public:
  explicit TFormCOM(QWidget* parent = nullptr);

  QComboBox* const ComboBox1;
  QPushButton* const Button1;
  QPushButton* const Button2;

  void FormShow();
  void Button1Click();
  void Button2Click();

 protected:
  void showEvent(QShowEvent* event) override;
};

// The port dialog of Connect: creates the window, shows it modally, frees it.
void RunPortDialog();
