#include "common/messages.h"

#include <QMessageBox>

namespace domiva::messages {
namespace {
Sink sink;
std::function<bool(const QString &)> answer;
} // namespace

void show(QWidget *parent, const QString &text) {
  if (sink) {
    sink(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Domiva"), text, QMessageBox::Ok, parent);
  box.exec();
}

void setSink(Sink newSink) { sink = std::move(newSink); }

bool ask(QWidget *parent, const QString &text) {
  if (answer)
    return answer(text);
  return QMessageBox::question(parent, QStringLiteral("Domiva"), text) == QMessageBox::Yes;
}

void setAnswer(std::function<bool(const QString &)> newAnswer) { answer = std::move(newAnswer); }
} // namespace domiva::messages
