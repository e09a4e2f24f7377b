#pragma once
#include <QString>
#include <QStringList>

namespace domiva::months {
// The twelve months are written three ways; index 0 is January.

// Column names of anual_report: jan, feb, mer, ... dec.
const QStringList &columns();
// Items of the payments screen's month lists, stored in incoming.from_month
// and to_month: "ינואר", "פבואר", ... "ספטמב", ...
const QStringList &listNames();
// Headers of the annual payments report: "ינואר", "פברואר", ... "ספטמבר", ...
const QStringList &headers();
// Index 0..11 of a month list item, -1 for any other text.
int indexOfListName(const QString &text);
// Index 0..11 of a month as typed: a list item or the usual spelling
// ("פברואר", "ספטמבר"), blanks around allowed; -1 for any other text.
int indexOfTyped(const QString &text);
} // namespace domiva::months
