#include "expenses/documents.h"

#include "printing/printouts.h"
#include "store/files.h"
#include "text/dates.h"
#include "text/money.h"
#include "text/texts.h"
#include "text/today.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace domiva::documents {
namespace {
// A PDF or a picture, told by its first bytes rather than by its name.
bool isDocument(const QByteArray &content) {
  return content.startsWith("%PDF-") || content.startsWith("\x89PNG\r\n\x1a\n") || content.startsWith("\xff\xd8\xff");
}
} // namespace

QString attach(const db::Store &store, qint64 expense, const QString &path) {
  QFile file(path);
  if (QFileInfo(path).size() > maxBytes)
    return texts::documentTooLarge.arg(maxBytes / 1024 / 1024);
  if (!file.open(QIODevice::ReadOnly))
    return texts::documentUnreadable.arg(file.errorString());
  const QByteArray content = file.read(maxBytes + 1);
  if (content.size() > maxBytes)
    return texts::documentTooLarge.arg(maxBytes / 1024 / 1024);
  if (!isDocument(content))
    return texts::documentNotAllowed;
  try {
    db::Transaction transaction(store);
    if (store.one(QStringLiteral("SELECT count(*) FROM removals WHERE reciept = ?"), {expense}).value(0).toLongLong() == 0)
      return texts::documentNoExpense;
    store.exec(QStringLiteral("INSERT INTO expense_documents (expense, name, content, added) VALUES (?, ?, ?, ?)"),
               {expense, QFileInfo(path).fileName(), content, dates::momentToIso(now())});
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QList<Document> of(const db::Store &store, qint64 expense) {
  QList<Document> found;
  store.each(QStringLiteral("SELECT id, name FROM expense_documents WHERE expense = ? ORDER BY id"), {expense},
             [&](const QSqlQuery &rows) { found << Document{rows.value(0).toLongLong(), rows.value(1).toString()}; });
  return found;
}

std::optional<QString> extract(const db::Store &store, qint64 id, QString *refusal) {
  const QSqlQuery document = store.one(QStringLiteral("SELECT name, content FROM expense_documents WHERE id = ?"), {id});
  // Each document in a folder of its own: two of one name never meet, and
  // the name keeps only its last part.
  const QString folder = QDir::tempPath() + QStringLiteral("/domiva-documents/%1").arg(id);
  const QString path = folder + QLatin1Char('/') + QFileInfo(document.value(0).toString()).fileName();
  QFile file(path);
  if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(document.value(1).toByteArray()) < 0 || !file.flush()) {
    *refusal = texts::documentUnreadable.arg(file.errorString());
    return std::nullopt;
  }
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  return path;
}

listing::Printout withoutDocuments(const db::Store &store, const QDate &from, const QDate &to) {
  listing::Layout layout;
  layout.title = texts::withoutDocumentsTitle;
  layout.intro << texts::withoutDocumentsPeriod.arg(dates::toShort(from), dates::toShort(to));
  for (const char *header : {"קבלה", "תאריך", "סוג הוצאה", "ספק", "סכום"})
    layout.columns << listing::Column{QString::fromUtf8(header), QByteArray(header) == "סוג הוצאה" ? 3 : 2};
  layout.counted = true;
  layout.paper = true;
  layout.columns.last().amount = true;
  QList<QStringList> rows;
  store.each(QStringLiteral("SELECT reciept, \"Date\", category, supplyer, amount FROM removals r WHERE \"Date\" "
                            "BETWEEN ? AND ? AND cancelled IS NULL AND NOT EXISTS (SELECT 1 FROM expense_documents d "
                            "WHERE d.expense = r.reciept) ORDER BY \"Date\", reciept"),
             {dates::toIso(from), dates::toIso(to)}, [&](const QSqlQuery &row) {
               rows << QStringList{row.value(0).toString(), dates::toShort(dates::fromIso(row.value(1).toString())),
                                   row.value(2).toString(), row.value(3).toString(),
                                   Money::fromAgorot(row.value(4).toLongLong()).toPaper()};
             });
  return listing::fromRows(layout, rows);
}

} // namespace domiva::documents
