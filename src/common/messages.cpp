#include "common/messages.h"

#include "common/texts.h"
#include "common/today.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>

namespace domiva::messages {
namespace {
Sink sink;
std::function<bool(const QString &)> answer;
std::function<std::optional<QString>(const QString &)> textAnswer;
std::function<std::optional<QString>(const QString &)> saveAnswer;
} // namespace

namespace {
void box(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
  if (sink) {
    sink(text);
    return;
  }
  QMessageBox message(icon, QStringLiteral("Domiva"), text, QMessageBox::Ok, parent);
  message.exec();
}
} // namespace

void show(QWidget *parent, const QString &text) { box(parent, QMessageBox::Warning, text); }

void tell(QWidget *parent, const QString &text) { box(parent, QMessageBox::Information, text); }

void report(QWidget *parent, const QString &failure, const QString &success) {
  if (failure.isEmpty())
    tell(parent, success);
  else
    show(parent, failure);
}

void setSink(Sink newSink) { sink = std::move(newSink); }

bool ask(QWidget *parent, const QString &text) {
  if (answer)
    return answer(text);
  return QMessageBox::question(parent, QStringLiteral("Domiva"), text) == QMessageBox::Yes;
}

void setAnswer(std::function<bool(const QString &)> newAnswer) { answer = std::move(newAnswer); }

std::optional<QString> askText(QWidget *parent, const QString &prompt, const QString &accept) {
  if (textAnswer)
    return textAnswer(prompt);
  QInputDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Domiva"));
  dialog.setLabelText(prompt);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setOkButtonText(accept);
  dialog.setCancelButtonText(texts::goBack);
  if (dialog.exec() != QDialog::Accepted)
    return std::nullopt;
  return dialog.textValue();
}

void setTextAnswer(std::function<std::optional<QString>(const QString &)> newAnswer) {
  textAnswer = std::move(newAnswer);
}
std::optional<QString> chooseSaveFile(QWidget *parent, const QString &title, const QString &suggested,
                                      const QString &filter) {
  if (saveAnswer)
    return saveAnswer(suggested);
  const QString path = QFileDialog::getSaveFileName(parent, title, suggested, filter);
  if (path.isEmpty())
    return std::nullopt;
  return path;
}

void setSaveAnswer(std::function<std::optional<QString>(const QString &)> newAnswer) {
  saveAnswer = std::move(newAnswer);
}

std::optional<QString> chooseDocument(QWidget *parent, const QString &title, const QString &name,
                                      const QString &suffix) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QDir().mkpath(folder);
  QString file = name.isEmpty() ? QStringLiteral("Domiva") : name;
  // A title's quote mark (דו"ח) is legal in a name but awkward in a shell.
  file.replace(QLatin1Char('"'), QChar(0x05F4)).replace(QLatin1Char('/'), QLatin1Char('-'));
  const QString ending = QLatin1Char('.') + suffix;
  const QString suggested = QDir(folder).filePath(file + QLatin1Char(' ') + today().toString(Qt::ISODate) + ending);
  auto path = chooseSaveFile(parent, title, suggested, suffix.toUpper() + QStringLiteral(" (*") + ending + QLatin1Char(')'));
  if (path && !path->endsWith(ending, Qt::CaseInsensitive))
    *path += ending;
  return path;
}
} // namespace domiva::messages
