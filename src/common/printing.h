#pragma once
#include "data/listwriter.h"

#include <QImage>
#include <QString>
#include <QTextDocument>
#include <functional>
#include <memory>

class QWidget;
class QPrintPreviewDialog;

namespace domiva::printing {

// Prints at once on the default printer; where none is installed the user is
// offered to save the printout as a PDF file instead.
void print(QWidget *parent, const QTextDocument &document);
// A picture on one page, scaled to fit.
void print(QWidget *parent, const QImage &image);

// A list streamed from its rows onto the printer, or where none is
// installed, after asking at once, into a PDF: pages painted one at a time
// under a progress dialog that can stop them. `open` starts the rows;
// `failure` says afterwards whether they could all be read.
struct List {
  listing::Layout layout;
  std::function<listing::Rows()> open;
  qint64 rowCount = 0;
  std::function<QString()> failure;
};
void print(QWidget *parent, const List &list);
// The list as a PDF at `path`, through a temporary file: false, and no file
// changed, when it failed or `progress` stopped it.
bool writePdf(const List &list, const QString &path, const listing::Progress &progress = {});

// Writes a PDF through a temporary file that takes the place of `path` only
// once the PDF is complete; on failure an older file is left whole.
bool writePdf(const QTextDocument &document, const QString &path);
bool writePdf(const QImage &image, const QString &path);

// Tests take what would be printed instead; empty functions restore printing.
struct Sink {
  std::function<void(const QTextDocument &)> document;
  std::function<void(const QImage &)> image;
  std::function<void(const List &)> list;
};
void setSink(Sink sink);

// A modeless preview of a report, one window per report name, reused by the
// next showing and independent of the window that asked for it. The preview
// owns the document.
QPrintPreviewDialog *showPreview(const QString &name, std::unique_ptr<QTextDocument> document);
// The preview of that name while it is open, else null; and its document.
QPrintPreviewDialog *preview(const QString &name);
const QTextDocument *previewDocument(const QString &name);

} // namespace domiva::printing
