#include "testsupport.h"

namespace domiva::test {

// With DOMIVA_TEST_SERVER naming a server, each test's books are a new
// building on it instead of a file.
QString newBooks(const QString &file) {
  static const QString server = qEnvironmentVariable("DOMIVA_TEST_SERVER");
  if (server.isEmpty())
    return file;
  static int made = 0;
  const QString name = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
  if (const QString failure = db::addBuilding(server, name); !failure.isEmpty())
    qFatal("cannot add a building on the test server: %s", qPrintable(failure));
  return db::withBuilding(server, name);
}

TempDatabase::TempDatabase() : m_path(newBooks(m_dir.filePath(QStringLiteral("books/db1.sqlite")))) {
  const QString failure = startUp(m_path);
  if (!failure.isEmpty())
    qFatal("cannot open the test database: %s", qPrintable(failure));
}

TempDatabase::~TempDatabase() { db::close(); }

void TempDatabase::reopen() {
  db::close();
  const QString failure = startUp(m_path);
  if (!failure.isEmpty())
    qFatal("cannot reopen the test database: %s", qPrintable(failure));
}

Messages::Messages() {
  messages::setSink([this](const QString &text) { shown << text; });
  messages::setAnswer([this](const QString &text) {
    asked << text;
    return yes;
  });
  messages::setTextAnswer([this](const QString &text) {
    asked << text;
    return reply;
  });
  messages::setChoiceAnswer([this](const QString &text, const QStringList &buttons) {
    shown << text;
    offered << buttons;
    const qsizetype index = buttons.indexOf(choice);
    choice.clear(); // chosen once; then the box is closed
    return int(index < 0 ? buttons.size() - 1 : index);
  });
  messages::setOpenAnswer([this](const QString &folder) {
    openedIn << folder;
    return open;
  });
}

Messages::~Messages() {
  messages::setSink({});
  messages::setAnswer({});
  messages::setTextAnswer({});
  messages::setChoiceAnswer({});
  messages::setOpenAnswer({});
}

Prints::Prints() {
  printing::setSink([this](const listing::Printout &list) {
    tables << table(list);
    texts << list.layout.title;
    lines << painted(list).lines;
  });
}

listing::PageModel painted(const listing::Printout &printout) {
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  QPdfWriter writer(&pdf);
  listing::PageModel model;
  listing::paint(writer, printout, {}, &model);
  return model;
}

QList<QStringList> table(const listing::Printout &printout) {
  QList<QStringList> rows;
  if (!printout.layout.band.isEmpty())
    rows << QStringList{printout.layout.band};
  QStringList headers;
  for (const auto &column : printout.layout.columns)
    headers << column.header;
  rows << headers;
  const listing::Rows read = printout.open();
  for (QStringList cells; read(cells);)
    rows << cells;
  return rows;
}

Prints::~Prints() { printing::setSink({}); }

QString withoutDetails(const QString &text) {
  QStringList ours;
  for (const QString &line : text.split(QLatin1Char('\n')))
    if (!line.startsWith(texts::detailMark))
      ours << line;
  return ours.join(QLatin1Char('\n'));
}

QList<QVariantList> rows(const QString &sql, const QVariantList &values) {
  QList<QVariantList> result;
  auto query = books().exec(sql, values);
  while (query.next()) {
    QVariantList row;
    for (int c = 0; c < query.record().count(); ++c)
      row << (query.isNull(c) ? QVariant() : query.value(c)); // NULL compares as an empty QVariant
    result << row;
  }
  return result;
}

QString text(const QList<QStringList> &rows) {
  QStringList lines;
  for (const QStringList &row : rows)
    lines << row.join(QLatin1Char('|'));
  return lines.join(QLatin1Char('\n'));
}

QString text(const QList<QVariantList> &rows) {
  QList<QStringList> texts;
  for (const QVariantList &row : rows) {
    QStringList cells;
    for (const QVariant &value : row)
      cells << value.toString();
    texts << cells;
  }
  return text(texts);
}

QString dump(const QString &sql, const QVariantList &values) { return text(rows(sql, values)); }

void cases(const QString &table) {
  QList<QStringList> rows;
  for (const QString &line : table.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    rows.append(QStringList());
    for (const QString &cell : line.split(QLatin1Char('|')))
      rows.last() << cell.trimmed();
  }
  cases(rows);
}

void cases(const QList<QStringList> &rows) {
  QTest::addColumn<QStringList>("c");
  for (const QStringList &row : rows)
    QTest::newRow(qPrintable(row[0])) << row.mid(1);
}

QByteArray bytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::pair<int, QString> run(const QStringList &arguments) {
  QProcess program;
  program.start(QStringLiteral(DOMIVA_BINARY), arguments);
  program.waitForFinished(60000);
  return {program.exitCode(),
          QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError()).trimmed()};
}

QList<QStringList> gridRows(QAbstractItemModel *model) {
  while (model->canFetchMore({}))
    model->fetchMore({});
  QList<QStringList> result;
  for (int r = 0; r < model->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < model->columnCount(); ++c)
      cells << model->index(r, c).data().toString();
    result << cells;
  }
  return result;
}

QStringList gridHeaders(QAbstractItemModel *model) {
  QStringList names;
  for (int c = 0; c < model->columnCount(); ++c)
    names << model->headerData(c, Qt::Horizontal).toString();
  return names;
}

qint64 recordPayment(const payments::PaymentInput &input) {
  const payments::Outcome outcome = payments::record(books(), input);
  if (!outcome.ok())
    throw Failure("payment refused: " + outcome.message.toStdString());
  return outcome.reciept();
}

void building(const QString &apartments, const QString &dues, const QString &balance, const QDate &start,
              const QString &street, const QString &city) {
  if (const QString refusal = saveBuilding(books(), {apartments, dues, balance, start, street, city});
      !refusal.isEmpty())
    throw Failure("building refused: " + refusal.toStdString());
}

qint64 pay(int apartment, const QString &months, const QString &amount, const QDate &date, int year,
           const QString &forText) {
  const QStringList range = months.split(QLatin1Char('-'));
  const QString yearText = months.isEmpty() ? QString() : QString::number(year ? year : date.year());
  return recordPayment(
      {date, QString::number(apartment), forText, {}, range.first(), range.last(), "מזומן", amount, yearText});
}

void recordExpense(const QString &category, const QDate &date, const QString &amount) {
  if (const QString refusal = expenses::record(books(), {category, date, "", "", "", amount}).message;
      !refusal.isEmpty())
    throw Failure("expense refused: " + refusal.toStdString());
}

void addResident(qint64 apartment, const QString &family) {
  books().exec(QStringLiteral("INSERT INTO neighbors (apartment, family, status) VALUES (?, ?, 'בעל הבית')"),
               {apartment, family});
}

void everyWrite() {
  const QDate day(2026, 3, 5);
  const residents::Resident levi{7, "לוי", "", "", "", ""}, updated{1, "לוי", "", "", "", ""};
  const expenses::ExpenseInput water{"מים", day, "", "", "", "5"};
  const payments::PaymentInput payment{day, "1", "אחר", "", "מרץ", "מרץ", "מזומן", "100", "2026"};
  const BuildingInput details{"12", "250", "0", QDate(2026, 1, 1), "", ""};
  const levies::LevyInput levy{"מעלית", "500", QDate(2026, 7, 1), "1"};
  QTest::addColumn<std::function<QString()>>("write");
  const QList<std::pair<const char *, std::function<QString()>>> writes{
      {"add a resident", [=] { return residents::add(books(), levi); }},
      {"update a resident", [=] { return residents::update(books(), updated); }},
      {"delete a resident", [] { return residents::remove(books(), 1); }},
      {"add a supplier", [] { return expenses::addSupplier(books(), "גנן"); }},
      {"record an expense", [=] { return expenses::record(books(), water).message; }},
      {"cancel an expense", [=] { return expenses::cancel(books(), 1, "טעות", day); }},
      {"record a payment", [=] { return payments::record(books(), payment).message; }},
      {"cancel a payment", [=] { return payments::cancel(books(), 1, "טעות", day); }},
      {"save the building", [=] { return saveBuilding(books(), details); }},
      {"dues", [] { return addApartmentDues(books(), "1", "09/2026", "300"); }},
      {"opening debt", [] { return setOpeningDebt(books(), "2", "500"); }},
      {"levy", [=] { return levies::define(books(), levy); }},
      {"a share", [] { return shares::set(books(), "3", "85.5"); }},
      {"a budget", [] { return budget::set(books(), 2026, texts::expense, "חשמל", "6000"); }},
      {"a fund", [] { return funds::add(books(), "קרן שיפוץ", "בנק", "31/12/2027"); }},
      {"close a period", [] { return closing::close(books(), QDate(2026, 1, 31), QDate(2026, 2, 10)); }},
      {"keep a statement",
       [=] {
         const bank::Kept kept = bank::keep(
             books(), {"לאומי", "1", {{2, day, {}, "העברה", "", "", "", Money::fromShekels(5), {}}}, {}}, "x.csv");
         return kept.added ? QString() : kept.message;
       }},
      {"name a bank's columns",
       [] {
         return bank::nameColumns(books(), {"בנק", "תאריך", "תיאור", "", "", "", "סכום", ""});
       }},
      {"a payment of two parts",
       [=] {
         payments::PaymentInput levyPart = payment;
         levyPart.forText = texts::openingDebt;
         return payments::record(books(), {payment, levyPart}, payments::Receipts::One).message;
       }},
      {"send a reminder", [=] { return reminders::send(books(), {{2}, 1, day, day, "<חוב>"}).refusal; }},
      {"keep a letter's text", [] { return reminders::saveLetterText(books(), 2, "<שם>"); }},
      {"sell an apartment", [=] { return residents::change(books(), updated, residents::Change::Sale, day); }},
      {"rebuild the matrix", [] {
         try {
           consistency::repair(books(), {});
         } catch (const db::Error &e) {
           return db::saveFailure(e);
         }
         return QString();
       }}};
  for (const auto &[name, write] : writes)
    QTest::newRow(name) << write;
}

bool onServer() { return books().engine() == db::Engine::Postgres; }

QString refuseWrites(const char *table, const char *event) {
  const QString name = QString::fromLatin1(table), when = QString::fromLatin1(event);
  if (!onServer()) {
    books().exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'disk full'); END")
                     .arg(when, name));
    return QStringLiteral("disk full Unable to fetch row");
  }
  books().exec(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$BEGIN RAISE EXCEPTION 'disk full'; END$$"));
  books().exec(
      QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION refuse()").arg(when, name));
  return QStringLiteral("ERROR:  disk full\nCONTEXT:  PL/pgSQL function refuse() line 1 at RAISE\n(P0001) QPSQL: "
                        "Unable to create query");
}

bool leftover(const QString &folder, const QString &name, bool old) {
  QFile part(folder + "/" + name + "/db1.sqlite");
  if (!QDir(folder).mkdir(name) || !part.open(QIODevice::WriteOnly))
    return false;
  const QString path = folder + "/" + name;
  // Aged by the file system's clock, which stamped it, not the test's.
  const timespec aged{QFileInfo(path).lastModified().toSecsSinceEpoch() - 7200, 0};
  const timespec times[2]{aged, aged};
  return !old || utimensat(AT_FDCWD, QFile::encodeName(path), times, 0) == 0;
}

int firstPage(const char *table) {
  return rows(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {QString::fromLatin1(table)})[0][0]
      .toInt();
}

bool overwritePage(const QString &path, int page) {
  QFile file(path);
  return file.open(QIODevice::ReadWrite) && file.seek(qint64(page - 1) * 4096) &&
         file.write(QByteArray(4096, '\x5a')) == 4096;
}

void WindowTest::startTest(const QDate &today) {
  setToday(today);
  database = std::make_unique<TempDatabase>();
  messages = std::make_unique<Messages>();
}

void WindowTest::endTest() {
  for (QWidget *top : QApplication::topLevelWidgets()) {
    typed::recorded(top); // what a test typed goes without a question
    top->close();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  window = nullptr;
  messages.reset();
  database.reset();
  setToday({});
}

void WindowTest::click(const char *name) const { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }

void WindowTest::fill(const QList<std::pair<const char *, QString>> &fields) const {
  for (const auto &[name, text] : fields) {
    QWidget *field = control<QWidget>(name);
    if (auto *date = qobject_cast<QDateEdit *>(field))
      date->setDate(QDate::fromString(text, QStringLiteral("dd/MM/yyyy")));
    else if (auto *list = qobject_cast<QComboBox *>(field); list && list->isEditable())
      list->setEditText(text);
    else if (list && list->findText(text) >= 0) // a fixed list: its item chosen
      list->setCurrentIndex(list->findText(text));
    else if (list)
      throw Failure(std::string(name) + " offers no " + text.toStdString());
    else
      control<QLineEdit>(name)->setText(text);
  }
}

QStringList WindowTest::shows(const QList<const char *> &names) const {
  QStringList shown;
  for (const char *name : names) {
    QWidget *field = control<QWidget>(name);
    if (auto *date = qobject_cast<QDateEdit *>(field))
      shown << date->date().toString(QStringLiteral("dd/MM/yyyy"));
    else if (auto *list = qobject_cast<QComboBox *>(field))
      shown << list->currentText();
    else if (auto *label = qobject_cast<QLabel *>(field))
      shown << label->text();
    else
      shown << control<QLineEdit>(name)->text();
  }
  return shown;
}

QString WindowTest::focused() const {
  const QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : window->focusWidget();
  return focus ? focus->objectName() : QString();
}

void WindowTest::chooseRow(int row, const char *name) const {
  auto *view = control<QTableView>(name);
  view->scrollTo(view->model()->index(row, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

QStringList WindowTest::tabsFrom(QWidget *widget) {
  QStringList reached;
  for (const auto &[key, modifiers] :
       {std::pair{Qt::Key_Tab, Qt::NoModifier}, std::pair{Qt::Key_Backtab, Qt::ShiftModifier}}) {
    widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
    reached << QApplication::focusWidget()->objectName();
  }
  return reached;
}

QList<QStringList> WindowTest::grid(const char *name) const {
  // What the user sees: a hidden column (a row's own number) left out.
  const auto *view = control<QTableView>(name);
  QList<QStringList> shown = gridRows(view->model());
  for (QStringList &row : shown)
    for (qsizetype c = row.size() - 1; c >= 0; --c)
      if (view->isColumnHidden(int(c)))
        row.removeAt(c);
  return shown;
}

int WindowTest::count(const char *table) {
  return rows(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))[0][0].toInt();
}

} // namespace domiva::test
