#pragma once
#include "payments/payment.h"
#include "store/database.h"

#include <QDateTime>
#include <QList>
#include <QWidget>
#include <memory>

namespace Ui {
class IncomingForm;
}

namespace domiva {
class GridModel;

// "תשלומי דיירים": records what residents pay and lists every payment.
class IncomingWindow : public QWidget {
  Q_OBJECT
public:
  explicit IncomingWindow(db::Store store, QWidget *parent = nullptr);
  ~IncomingWindow() override;

private slots:
  void showResident();         // an apartment chosen or typed: show its resident
  void followEntryDate();      // the year box follows the date until the user sets it
  void recordPayment();        // Command1 "בצע"
  void recordStandingOrders(); // standingOrders: last month's again, confirmed in one go
  void addPart();              // addPart: the form held as a part of the next receipt
  void clearParts();           // clearParts "נקה חלקים": the parts held dropped
  void printList();            // Command2 "הדפס"
  void closeWindow();          // Command3 "יציאה"
  void cancelPayment();        // cancelRow "בטל רשומה", and the grid's context menu
  void printReceipt();         // printReceipt "הדפס קבלה": the chosen payment's receipt

private:
  void load();
  payments::PaymentInput formInput() const;
  void showRefusal(const payments::Outcome &outcome);
  void showParts();
  // After a recording: the form ready for the next payment, the grid and the status line.
  void showRecorded(const payments::Outcome &outcome);
  void setWidths();
  db::Store m_store; // the books this window reads and writes
  std::unique_ptr<Ui::IncomingForm> ui;
  GridModel *m_list = nullptr;
  QString m_followed; // the year the box was last set to from the entry date
  // What was recorded in this window lately, for the duplicate warning.
  struct Recent {
    payments::PaymentInput input;
    QDateTime when;
    qint64 reciept;
  };
  QList<Recent> m_recent;
  // The parts held for the next receipt, recorded with the form's payment.
  QList<payments::PaymentInput> m_parts;
  // The questions asked before writing; false when the user declined one.
  bool confirmed(const payments::PaymentInput &input);
};

} // namespace domiva
