#include "ui/printing.h"

#include "store/building.h"
#include "store/files.h"
#include "text/texts.h"
#include "text/today.h"
#include "ui/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QToolBar>
#include <optional>

namespace domiva::printing {
namespace {
Sink sink;
std::function<QPrinterInfo()> chosenPrinter;
QHash<QString, QPointer<QPrintPreviewDialog>> previews;
QHash<QString, listing::Printout> previewed; // what each open preview shows

QPageLayout::Orientation orientation(const listing::Printout &printout) {
  return printout.layout.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Every printout names the building and the day it was printed.
listing::Printout stamped(listing::Printout printout) {
  printout.layout.building = buildingLine(building(db::program()));
  printout.layout.printedOn = today();
  return printout;
}

// Without a printer: asks at once whether to save a PDF, and where.
std::optional<QString> askPdfPath(QWidget *parent, const listing::Layout &layout) {
  if (!messages::ask(parent, texts::noPrinterSavePdf))
    return std::nullopt;
  return messages::chooseDocument(parent, texts::pdfSaveTitle, layout.title, QStringLiteral("pdf"));
}

// A PDF the writer finished ends with its end-of-file mark; one cut short
// (a full disk) does not.
bool completePdf(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
    return false;
  file.seek(std::max<qint64>(0, file.size() - 1024));
  return file.readAll().contains("%%EOF");
}

// Shows how far a long printout has come, and lets the user stop it.
class Progress {
public:
  explicit Progress(QWidget *parent) : m_dialog(parent) {
    m_dialog.setWindowTitle(QStringLiteral("Domiva"));
    m_dialog.setCancelButtonText(texts::stopPrinting);
    // Every window waits for the printout, so none can close (a restore
    // closes them all) or change what it is printing from.
    m_dialog.setWindowModality(Qt::ApplicationModal);
    m_dialog.setMinimumDuration(500);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
  }
  bool operator()(int page, int pages) {
    // A page takes about 5 ms: the box and the windows are brought up to
    // date a few times a second, not on every page, which would cost more
    // than the painting itself.
    if (m_shown.isValid() && m_shown.elapsed() < 100)
      return !m_dialog.wasCanceled();
    m_shown.start();
    m_dialog.setMaximum(pages);
    m_dialog.setValue(page);
    m_dialog.setLabelText(texts::printingPage.arg(page).arg(pages));
    QCoreApplication::processEvents(); // the windows keep painting
    return !m_dialog.wasCanceled();
  }
  bool stopped() const { return m_dialog.wasCanceled(); }

private:
  QProgressDialog m_dialog;
  QElapsedTimer m_shown;
};
} // namespace

namespace {
// Writes a printout already stamped.
bool writeStamped(const listing::Printout &list, const QString &path, const listing::Progress &progress) {
  return files::writeAtomically(path, [&](const QString &temporary) {
    bool painted = false;
    {
      QPdfWriter writer(temporary);
      writer.setPageSize(QPageSize(QPageSize::A4));
      writer.setPageOrientation(orientation(list));
      writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
      writer.setResolution(300);
      writer.setCreator(QStringLiteral("Domiva"));
      painted = listing::paint(writer, list, progress).finished && list.incomplete().isEmpty();
    }
    return painted && completePdf(temporary);
  });
}
} // namespace

bool writePdf(const listing::Printout &printout, const QString &path, const listing::Progress &progress) {
  return writeStamped(stamped(printout), path, progress);
}

namespace {
// Saves a stamped printout as a PDF at `path` under a progress box, gone
// before the result is told, so it never covers the message.
void saveStamped(QWidget *parent, const listing::Printout &list, const QString &path) {
  bool written = false, stopped = false;
  {
    Progress progress(parent);
    written = writeStamped(list, path, std::ref(progress));
    stopped = progress.stopped();
  }
  if (written)
    messages::tell(parent, texts::fileSaved.arg(QDir::toNativeSeparators(path)));
  if (written || stopped)
    return;
  const QString failure = list.incomplete();
  messages::show(parent,
                 failure.isEmpty() ? texts::fileFailed.arg(path) : texts::printRefused + QLatin1Char('\n') + failure);
}
} // namespace

void print(QWidget *parent, const listing::Printout &printout) {
  const listing::Printout list = stamped(printout);
  if (sink) {
    sink(list);
    return;
  }
  const QPrinterInfo info = chosenPrinter ? chosenPrinter() : QPrinterInfo::defaultPrinter();
  if (!info.isNull()) {
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageOrientation(orientation(list));
    {
      Progress progress(parent); // gone before anything is told
      if (!listing::paint(printer, list, std::ref(progress)).finished)
        printer.abort();
    }
    if (const QString failure = list.incomplete(); !failure.isEmpty())
      messages::show(parent, texts::printRefused + QLatin1Char('\n') + failure);
    else if (printer.printerState() == QPrinter::Error)
      messages::show(parent, texts::printFailed.arg(info.printerName()));
    return;
  }
  if (const auto path = askPdfPath(parent, list.layout))
    saveStamped(parent, list, *path);
}

void setSink(Sink newSink) { sink = std::move(newSink); }

void setDefaultPrinter(std::function<QPrinterInfo()> printer) { chosenPrinter = std::move(printer); }

QPrintPreviewDialog *showPreview(const QString &name, const listing::Printout &printout, const QString &title) {
  QPointer<QPrintPreviewDialog> &dialog = previews[name];
  if (!dialog) {
    dialog = new QPrintPreviewDialog(static_cast<QWidget *>(nullptr));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // A PDF from the preview, saved as the direct printouts save theirs.
    if (auto *tools = dialog->findChild<QToolBar *>()) {
      QAction *save = tools->addAction(texts::savePdf);
      save->setObjectName(QStringLiteral("savePdf"));
      QObject::connect(save, &QAction::triggered, dialog, [name, dialog = dialog.data()] {
        const listing::Printout *shown = previewPrintout(name);
        if (!shown)
          return;
        if (const auto path =
                messages::chooseDocument(dialog, texts::pdfSaveTitle, shown->layout.title, QStringLiteral("pdf")))
          saveStamped(dialog, *shown, *path);
      });
    }
    dialog->resize(900, 700);
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [name](QPrinter *printer) {
      if (const listing::Printout *shown = previewPrintout(name)) {
        printer->setPageOrientation(orientation(*shown));
        listing::paint(*printer, *shown);
      }
    });
    QObject::connect(dialog, &QObject::destroyed, [name] { previewed.remove(name); });
  }
  previewed[name] = stamped(printout);
  dialog->setWindowTitle(title.isEmpty() ? printout.layout.title : title); // the paper's, as it is now
  if (dialog->isVisible()) {
    // Already open: redraw the pages from the new printout.
    for (auto *widget : dialog->findChildren<QPrintPreviewWidget *>())
      widget->updatePreview();
  }
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  return dialog;
}

QPrintPreviewDialog *preview(const QString &name) { return previews.value(name); }

const listing::Printout *previewPrintout(const QString &name) {
  const auto found = previewed.constFind(name);
  return found == previewed.constEnd() || !preview(name) ? nullptr : &*found;
}

} // namespace domiva::printing
