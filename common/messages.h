#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// Every message box and Yes/No question of the program goes through here to
// the host, so the windows can show QMessageBox and tests can record and
// answer.
inline const QString kQuestionTitle = QStringLiteral("Внимание!!!");

// Texts said in more than one place.
inline const QString kUnsupportedChargerText =
    QStringLiteral("Данное устройство не поддерживается!");
inline const QString kNoChargerLinkText = QStringLiteral("Не удалось установить связь с ЗУ!");
// "Не удалось записать файл " + path.
QString CannotWriteFileText(const QString& path);

void ShowMessage(const QString& text);
// A Yes/No question titled kQuestionTitle; true for Yes.
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
  friend void ShowMessage(const QString& text);
  MessageCapture* outer_;
  QStringList messages_;
};

}  // namespace qv
