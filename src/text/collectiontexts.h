#pragma once
// Collecting what is owed: an apartment's statement and its debt by age.
#include <QString>

namespace domiva::texts {

inline const QString statementTitle = QStringLiteral("דף חשבון - דירה %1");
inline const QString statementAsAt = QStringLiteral("ליום %1");
inline const QString statementHeaders = QStringLiteral("תאריך|פירוט|חיוב|זיכוי|יתרה");
inline const QString statementDues = QStringLiteral("דמי ועד %1 %2");
inline const QString statementInstalment = QStringLiteral("היטל: %1, תשלום %2 מתוך %3");
inline const QString statementPayment = QStringLiteral("תשלום, קבלה %1: %2");
inline const QString statementYearMonths = QStringLiteral("%1 %2");
inline const QString statementBalance = QStringLiteral("יתרה לתשלום ליום %1: %2");
inline const QString statementCredit = QStringLiteral("יתרת זכות ליום %1: %2");
inline const QString agingTitle = QStringLiteral("החוב לפי ותק");
inline const QString agingHeaders = QStringLiteral("עד 30 יום|31-90 יום|91-180 יום|מעל 180 יום|סה\"כ חוב");
inline const QString statementButton = QStringLiteral("דף חשבון");
inline const QString allStatements = QStringLiteral("דפי חשבון לכל החייבים");
inline const QString statementChooseRow = QStringLiteral("יש לבחור בטבלה את הדירה שדף החשבון שלה יוצג");
inline const QString noDebtors = QStringLiteral("אין דירות חייבות ליום %1");

} // namespace domiva::texts
