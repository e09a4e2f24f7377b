#pragma once
// Every user-facing text that is not a caption: messages and fixed words the
// screens store or print. Captions live in the .ui files.
#include <QString>

namespace domiva::texts {

// Building details
inline const QString detailsSaved = QStringLiteral("הפרטים עודכנו בהצלחה");
inline const QString badApartments = QStringLiteral("מספר הדירות בבניין חייב להיות מספר שלם שאינו שלילי");
inline const QString badOpenBalance = QStringLiteral("יתרת הפתיחה חייבת להיות מספר שלם בש\"ח");
inline const QString badMonthlyPay = QStringLiteral("גובה התשלום החודשי חייב להיות מספר שלם שאינו שלילי");

// Opening the database
inline const QString dbCannotOpen = QStringLiteral("לא ניתן לפתוח את בסיס הנתונים:\n%1\n\n%2");
inline const QString dbCannotCreateFolder = QStringLiteral("לא ניתן ליצור את התיקייה של בסיס הנתונים.");
inline const QString dbCannotCreateFile = QStringLiteral("לא ניתן ליצור את קובץ בסיס הנתונים.");
inline const QString dbNotOurs = QStringLiteral("הקובץ אינו בסיס נתונים של Domiva.");
inline const QString dbTooNew = QStringLiteral("הקובץ נוצר בגרסה חדשה יותר של Domiva. יש לעדכן את התוכנה.");
inline const QString dbEngineError = QStringLiteral("שגיאת בסיס נתונים: %1");

// Any write that the database refused: nothing of the action was kept.
inline const QString saveFailed = QStringLiteral("השמירה נכשלה ודבר לא נרשם:\n%1");

// Residents
inline const QString apartmentExists = QStringLiteral("דירה קיימת בבסיס נתונים");
inline const QString apartmentMissing = QStringLiteral("דירה לא קיימת בבסיס נתונים");
inline const QString badApartment = QStringLiteral("מספר הדירה חייב להיות מספר שלם, 1 ומעלה");
inline const QString owner = QStringLiteral("בעל הבית");
inline const QString tenant = QStringLiteral("שוכר");

// Payments
inline const QString forRequired = QStringLiteral("שדה 'עבור' הוא חובה");
inline const QString apartmentRequired = QStringLiteral("שדה 'דירה' הוא חובה");
inline const QString badAmount = QStringLiteral("הסכום חייב להיות מספר, עם שתי ספרות לכל היותר אחרי הנקודה");
inline const QString badMonth = QStringLiteral("יש לבחור חודש מתוך הרשימה");
inline const QString monthsReversed = QStringLiteral(
    "החודש הראשון מאוחר מהחודש האחרון.\nתשלום שעובר את סוף השנה יש לרשום כשני תשלומים, אחד לכל שנה.");
inline const QString income = QStringLiteral("הכנסה");
inline const QString houseCommittee = QStringLiteral("ועד הבית");
inline const QString other = QStringLiteral("אחר");
inline const QString cash = QStringLiteral("מזומן");
inline const QString cheque = QStringLiteral("שיק");

// Expenses
inline const QString categoryRequired = QStringLiteral("שדה 'סוג הוצאה' הוא חובה");
inline const QString supplierAdded = QStringLiteral("הספק נרשם ברשימת ספקים");
inline const QString supplierEmpty = QStringLiteral("יש להקליד את שם הספק לפני הוספתו לרשימה");
inline const QString expense = QStringLiteral("הוצאה");

// Printing
inline const QString noPrinterSavePdf = QStringLiteral("לא מותקנת מדפסת. לשמור את ההדפסה כקובץ PDF?");
inline const QString pdfSaveTitle = QStringLiteral("שמירה כ-PDF");
inline const QString pdfFailed = QStringLiteral("לא ניתן לכתוב את הקובץ:\n%1");

} // namespace domiva::texts
