#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Параметры программы": port, speed, polling interval, connecting at start,
// communication log and the command run when a run ends. OK takes the values
// and writes qv20.ini at once; a value that cannot be taken is said and the
// dialog stays; Cancel changes nothing.
class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(QWidget* parent = nullptr);

 private:
  void okClicked();

  QComboBox* const port_;
  QComboBox* const speed_;
  QLineEdit* const interval_;
  QCheckBox* const connectAtStart_;
  QCheckBox* const communicationLog_;
  QLineEdit* const runEndCommand_;
};
