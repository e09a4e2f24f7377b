#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace domiva::messages {
// Every message of the program: a box with the text and an OK button.
void show(QWidget *parent, const QString &text);

// Tests take the messages instead of boxes being shown; an empty sink
// restores the boxes.
using Sink = std::function<void(const QString &)>;
void setSink(Sink sink);

// A yes/no question (only the printing seam asks one). Tests answer it through
// `setAnswer`.
bool ask(QWidget *parent, const QString &text);
void setAnswer(std::function<bool(const QString &)> answer);
} // namespace domiva::messages
