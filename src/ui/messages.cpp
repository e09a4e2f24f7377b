#include "ui/messages.h"

#include "store/database.h"
#include "store/files.h"
#include "text/texts.h"
#include "text/today.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace domiva::messages {
namespace {
Sink sink;
std::function<bool(const QString &)> answer;
std::function<std::optional<QString>(const QString &)> textAnswer;
std::function<std::optional<QString>(const QString &)> saveAnswer;
std::function<int(const QString &, const QStringList &)> choiceAnswer;
std::function<std::optional<QString>(const QString &)> openAnswer;
std::function<void(const QUrl &)> linkSink;

// The engine's own words go under the box's details, ours stay its text.
void split(const QString &text, QString &main, QString &details) {
  QStringList ours, engine;
  for (const QString &line : text.split(QLatin1Char('\n'))) {
    if (line.startsWith(texts::detailMark))
      engine << line.mid(1);
    else
      ours << line;
  }
  main = ours.join(QLatin1Char('\n')).trimmed();
  details = engine.join(QLatin1Char('\n'));
}
} // namespace

namespace {
void box(QWidget *parent, QMessageBox::Icon icon, const QString &text) {
  if (sink) {
    sink(text);
    return;
  }
  QString main, details;
  split(text, main, details);
  QMessageBox message(icon, QStringLiteral("Domiva"), main, QMessageBox::Ok, parent);
  message.setDetailedText(details);
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

void readFailed(QWidget *parent, const QString &subject, const db::Error &error) {
  if (error.code() != db::serverLost || db::tellLoss())
    show(parent, texts::readFailed.arg(subject, db::explain(error)));
}

void setSink(Sink newSink) { sink = std::move(newSink); }

bool ask(QWidget *parent, const QString &text) {
  if (answer)
    return answer(text);
  // "לא" is chosen first: every question here guards work that a hasty
  // Enter would lose or record twice.
  return QMessageBox::question(parent, QStringLiteral("Domiva"), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void setAnswer(std::function<bool(const QString &)> newAnswer) { answer = std::move(newAnswer); }

std::optional<QString> askText(QWidget *parent, const QString &prompt, const QString &accept, const QString &initial) {
  if (textAnswer)
    return textAnswer(prompt);
  QInputDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Domiva"));
  dialog.setLabelText(prompt);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setTextValue(initial);
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
  files::makeFolders(folder);
  QString file = name.isEmpty() ? QStringLiteral("Domiva") : name;
  // A title's quote mark (דו"ח) is legal in a name but awkward in a shell.
  file.replace(QLatin1Char('"'), QChar(0x05F4)).replace(QLatin1Char('/'), QLatin1Char('-'));
  const QString ending = QLatin1Char('.') + suffix;
  const QString suggested = QDir(folder).filePath(file + QLatin1Char(' ') + today().toString(Qt::ISODate) + ending);
  auto path =
      chooseSaveFile(parent, title, suggested, suffix.toUpper() + QStringLiteral(" (*") + ending + QLatin1Char(')'));
  if (path && !path->endsWith(ending, Qt::CaseInsensitive))
    *path += ending;
  return path;
}

int choose(QWidget *parent, const QString &text, const QStringList &buttons) {
  if (choiceAnswer)
    return choiceAnswer(text, buttons);
  QString main, details;
  split(text, main, details);
  QMessageBox message(QMessageBox::Warning, QStringLiteral("Domiva"), main, QMessageBox::NoButton, parent);
  message.setDetailedText(details);
  QList<QAbstractButton *> added;
  for (const QString &caption : buttons)
    added << message.addButton(caption,
                               added.size() + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
  message.setDefaultButton(qobject_cast<QPushButton *>(added.value(0)));
  message.exec();
  const qsizetype chosen = added.indexOf(message.clickedButton());
  return chosen < 0 ? int(buttons.size()) - 1 : int(chosen);
}

void setChoiceAnswer(std::function<int(const QString &, const QStringList &)> answer) {
  choiceAnswer = std::move(answer);
}

std::optional<QString> chooseOpenFile(QWidget *parent, const QString &title, const QString &folder,
                                      const QString &filter) {
  if (openAnswer)
    return openAnswer(folder);
  // A folder that is not there would open on its parent with its name typed in.
  const QString path =
      QFileDialog::getOpenFileName(parent, title, QFileInfo(folder).isDir() ? folder : QDir::homePath(), filter);
  if (path.isEmpty())
    return std::nullopt;
  return path;
}

void setOpenAnswer(std::function<std::optional<QString>(const QString &folder)> answer) {
  openAnswer = std::move(answer);
}

void openLink(const QUrl &link) {
  if (linkSink)
    linkSink(link);
  else
    QDesktopServices::openUrl(link);
}

void setLinkSink(std::function<void(const QUrl &)> sink) { linkSink = std::move(sink); }
} // namespace domiva::messages
