#pragma once
#include "printing/listwriter.h"

#include <QPrinterInfo>
#include <QString>
#include <functional>
#include <memory>

class QWidget;
class QPrintPreviewDialog;

namespace domiva::printing {

// A list streamed from its rows onto the printer, or where none is
// installed, after asking at once, into a PDF: pages painted one at a time
// under a progress dialog that can stop them. `open` starts the rows;
// `failure` says afterwards whether they could all be read.
void print(QWidget *parent, const listing::Printout &list);
// The list as a PDF at `path`, through a temporary file: false, and no file
// changed, when it failed or `progress` stopped it.
bool writePdf(const listing::Printout &list, const QString &path, const listing::Progress &progress = {});

// Tests take what would be printed instead; an empty function restores printing.
using Sink = std::function<void(const listing::Printout &)>;
void setSink(Sink sink);
// Tests choose the default printer (a null one: none installed) instead of
// the machine's; an empty function restores the machine's.
void setDefaultPrinter(std::function<QPrinterInfo()> printer);

// A modeless preview of a printout, one window per report name, reused by
// the next showing and independent of the window that asked for it; its
// pages are painted by the same writer as the printer's and the PDF's.
// `title` names its window (else the printout's own title).
QPrintPreviewDialog *showPreview(const QString &name, const listing::Printout &printout, const QString &title = {});
// The preview of that name while it is open, else null; and its printout.
QPrintPreviewDialog *preview(const QString &name);
const listing::Printout *previewPrintout(const QString &name);

} // namespace domiva::printing
