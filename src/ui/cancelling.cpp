#include "ui/cancelling.h"

#include "store/database.h"
#include "store/gridmodel.h"
#include "text/texts.h"
#include "ui/grid.h"
#include "ui/messages.h"

#include <QAction>
#include <QLabel>
#include <QTableView>

namespace domiva::cancelling {

void addMenuAction(QTableView *view, const std::function<void()> &action) {
  auto *menuAction = new QAction(texts::cancelRow, view);
  QObject::connect(menuAction, &QAction::triggered, view, action);
  view->addAction(menuAction); // shown by the grid's context menu
}

void cancelChosenRow(QWidget *window, QTableView *view, GridModel *model, const Summary &summary,
                     const std::function<QString(qint64, const QString &)> &cancel) {
  const QModelIndexList chosen = view->selectionModel()->selectedRows();
  if (chosen.isEmpty()) {
    messages::show(window, texts::chooseRow);
    return;
  }
  const int row = chosen.first().row();
  if (model->isCancelled(row)) {
    messages::show(window, texts::alreadyCancelled);
    return;
  }
  const auto cell = [&](int column) { return model->index(row, column).data().toString(); };
  const qint64 reciept = model->key(row);
  QString amount = cell(summary.amountColumn);
  try {
    if (summary.receiptAmount)
      amount = summary.receiptAmount(reciept);
  } catch (const db::Error &e) {
    messages::readFailed(window, texts::paymentsSubject, e);
    return;
  }
  const QString described = texts::cancelSummary.arg(cell(summary.numberColumn), cell(summary.dateColumn),
                                                     summary.whoLabel.arg(cell(summary.whoColumn)), amount);
  const auto reason = messages::askText(window, texts::cancelQuestion.arg(described), texts::cancelRow);
  if (!reason)
    return;
  if (reason->trimmed().isEmpty()) {
    messages::show(window, texts::reasonRequired);
    return;
  }
  const QString failure = cancel(reciept, reason->trimmed());
  model->reload();
  grid::choose(view, model->rowOfKey(reciept)); // where it stands now, the grid may be sorted by its status
  if (!failure.isEmpty())
    messages::show(window, failure);
  else if (auto *status = window->findChild<QLabel *>(QStringLiteral("statusLine")))
    status->setText(
        texts::rowCancelled.arg(model->index(model->rowOfKey(reciept), summary.numberColumn).data().toString()));
}

} // namespace domiva::cancelling
