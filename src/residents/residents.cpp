#include "residents/residents.h"

#include "ledger/owing.h"
#include "store/building.h"
#include "store/database.h"
#include "text/dates.h"
#include "text/input.h"
#include "text/collectiontexts.h"
#include "text/texts.h"

#include <QRegularExpression>

namespace domiva::residents {

QString listQuery() {
  return QStringLiteral("select apartment as דירה ,family as משפחה ,status as סטאטוס ,phone1 as טלפון1, "
                        "phone2 as טלפון2,email as אימייל from neighbors order by apartment");
}

std::optional<qint64> parseApartment(const QString &text) {
  static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
  const QString trimmed = text.trimmed();
  if (!digits.match(trimmed).hasMatch())
    return std::nullopt;
  const qint64 number = trimmed.toLongLong();
  if (number < 1)
    return std::nullopt;
  return number;
}

std::optional<qint64> apartmentOf(const db::Store &store, const QString &text, QString *refusal) {
  const auto apartment = parseApartment(text);
  *refusal = !apartment ? texts::badApartment : apartmentRefusal(store, *apartment);
  return refusal->isEmpty() ? apartment : std::nullopt;
}

std::optional<Resident> find(const db::Store &store, qint64 apartment) {
  auto query = store.exec(QStringLiteral("SELECT n.apartment, family, status, phone1, phone2, n.email, "
                                         "coalesce(o.name, ''), coalesce(o.phone, ''), coalesce(o.email, ''), "
                                         "coalesce(o.address, '') FROM neighbors n "
                                         "LEFT JOIN owners o ON o.apartment = n.apartment WHERE n.apartment = ?"),
                          {apartment});
  if (!query.next()) {
    db::checkRead(query); // a read that failed is told, not taken for no resident
    return std::nullopt;
  }
  Resident found{query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
                 query.value(3).toString(),   query.value(4).toString(), query.value(5).toString()};
  std::tie(found.ownerName, found.ownerPhone, found.ownerEmail, found.ownerAddress) =
      std::tuple{query.value(6).toString(), query.value(7).toString(), query.value(8).toString(),
                 query.value(9).toString()};
  return found;
}

namespace {
QString checkTexts(const Resident &resident) {
  if (const QString refusal = input::checkTexts({{texts::familyField, resident.family},
                                                 {texts::statusField, resident.status},
                                                 {texts::phone1Field, resident.phone1},
                                                 {texts::phone2Field, resident.phone2},
                                                 {texts::emailField, resident.email},
                                                 {texts::ownerField, resident.ownerName},
                                                 {texts::ownerPhoneField, resident.ownerPhone},
                                                 {texts::ownerEmailField, resident.ownerEmail},
                                                 {texts::ownerAddressField, resident.ownerAddress}});
      !refusal.isEmpty())
    return refusal;
  // A reminder is sent to them: a phone is dialled, an address written to.
  static const QRegularExpression phone(QStringLiteral("^[0-9 +()\\-]*$"));
  for (const QString &number : {resident.phone1, resident.phone2, resident.ownerPhone})
    if (!phone.match(number).hasMatch())
      return texts::badPhone.arg(number);
  for (const QString &email : {resident.email, resident.ownerEmail})
    if (!email.isEmpty() && (email.count(QLatin1Char('@')) != 1 || email.startsWith(QLatin1Char('@')) ||
                             email.endsWith(QLatin1Char('@')) || email.contains(QLatin1Char(' '))))
      return texts::badEmail.arg(email);
  return {};
}

// The owner's row as the resident's form has it: none when the resident owns it.
void writeOwner(const db::Store &store, const Resident &resident) {
  store.exec(QStringLiteral("DELETE FROM owners WHERE apartment = ?"), {resident.apartment});
  if (!resident.ownerName.trimmed().isEmpty())
    store.exec(QStringLiteral("INSERT INTO owners (apartment, name, phone, email, address) VALUES (?, ?, ?, ?, ?)"),
               {resident.apartment, resident.ownerName.trimmed(), resident.ownerPhone, resident.ownerEmail,
                resident.ownerAddress});
}

// Every field but the apartment; false when it has no resident.
bool rewrite(const db::Store &store, const Resident &resident) {
  const auto query = store.exec(
      QStringLiteral("UPDATE neighbors SET family = ?, phone1 = ?, phone2 = ?, email = ?, status = ? WHERE apartment = ?"),
      {resident.family, resident.phone1, resident.phone2, resident.email, resident.status, resident.apartment});
  if (query.numRowsAffected() == 0)
    return false;
  writeOwner(store, resident);
  return true;
}
} // namespace

QString add(const db::Store &store, const Resident &resident) {
  if (const QString refusal = apartmentRefusal(store, resident.apartment); !refusal.isEmpty())
    return refusal;
  if (const QString refusal = checkTexts(resident); !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    if (find(store, resident.apartment))
      return texts::apartmentExists;
    store.exec(
        QStringLiteral("INSERT INTO neighbors (apartment, family, phone1, phone2, email, status) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {resident.apartment, resident.family, resident.phone1, resident.phone2, resident.email, resident.status});
    writeOwner(store, resident);
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString update(const db::Store &store, const Resident &resident) {
  if (const QString refusal = checkTexts(resident); !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    if (!rewrite(store, resident))
      return texts::apartmentMissing;
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString change(const db::Store &store, const Resident &after, Change kind, const QDate &date) {
  if (!date.isValid())
    return texts::changeNoDate;
  if (const QString refusal = checkTexts(after); !refusal.isEmpty())
    return refusal;
  try {
    db::Transaction transaction(store);
    const auto before = find(store, after.apartment);
    if (!before)
      return texts::apartmentMissing;
    const QDate last = dates::fromIso(
        store.one(QStringLiteral("SELECT max(until) FROM former_people WHERE apartment = ?"), {after.apartment})
            .value(0)
            .toString());
    if (last.isValid() && date < last)
      return texts::changeBeforeLast.arg(after.apartment).arg(dates::toShort(last));
    const auto keep = [&](const char *role, const QString &name, const QString &phone, const QString &email,
                          const QString &address) {
      store.exec(QStringLiteral("INSERT INTO former_people (apartment, role, name, phone, email, address, until) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {after.apartment, QString::fromLatin1(role), name, phone, email, address, dates::toIso(date)});
    };
    const bool ownerLived = before->ownerName.trimmed().isEmpty();
    Resident now = after;
    if (kind == Change::SaleTenantStays) {
      const QString owner = ownerLived ? before->family : before->ownerName;
      if (after.ownerName.trimmed().isEmpty() || after.ownerName.trimmed() == owner.trimmed())
        return texts::changeSameName.arg(owner);
      if (ownerLived)
        keep("owner", before->family, before->phone1, before->email, {});
      else
        keep("owner", before->ownerName, before->ownerPhone, before->ownerEmail, before->ownerAddress);
    } else {
      if (after.family.trimmed().isEmpty() || after.family.trimmed() == before->family.trimmed())
        return texts::changeSameName.arg(before->family);
      keep(kind == Change::Sale && ownerLived ? "both" : "occupant", before->family, before->phone1, before->email, {});
      if (kind == Change::Sale && !ownerLived)
        keep("owner", before->ownerName, before->ownerPhone, before->ownerEmail, before->ownerAddress);
      if (kind == Change::Sale) { // the buyer lives in what he owns
        now.status = texts::owner;
        now.ownerName.clear();
      } else {
        now.status = texts::tenant;
        if (ownerLived && now.ownerName.trimmed().isEmpty())
          std::tie(now.ownerName, now.ownerPhone, now.ownerEmail) = std::tie(before->family, before->phone1, before->email);
      }
    }
    rewrite(store, now);
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

QString removalQuestion(const db::Store &store, qint64 apartment, const QDate &date) {
  const qint64 paid =
      store.one(QStringLiteral("SELECT count(*) FROM incoming WHERE apartment = ? AND cancelled IS NULL"), {apartment})
          .value(0)
          .toLongLong();
  Money owes;
  for (const owing::Account &account : owing::accounts(store, date))
    if (account.apartment == apartment)
      owes = account.total();
  if (paid == 0 && owes.agorot() == 0)
    return {};
  return texts::removeResidentQuestion.arg(apartment).arg(paid).arg(owes.toDisplay());
}

QString remove(const db::Store &store, qint64 apartment) {
  try {
    db::Transaction transaction(store);
    const auto query = store.exec(QStringLiteral("DELETE FROM neighbors WHERE apartment = ?"), {apartment});
    if (query.numRowsAffected() == 0)
      return texts::apartmentMissing;
    transaction.commit();
  } catch (const db::Error &e) {
    return db::saveFailure(e);
  }
  return {};
}

} // namespace domiva::residents
