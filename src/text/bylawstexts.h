#pragma once
// The texts of what the bylaws ask of a treasurer beyond the daily books:
// an expense's documents and the owner's inspection pack, the year's
// budget, closing a period once approved, and the funds kept apart.
#include <QString>

namespace domiva::texts {

// An expense's documents
inline const QString documentTooLarge = QStringLiteral("המסמך גדול מ-%1 מגה-בייט: יש לסרוק אותו ברזולוציה נמוכה יותר");
inline const QString documentUnreadable = QStringLiteral("אי אפשר לקרוא את הקובץ: %1");
inline const QString documentNotAllowed = QStringLiteral("אפשר לצרף רק קובץ PDF או תמונה (PNG או JPEG)");
inline const QString documentNoExpense = QStringLiteral("ההוצאה לא נמצאה בספרים");
inline const QString documentAttached = QStringLiteral("להוצאה, קבלה מס' %1, צורף המסמך %2 (מסמכים: %3)");
inline const QString noDocuments = QStringLiteral("להוצאה, קבלה מס' %1, אין מסמכים");
inline const QString chooseDocument = QStringLiteral("בחירת מסמך להוצאה");
inline const QString documentFilter = QStringLiteral("PDF או תמונה (*.pdf *.png *.jpg *.jpeg)");
inline const QString packHeaders = QStringLiteral("תאריך|סוג|עבור / סוג הוצאה|דירה / ספק|פירוט|סכום|קבלה|מסמכים");
inline const QString packTitle = QStringLiteral("תיק עיון לבעל דירה");
inline const QString packFailed = QStringLiteral("תיק העיון לא נשמר: אי אפשר לכתוב אל %1");
inline const QString packWritten = QStringLiteral("תיק העיון נשמר: %1, ולידו %2 מסמכים בתיקייה \"%3\"");
inline const QString withoutDocumentsTitle = QStringLiteral("הוצאות ללא חשבונית");
inline const QString withoutDocumentsPeriod = QStringLiteral("מ-%1 עד %2");

// Budget
inline const QString budgetResult = QStringLiteral("הכנסות פחות הוצאות");
inline const QString budgetTitle = QStringLiteral("תקציב מול ביצוע %1");
inline const QString budgetPeriod = QStringLiteral("ביצוע מ-%1 עד %2");
inline const QString budgetNameField = QStringLiteral("סעיף");
inline const QString budgetKindRequired = QStringLiteral("יש לבחור אם הסעיף הוא הוצאה או הכנסה");
inline const QString budgetNameRequired = QStringLiteral("יש לבחור או להקליד סעיף");
inline const QString negativeBudget = QStringLiteral("סכום התקציב אינו יכול להיות שלילי");
inline const QString budgetSubject = QStringLiteral("התקציב");
inline const QString coveringDues = QStringLiteral("דמי ועד שיכסו את התקציב: %1 ש\"ח לדירה לחודש");
inline const QString nothingToCover = QStringLiteral("אין הוצאות בתקציב שדמי הוועד צריכים לכסות");
inline const QString offerDuesQuestion =
    QStringLiteral("לקבוע דמי ועד של %1 ש\"ח לדירה לחודש, החל מ-%2? החודשים שלפני כן נשארים כפי שהם");
inline const QString yearOver = QStringLiteral("שנת %1 כבר הסתיימה: אפשר לקבוע דמי ועד רק לחודשים שעוד לא התחילו");
inline const QString duesSet = QStringLiteral("נקבעו דמי ועד של %1 ש\"ח מ-%2");

// Closing a period
inline const QString closingTitle = QStringLiteral("סגירת תקופה");
inline const QString closedThrough = QStringLiteral("הספרים סגורים עד %1 (אושר באסיפה %2).");
inline const QString nothingClosed = QStringLiteral("אין תקופה סגורה.");
inline const QString closeInFuture = QStringLiteral("אי אפשר לסגור תקופה שטרם הסתיימה.");
inline const QString approvedBeforeEnd = QStringLiteral("האסיפה מאשרת את החשבונות אחרי סוף התקופה, לא לפניו.");
inline const QString approvedInFuture = QStringLiteral("תאריך האישור עוד לא הגיע.");
inline const QString closeBeforeBooks = QStringLiteral("התקופה מסתיימת לפני תחילת הספרים (%1).");
inline const QString alreadyClosed = QStringLiteral("הספרים כבר סגורים עד %1.");
inline const QString closeQuestion =
    QStringLiteral("לסגור את הספרים עד %1?\nתשלומים, הוצאות וחיובים בתאריך עד %1 לא ישתנו עוד.");
inline const QString periodClosedDone = QStringLiteral("הספרים נסגרו עד %1.");
inline const QString reopenQuestion = QStringLiteral("לפתוח מחדש את התקופה שעד %1?\n\nסיבת הפתיחה:");
inline const QString reopenReasonRequired = QStringLiteral("יש לכתוב את סיבת הפתיחה. דבר לא נפתח");
inline const QString periodReopened = QStringLiteral("התקופה שעד %1 נפתחה מחדש.");
inline const QString closingsSubject = QStringLiteral("התקופות הסגורות");

// Funds
inline const QString runningAccount = QStringLiteral("חשבון שוטף");
inline const QString fundField = QStringLiteral("שם הקרן");
inline const QString keptField = QStringLiteral("היכן מוחזק הכסף");
inline const QString fundNameRequired = QStringLiteral("יש להקליד את שם הקרן");
inline const QString fundNameTaken = QStringLiteral("כבר יש קרן בשם \"%1\"");
inline const QString fundMissing = QStringLiteral("אין קרן בשם \"%1\"");
inline const QString badMaturity = QStringLiteral("מועד הפירעון אינו תאריך שלם. יש להקליד יום, חודש ושנה, או להשאיר ריק");
inline const QString negativeTransfer = QStringLiteral("סכום ההעברה חייב להיות גדול מ-0");
inline const QString sameFund = QStringLiteral("יש לבחור שתי קרנות שונות");
inline const QString deposit = QStringLiteral("%1 פיקדון עד %2");
inline const QString fundsTitle = QStringLiteral("קרנות מ-%1 עד %2");
inline const QString fundAdded = QStringLiteral("הקרן \"%1\" נוספה");
inline const QString transferRecorded = QStringLiteral("ההעברה נרשמה");
inline const QString fundsSubject = QStringLiteral("הקרנות");
inline const QString halfYearTitle = QStringLiteral("דו\"ח חצי שנתי");

} // namespace domiva::texts
