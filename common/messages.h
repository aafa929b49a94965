#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Every message box and Yes/No question of the program goes through here, so
// the windows can show QMessageBox and tests can record and answer.
inline const QString kQuestionTitle = QStringLiteral("Внимание!!!");

struct MessageSeam {
  std::function<void(const QString& text)> show;
  // A Yes/No question titled kQuestionTitle; true for Yes.
  std::function<bool(const QString& question)> ask;
};

// Texts said in more than one place.
inline const QString kUnsupportedChargerText =
    QStringLiteral("Данное устройство не поддерживается!");
inline const QString kNoChargerLinkText = QStringLiteral("Не удалось установить связь с ЗУ!");
// "Не удалось записать файл " + path.
QString CannotWriteFileText(const QString& path);

// Without a seam, messages go to stderr and questions are answered No.
void SetMessageSeam(MessageSeam seam);
void ShowMessage(const QString& text);
bool AskYesNo(const QString& question);

// While one lives, messages are collected instead of shown and questions are
// answered No: for work the user did not ask for, such as reconnecting.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  const QStringList& messages() const { return messages_; }

 private:
  MessageSeam saved_;
  QStringList messages_;
};
