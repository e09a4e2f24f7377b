#pragma once
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

// Writes a PDF through a temporary file that takes the place of `path` only
// once the PDF is complete; on failure an older file is left whole.
bool writePdf(const QTextDocument &document, const QString &path);
bool writePdf(const QImage &image, const QString &path);

// Tests take what would be printed instead; empty functions restore printing.
struct Sink {
  std::function<void(const QTextDocument &)> document;
  std::function<void(const QImage &)> image;
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
