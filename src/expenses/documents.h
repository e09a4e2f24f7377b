#pragma once
#include "printing/listwriter.h"
#include "store/database.h"
// An expense's documents: the invoice the bylaws ask for, scanned as a PDF
// or a picture, kept in the books with the expense.
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace domiva::documents {

// The largest document taken: a scanned page is far smaller.
inline constexpr qint64 maxBytes = 10 * 1024 * 1024;

// Keeps the file at `path` as a document of expense `expense`: a PDF, PNG
// or JPEG by its first bytes, at most maxBytes. An empty text, or the
// refusal and nothing written.
QString attach(const db::Store &store, qint64 expense, const QString &path);

struct Document {
  qint64 id = 0;
  QString name; // the file's name as it was attached
};
// The expense's documents, in the order attached. Throws db::Error.
QList<Document> of(const db::Store &store, qint64 expense);
// Writes document `id` to a file of its own name in a private folder of the
// system's temporary files, for the desktop's viewer: its path, or nothing
// and `refusal` says why. Throws db::Error.
std::optional<QString> extract(const db::Store &store, qint64 id, QString *refusal);

// An owner's inspection pack: the period's income-and-expense book written
// to `path` for a spreadsheet (cancelled rows left out, each expense naming
// its documents), and beside it a folder of the same name, with " - מסמכים",
// holding every document of the period's expenses. How many documents were
// written, or nothing and `refusal` says why. Throws db::Error.
QString packFolder(const QString &path);
std::optional<int> pack(const db::Store &store, const QDate &from, const QDate &to, const QString &path,
                        QString *refusal);

// "הוצאות ללא חשבונית": the period's expenses, cancelled ones left out,
// that have no document; the first and last day included. Throws db::Error.
listing::Printout withoutDocuments(const db::Store &store, const QDate &from, const QDate &to);

} // namespace domiva::documents
