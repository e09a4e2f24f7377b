#pragma once
#include <QString>
#include <QUrl>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace domiva::db {
class Error;
}

namespace domiva::messages {
// Every message of the program: a box with the text and an OK button, with
// a warning icon for what went wrong or was refused...
void show(QWidget *parent, const QString &text);
// ...and an information icon for what went well.
void tell(QWidget *parent, const QString &text);
// `failure` as a warning, or when it is empty, `success` as information.
void report(QWidget *parent, const QString &failure, const QString &success);
// A read of `subject` that failed, with its cause; while the server is
// lost, told once, not at every keystroke that reads.
void readFailed(QWidget *parent, const QString &subject, const db::Error &error);

// A message's lines that start with texts::detailMark (the engine's own
// words) are shown under the box's details, not in its text.

// Tests take the messages instead of boxes being shown; an empty sink
// restores the boxes.
using Sink = std::function<void(const QString &)>;
void setSink(Sink sink);

// A yes/no question. Tests answer it through `setAnswer`.
bool ask(QWidget *parent, const QString &text);
void setAnswer(std::function<bool(const QString &)> answer);

// Asks for a line of text under `prompt`, the accepting button captioned
// `accept`: what the user typed, or nothing when the user declined. Tests
// answer it through `setTextAnswer`.
std::optional<QString> askText(QWidget *parent, const QString &prompt, const QString &accept,
                               const QString &initial = {});
void setTextAnswer(std::function<std::optional<QString>(const QString &)> answer);

// Asks where to save a file, starting at `suggested`: the path chosen, or
// nothing when the user declined. Tests answer it through `setSaveAnswer`.
std::optional<QString> chooseSaveFile(QWidget *parent, const QString &title, const QString &suggested,
                                      const QString &filter);
void setSaveAnswer(std::function<std::optional<QString>(const QString &suggested)> answer);
// Asks where to save a document named after `name`: the dialog opens in the
// documents folder (made if missing) on "<name> <yyyy-MM-dd>.<suffix>", and
// the suffix is added to a chosen name that lacks it.
std::optional<QString> chooseDocument(QWidget *parent, const QString &title, const QString &name,
                                      const QString &suffix);
// A warning with a button for each of `buttons`, the last one closing it
// (Escape too): the index of the button pressed. Tests answer it through
// `setChoiceAnswer`.
int choose(QWidget *parent, const QString &text, const QStringList &buttons);
void setChoiceAnswer(std::function<int(const QString &text, const QStringList &buttons)> answer);

// Asks for a file to open, starting in `folder`: the path chosen, or nothing
// when the user declined. Tests answer it through `setOpenAnswer`.
std::optional<QString> chooseOpenFile(QWidget *parent, const QString &title, const QString &folder,
                                      const QString &filter);
void setOpenAnswer(std::function<std::optional<QString>(const QString &folder)> answer);

// Opens a link (an e-mail to write, a chat) through the desktop. Tests take
// the links instead through `setLinkSink`.
void openLink(const QUrl &link);
void setLinkSink(std::function<void(const QUrl &)> sink);
} // namespace domiva::messages
