#pragma once
// A statement file's cells, whatever held them: a spreadsheet (xlsx), a web
// page saved as .xls, or delimited text in any of the encodings the banks
// write. What the cells mean is the statement's business.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace domiva::bank {

using Rows = QList<QStringList>;

// Every table of the file, one after another, each row its cells' texts (a
// spreadsheet's numbers as written in it, its dates as their day numbers);
// or, in Hebrew, why the file can't be read.
struct Sheet {
  Rows rows;
  QString failure;
};
Sheet readSheet(const QByteArray &bytes);

// Text in the bank's encoding as Unicode: UTF-8 (with or without its mark),
// else Windows-1255, or, for `dos`, code page 862 in visual order, each
// field turned to logical order.
QString decode(const QByteArray &bytes, bool dos = false);
QString visualToLogical(const QString &visual);

} // namespace domiva::bank
