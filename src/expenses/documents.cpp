#include "expenses/documents.h"

#include "printing/csv.h"
#include "printing/printouts.h"
#include "store/files.h"
#include "text/bylawstexts.h"
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

QString packFolder(const QString &path) {
  const QFileInfo book(path);
  return book.path() + QLatin1Char('/') + book.completeBaseName() + QStringLiteral(" - מסמכים");
}

std::optional<int> pack(const db::Store &store, const QDate &from, const QDate &to, const QString &path,
                        QString *refusal) {
  const QString folder = packFolder(path);
  QList<QStringList> rows;
  int written = 0;
  store.each(QStringLiteral("SELECT inputdate, 'income', \"for\", CAST(apartment AS TEXT), detail, amount, reciept "
                            "FROM incoming WHERE inputdate BETWEEN ? AND ? AND cancelled IS NULL UNION ALL "
                            "SELECT \"Date\", 'expense', category, supplyer, detail, amount, reciept FROM removals "
                            "WHERE \"Date\" BETWEEN ? AND ? AND cancelled IS NULL ORDER BY 1, 2 DESC, 7"),
             {dates::toIso(from), dates::toIso(to), dates::toIso(from), dates::toIso(to)}, [&](const QSqlQuery &row) {
               const bool expense = row.value(1).toString() == QLatin1String("expense");
               rows << QStringList{dates::toShort(dates::fromIso(row.value(0).toString())),
                                   expense ? texts::expense : texts::income,
                                   row.value(2).toString(),
                                   row.value(3).toString(),
                                   row.value(4).toString(),
                                   Money::fromAgorot(row.value(5).toLongLong()).toString(),
                                   row.value(6).toString(),
                                   QString()};
             });
  for (QStringList &row : rows) {
    if (row[1] != texts::expense)
      continue;
    QStringList names;
    for (const Document &document : of(store, row[6].toLongLong())) {
      QString failure;
      const auto extracted = extract(store, document.id, &failure);
      // Named for its expense, and its own number: two of one name never meet.
      const QString name = QStringLiteral("הוצאה %1 (%2) %3").arg(row[6]).arg(document.id).arg(document.name);
      if (!extracted || !QDir().mkpath(folder) ||
          (QFile::exists(folder + QLatin1Char('/') + name) && !QFile::remove(folder + QLatin1Char('/') + name)) ||
          !QFile::copy(*extracted, folder + QLatin1Char('/') + name)) {
        *refusal = failure.isEmpty() ? texts::packFailed.arg(folder) : failure;
        return std::nullopt;
      }
      names << name;
      ++written;
    }
    row.last() = names.join(QStringLiteral("; "));
  }
  qsizetype next = 0;
  if (!csv::write(path, texts::packHeaders.split(QLatin1Char('|')), [&](QStringList &cells) {
        if (next == rows.size())
          return false;
        cells = rows[next++];
        return true;
      })) {
    *refusal = texts::packFailed.arg(path);
    return std::nullopt;
  }
  return written;
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
