#pragma once
// Every user-facing text that is not a caption: messages and fixed words the
// screens store or print. Captions live in the .ui files.
#include <QString>

namespace domiva::texts {

// A line of the engine's own words (SQLite's, in English) is kept apart from
// ours by this mark at its start: a message box shows such lines under its
// details ("פרטים"), never in its main text, and a console prints them plain.
inline constexpr QChar detailMark = QChar(0x1E);
inline QString withDetail(const QString &text, const QString &detail) {
  if (detail.trimmed().isEmpty())
    return text;
  QString marked = detail.trimmed();
  marked.replace(QLatin1Char('\n'), QStringLiteral("\n") + detailMark);
  return text + QLatin1Char('\n') + detailMark + marked;
}
// For a console: without the detail marks and the isolates of left-to-right runs.
inline QString plain(QString text) {
  for (const QChar mark : {detailMark, QChar(0x2066), QChar(0x2069)})
    text.remove(mark);
  return text;
}

// The menu of books whose details were never saved
inline const QString firstSteps = QStringLiteral("התחילו ב'רישום פרטים': כתובת, מספר דירות, דמי ועד ויתרת פתיחה");

// Building details
inline const QString detailsSaved = QStringLiteral("הפרטים עודכנו בהצלחה");
inline const QString badApartments = QStringLiteral("מספר הדירות בבניין חייב להיות מספר שלם מ-0 עד 1000");
inline const QString badOpenBalance =
    QStringLiteral("יתרת הפתיחה חייבת להיות סכום בש\"ח, עם שתי ספרות לכל היותר אחרי הנקודה");
inline const QString badMonthlyPay =
    QStringLiteral("גובה התשלום החודשי חייב להיות סכום שאינו שלילי, עם שתי ספרות לכל היותר אחרי הנקודה");
inline const QString apartmentOutOfRange = QStringLiteral("אין דירה %1 בבניין: הדירות הן 1 עד %2");
// The dues schedule and the opening debts
inline const QString duesFromQuestion =
    QStringLiteral("מאיזה חודש חלים דמי הוועד החדשים? החודשים שלפניו נשארים בסכום הקודם.\nחודש ושנה, למשל 06/2026:");
inline const QString duesFromAccept = QStringLiteral("עדכן מחודש זה");
inline const QString badDuesMonth = QStringLiteral("החודש צריך להיכתב כחודש ושנה, למשל 06/2026");
inline const QString duesRowGone = QStringLiteral("השורה כבר אינה בלוח דמי הוועד");
inline const QString duesRowStarted =
    QStringLiteral("אפשר להסיר רק שורה שמתחילה בחודש הבא או אחריו: חודשים שכבר חויבו אינם משתנים");
inline const QString scheduleSubject = QStringLiteral("לוח דמי הוועד");
inline const QString chooseDuesRow = QStringLiteral("יש לבחור שורה בלוח דמי הוועד");

// Opening the database
inline const QString dbCannotOpen = QStringLiteral("לא ניתן לפתוח את בסיס הנתונים:\n%1\n\n%2");
inline const QString dbCannotCreateFolder = QStringLiteral("לא ניתן ליצור את התיקייה של בסיס הנתונים.");
inline const QString dbCannotCreateFile = QStringLiteral("לא ניתן ליצור את קובץ בסיס הנתונים.");
inline const QString dbNotOurs = QStringLiteral("הקובץ הוא בסיס נתונים של תוכנה אחרת, לא של Domiva.");
inline const QString dbCannotRead = QStringLiteral("לא ניתן לקרוא את הקובץ.");
inline const QString dbNotSqlite = QStringLiteral("הקובץ אינו קובץ בסיס נתונים.");
inline const QString dbLocked =
    QStringLiteral("הקובץ בשימוש של תוכנה אחרת, שלא שחררה אותו בתוך 5 שניות. יש לסגור אותה ולנסות שוב.");
inline const QString dbReadOnly = QStringLiteral("אין הרשאה לכתוב בקובץ או בתיקייה שבה הוא נמצא.");
inline const QString dbDamaged = QStringLiteral("הקובץ פגום, ולכן לא נפתח. הוא נשאר כפי שהיה.");
inline const QString dbTooShort =
    QStringLiteral("הקובץ פגום: גודלו %1 בתים בלבד, קטן מכל בסיס נתונים, ולכן לא נפתח. הוא נשאר כפי שהיה.");
inline const QString dbMissing = QStringLiteral("הקובץ אינו קיים.");
inline const QString dbInterrupted = QStringLiteral(
    "כתיבה לקובץ נקטעה באמצע (לידו קובץ -journal). יש לפתוח אותו פעם אחת בתוכנה כדי לבטל את מה שנכתב בחלקו, "
    "ואז לבדוק שוב.");
inline const QString dbFull = QStringLiteral("הדיסק מלא, ולכן לא ניתן לפתוח את הקובץ. יש לפנות מקום בדיסק ולנסות שוב.");
inline const QString dbNeedsUpgrade = QStringLiteral(
    "הקובץ נשמר בגרסה קודמת של Domiva, והבדיקה אינה משנה אותו. יש לפתוח אותו פעם אחת בתוכנה, ואז לבדוק שוב.");
inline const QString noLog = QStringLiteral(
    "לא ניתן היה להעביר את הקובץ לרישום ביומן כתיבה (WAL). התוכנה עובדת בו במצב הרגיל, והנתונים נשמרים כרגיל, "
    "אך תוכנה אחרת לא תוכל לקרוא אותו בזמן כתיבה. אם הקובץ נמצא בתיקיית רשת, מומלץ להעבירו לדיסק של המחשב.");
inline const QString nestedTransaction = QStringLiteral("פעולת כתיבה התחילה בתוך פעולה אחרת שטרם הסתיימה.");
inline const QString damagedWhileOpen =
    QStringLiteral("נמצא פגם בקובץ בסיס הנתונים %1 בזמן העבודה, ולכן לא נעשה ממנו גיבוי.\n%2");
inline const QString dbBadName =
    QStringLiteral("שם הקובץ כולל תווים שהתוכנה אינה יכולה לקרוא. יש לשנות את שם הקובץ או התיקייה.");
inline const QString dbReplaced =
    QStringLiteral("קובץ בסיס הנתונים נמחק או הוחלף בזמן שהתוכנה פעלה. יש לסגור את התוכנה ולהפעיל אותה מחדש.");
inline const QString permissionsTightened =
    QStringLiteral("הקובץ %1 או התיקייה שלו היו פתוחים לקריאה למשתמשים אחרים במחשב. מעתה רק אתם יכולים לקרוא אותם.");
inline const QString dbTooNew = QStringLiteral("הקובץ נוצר בגרסה חדשה יותר של Domiva. יש לעדכן את התוכנה.");
inline const QString dbEngineError = QStringLiteral("שגיאת בסיס נתונים: %1");
inline const QString dbUpgradeFailed =
    QStringLiteral("לא ניתן לעדכן את הקובץ לגרסה הנוכחית של Domiva. הקובץ נשאר כפי שהיה.");

// Any write that the database refused: nothing of the action was kept.
inline const QString saveFailed = QStringLiteral("השמירה נכשלה ודבר לא נרשם:\n%1");
inline const QString commitUnknownText =
    QStringLiteral("החיבור לשרת נותק ברגע השמירה, ולא ידוע אם נרשמה. בדקו ברשימה לפני שתרשמו שוב.");
inline const QString causeBusy = QStringLiteral("הקובץ בשימוש של תוכנה אחרת.");
inline const QString causeReadOnly = QStringLiteral("אין הרשאה לכתוב בקובץ.");
inline const QString causeFull = QStringLiteral("הדיסק מלא.");
inline const QString causeDamaged = QStringLiteral("הקובץ פגום.");
inline const QString causeDisk = QStringLiteral("שגיאה בקריאה מהדיסק או בכתיבה אליו.");
inline const QString causeEngine = QStringLiteral("בסיס הנתונים סירב לפעולה.");
inline const QString causeClosed = QStringLiteral("התאריך בתקופה שנסגרה לאחר אישור האסיפה, ותשלומיה, הוצאותיה "
                                                  "וחיוביה אינם משתנים. תיקון נרשם כרשומה חדשה בתאריך שאחרי סוף "
                                                  "התקופה.");
// Books on a database server.
inline const QString causeServer = QStringLiteral("החיבור לשרת בסיס הנתונים נותק.");
inline const QString causeServerBusy = QStringLiteral("מישהו אחר רושם בספרי הבניין כבר זמן רב. נסו שוב בעוד רגע.");
inline const QString serverReadOnly =
    QStringLiteral("למשתמש שלכם בשרת יש הרשאת קריאה בלבד בספרי הבניין: אפשר לצפות ולהדפיס, לא לרשום או לשנות.");
inline const QString serverUnreachable = QStringLiteral("לא ניתן להתחבר לשרת בסיס הנתונים.");
inline const QString serverBadAddress =
    QStringLiteral("כתובת השרת אינה תקינה. הצורה היא postgresql://משתמש@שרת:פורט/בסיס-נתונים");
inline const QString noSuchBuilding = QStringLiteral("בשרת אין בניין בשם \"%1\".");
inline const QString buildingNotMade =
    QStringLiteral("ספרי הבניין \"%1\" עוד לא נוצרו בשרת, ולמשתמש שלכם אין הרשאה ליצור אותם.");
inline const QString serverNeedsUpgrade =
    QStringLiteral("ספרי הבניין בשרת מגרסה קודמת של Domiva. משתמש שמורשה לכתוב בהם צריך לפתוח אותם פעם אחת בתוכנה.");
inline const QString serverUpgradeFailed =
    QStringLiteral("לא ניתן לעדכן את ספרי הבניין בשרת לגרסה הנוכחית של Domiva. הם נשארו כפי שהיו.");
inline const QString serverNotOurs = QStringLiteral("בבניין שנבחר בשרת יש טבלאות של תוכנה אחרת, לא של Domiva.");
inline const QString serverTooNew =
    QStringLiteral("ספרי הבניין בשרת עודכנו בגרסה חדשה יותר של Domiva. יש לעדכן את התוכנה.");
inline const QString chooseBuilding = QStringLiteral("בחר בניין");
inline const QString chooseBuildingLabel = QStringLiteral("הבניינים בשרת:");
inline const QString newBuilding = QStringLiteral("בניין חדש…");
inline const QString openBuilding = QStringLiteral("פתח");
inline const QString addBuilding = QStringLiteral("הוסף");
inline const QString nameTheBuilding =
    QStringLiteral("בכתובת השרת צריך לציין את הבניין, למשל: postgresql://משתמש@שרת/בסיס-נתונים?building=שם");
inline const QString newBuildingName = QStringLiteral("שם הבניין החדש:");
inline const QString noBuildings = QStringLiteral("בשרת עוד אין בניינים. אפשר להוסיף בניין חדש.");
inline const QString badBuildingName =
    QStringLiteral("שם הבניין צריך להיות באורך 1 עד 30 אותיות, בלי מירכאות כפולות ובלי סימני כיוון, ולא להתחיל ב-pg_.");
inline const QString buildingExists = QStringLiteral("בשרת כבר יש בניין בשם \"%1\".");
inline const QString cannotAddBuilding = QStringLiteral("לא ניתן להוסיף את הבניין: רק מנהל השרת יכול להוסיף בניינים.");
inline const QString copyTargetNotEmpty = QStringLiteral("ביעד ההעתקה כבר יש ספרים. בוחרים קובץ חדש או בניין חדש.");
inline const QString copied = QStringLiteral("ספרי הבניין הועתקו אל %1. בדיקת העותק:");
inline const QString copyNumbersDenied =
    QStringLiteral("לתפקיד שלכם בשרת אין הרשאה לקרוא את מספרי הקבלות הבאים של הבניין. מנהל השרת יכול לתת אותה: "
                   "GRANT SELECT ON ALL SEQUENCES IN SCHEMA <הבניין> TO <התפקיד>");
inline const QString copyFailed = QStringLiteral("ההעתקה נכשלה, ודבר לא נכתב ביעד:\n%1");
inline const QString serverBooksLabel = QStringLiteral("השרת והבניין:");
inline const QString serverBackupsLabel = QStringLiteral("גיבויים:");
inline const QString serverBackups =
    QStringLiteral("ספרי הבניין שמורים בשרת בסיס הנתונים. את הגיבויים של השרת עצמו (pg_dump) עושה מנהל השרת. "
                   "\"גבה עכשיו לקובץ…\" כותב עותק של ספרי הבניין לקובץ, שהתוכנה יכולה לפתוח בכל מחשב.");
inline const QString causeNoFolder = QStringLiteral("לא ניתן ליצור את התיקייה.");
// A read that failed: never shown as an empty list.
inline const QString readFailed = QStringLiteral("לא ניתן לקרוא את %1 מבסיס הנתונים:\n%2");
inline const QString printRefused = QStringLiteral("הרשימה לא נקראה במלואה, ולכן לא תודפס.");
inline const QString residentsSubject = QStringLiteral("רשימת הדיירים");
inline const QString paymentsSubject = QStringLiteral("רשימת התשלומים");
inline const QString expensesSubject = QStringLiteral("רשימת ההוצאות");
inline const QString incomeSubject = QStringLiteral("הכנסות התקופה");
inline const QString spendingSubject = QStringLiteral("הוצאות התקופה");
inline const QString totalsSubject = QStringLiteral("סיכומי המאזן");
inline const QString matrixSubject = QStringLiteral("הטבלה השנתית");
inline const QString reportSubject = QStringLiteral("נתוני הדו\"ח");
inline const QString debtorsSubject = QStringLiteral("רשימת החייבים");
inline const QString storySubject = QStringLiteral("כרטסת הדירה");

// Who owes
// Levies
inline const QString levyNameField = QStringLiteral("שם ההיטל");
inline const QString levyNameRequired = QStringLiteral("יש לתת להיטל שם");
inline const QString levyNameTaken = QStringLiteral("השם \"%1\" כבר תפוס: יש לבחור להיטל שם אחר");
inline const QString negativeLevy = QStringLiteral("סכום ההיטל אינו יכול להיות שלילי");
inline const QString badInstalments = QStringLiteral("מספר התשלומים חייב להיות מספר שלם בין 1 ל-120");
inline const QString levyHasPayments =
    QStringLiteral("להיטל נרשמו תשלומים, ולכן אי אפשר למחוק אותו. אפשר לבטל את התשלומים קודם");
inline const QString chooseLevy = QStringLiteral("יש לבחור היטל ברשימה");
inline const QString leviesSubject = QStringLiteral("רשימת ההיטלים");
inline const QString deleteLevyQuestion = QStringLiteral("למחוק את ההיטל \"%1\" ואת חיוביו?");
inline const QString badShare = QStringLiteral("חלק הדירה הוא מספר גדול מ-0, עם עד שתי ספרות אחרי הנקודה (למשל 85.5)");
inline const QString sharesMissing = QStringLiteral(
    "לחלוקה לפי חלק הדירה חסר החלק של דירות %1: יש לרשום אותו (\"עדכן חלק לדירה\") או לחלק בשווה");
inline const QString levyAmountLabel = QStringLiteral("סכום לדירה:");
inline const QString levyWholeLabel = QStringLiteral("סך ההיטל לבניין:");
inline const QString levyEqualRule = QStringLiteral("חלוקה: סכום שווה לכל דירה");
inline const QString levyShareRule = QStringLiteral(
    "חלוקה לפי חלק הדירה: %1 ש\"ח לפי %2 חלקים. כל דירה חייבת בסכום כפול חלקה חלקי סך החלקים, מעוגל כלפי "
    "מטה לאגורה; האגורות שנותרו ניתנו אחת לדירה, לפי השארית הגדולה, ובשוויון לדירה שמספרה נמוך");
inline const QString levyDueLine = QStringLiteral("מועד התשלום הראשון: %1, מספר תשלומים חודשיים: %2");
inline const QString levyNotCharged = QStringLiteral("להיטל \"%1\" אין חיוב לדירה %2");
inline const QString removeResidentQuestion = QStringLiteral(
    "לדירה %1 רשומים %2 תשלומים, והיא חייבת %3 ש\"ח. התשלומים והחוב נשארים של הדירה גם אחרי מחיקת הדייר.\n"
    "למחוק את הדייר?");
inline const QString referenceField = QStringLiteral("אסמכתא");
inline const QString closeUnrecorded = QStringLiteral("לסגור בלי לרשום?");
inline const QString incomeSubtotal = QStringLiteral("סה\"כ הכנסות");
inline const QString expenseSubtotal = QStringLiteral("סה\"כ הוצאות");
inline const QString savePdf = QStringLiteral("שמור כקובץ PDF");
inline const QString meetingTitle = QStringLiteral("דו\"ח לאסיפה כללית");
inline const QString meetingPayments = QStringLiteral("תשלומים לתקופה %1 עד %2");
inline const QString meetingDebt = QStringLiteral("חוב ליום %1");
inline const QString residentAdded = QStringLiteral("הדייר נוסף לדירה %1");
inline const QString residentUpdated = QStringLiteral("פרטי הדייר בדירה %1 עודכנו");
inline const QString residentRemoved = QStringLiteral("הדייר נמחק מדירה %1");
inline const QString emptyApartment = QStringLiteral("דירה ריקה");
inline const QString apartmentNumber = QStringLiteral("דירה %1");
inline const QString openingDebt = QStringLiteral("חוב פתיחה");
inline const QString levyLine = QStringLiteral("היטל: %1");
inline const QString receiptPart = QStringLiteral("%1: %2");
inline const QString paidAhead = QStringLiteral("שולם מראש");
inline const QString totalDebt = QStringLiteral("סה\"כ חוב");
inline const QString totalCredit = QStringLiteral("זכות");
inline const QString debtorsTitle = QStringLiteral("חייבים נכון לתאריך %1");
inline const QString debtorsTotals =
    QStringLiteral("חייבים: %1 דירות · פיגור השנה: %2 · חוב משנים קודמות: %3 · חוב היטלים: %4");
inline const QString storyTitle = QStringLiteral("כרטסת דירה %1 %2");
inline const QString storyYears = QStringLiteral("לפי שנים והיטלים, נכון לתאריך %1");
inline const QString receiptTitle = QStringLiteral("קבלה מס' %1");
inline const QString receiptCancelled = QStringLiteral("מבוטלת");
inline const QString receiptCancelledOn = QStringLiteral("בתאריך %1, %2");
inline const QString receiptIssuer = QStringLiteral("ועד הבית");
inline const QString treasurerSignature = QStringLiteral("חתימת הגזבר: ________________________");
inline const QString monthsRange = QStringLiteral("%1 עד %2");
inline const QString shekels = QStringLiteral("%1 ש\"ח");
inline const QString periodReversed = QStringLiteral("תאריך הסיום קודם לתאריך ההתחלה.");
inline const QString chooseRowFirst = QStringLiteral("יש לבחור תשלום ברשימה.");

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
inline const QString badTypedDate = QStringLiteral("אין תאריך כזה: %1. יש להקליד יום, חודש ושנה, למשל 30/04/2025");
inline const QString badMonth = QStringLiteral("יש לבחור חודש מתוך הרשימה");
inline const QString amountTooLarge = QStringLiteral("הסכום גדול מדי: הסכום הגדול ביותר הוא 9,999,999.99 ש\"ח");
inline const QString badCharacters =
    QStringLiteral("בשדה '%1' יש תו שאי אפשר לשמור: מעבר שורה, תו אפס או סימן כיווניות נסתר. יש להקליד את הטקסט מחדש");
inline const QString zeroAmount = QStringLiteral("סכום של 0 אינו תשלום. יש להקליד את הסכום ששולם");
inline const QString badYear = QStringLiteral("השנה חייבת להיות מספר בין 2000 ל-2100");
// The payment methods a bank line is recorded by
inline const QString bankTransfer = QStringLiteral("העברה בנקאית");
inline const QString standingOrder = QStringLiteral("הוראת קבע");
// The month's standing orders, proposed from the month before
inline const QString standingOrdersQuestion =
    QStringLiteral("הוראות הקבע של %1, כפי שנרשמו בחודש הקודם:\n%2\nלרשום את כולן?");
inline const QString standingOrderLine = QStringLiteral("דירה %1, %2, %3 ש\"ח");
inline const QString noStandingOrders =
    QStringLiteral("אין הוראות קבע לרשום: בחודש הקודם לא נרשמו תשלומים בהוראת קבע, או שכולם נרשמו כבר החודש.");
inline const QString partsOfOneApartment = QStringLiteral("כל חלקי הקבלה הם תשלום של דירה אחת");
inline const QString duplicatePayment = QStringLiteral("תשלום זהה נרשם זה עתה. לרשום שוב?");
inline const QString largePayment =
    QStringLiteral("הסכום %1 ש\"ח גדול מפי שניים מדמי הוועד של החודשים שהתשלום מכסה (%2 ש\"ח). לרשום בכל זאת?");
inline const QString income = QStringLiteral("הכנסה");
inline const QString houseCommittee = QStringLiteral("ועד הבית");
inline const QString other = QStringLiteral("אחר");
inline const QString cash = QStringLiteral("מזומן");
inline const QString cheque = QStringLiteral("שיק");

// Expenses
inline const QString categoryRequired = QStringLiteral("שדה 'סוג הוצאה' הוא חובה");
inline const QString zeroExpense = QStringLiteral("סכום של 0 אינו הוצאה. יש להקליד את הסכום ששולם");
inline const QString supplierAdded = QStringLiteral("הספק נרשם ברשימת ספקים");
inline const QString supplierExists = QStringLiteral("הספק כבר נמצא ברשימת הספקים");
inline const QString supplierEmpty = QStringLiteral("יש להקליד את שם הספק לפני הוספתו לרשימה");
inline const QString expense = QStringLiteral("הוצאה");

// The names of the fields a refusal of a text names, as the windows show them
inline const QString familyField = QStringLiteral("משפחה");
inline const QString statusField = QStringLiteral("סטאטוס");
inline const QString phone1Field = QStringLiteral("טלפון1");
inline const QString phone2Field = QStringLiteral("טלפון2");
inline const QString emailField = QStringLiteral("אימייל");
inline const QString forField = QStringLiteral("עבור");
inline const QString detailField = QStringLiteral("פירוט");
inline const QString paymentField = QStringLiteral("סוג תשלום");
inline const QString categoryField = QStringLiteral("סוג הוצאה");
inline const QString paybyField = QStringLiteral("אופן התשלום");
inline const QString supplierField = QStringLiteral("ספק");
inline const QString streetField = QStringLiteral("רחוב");
inline const QString cityField = QStringLiteral("עיר");
inline const QString reasonField = QStringLiteral("סיבת הביטול");

// Backups
inline const QString backupFailed = QStringLiteral("לא ניתן לכתוב את הגיבוי %1.\n%2");
inline const QString backupSaved = QStringLiteral("הגיבוי נשמר בקובץ:\n%1");
inline const QString logStays = QStringLiteral("לא ניתן להזיז את יומן הכתיבה %1 שליד הקובץ.");
inline const QString restoreRefused = QStringLiteral("הגיבוי %1 לא שוחזר, והקובץ הנוכחי נשאר כפי שהיה.\n%2");
inline const QString restoreQuestion =
    QStringLiteral("לשחזר את הגיבוי מ-%1?\nהקובץ הנוכחי יישמר קודם כגיבוי, וכל החלונות הפתוחים של התוכנה ייסגרו.");
inline const QString restored = QStringLiteral("הגיבוי שוחזר. הקובץ הקודם נשמר בתיקיית הגיבויים.");
inline const QString chooseBackup = QStringLiteral("יש לבחור גיבוי ברשימה");
inline const QString noBackup = QStringLiteral("לא נמצא גיבוי של הקובץ.");
inline const QString restoreAdvice = QStringLiteral(
    "הגיבוי האחרון: %1\nלשחזור: לחצו \"שחזר מהגיבוי האחרון\". לשחזור ביד: סגרו את התוכנה, העבירו למקום אחר את "
    "הקובץ %2 ואת הקבצים %3 ו-%4 אם הם קיימים, העתיקו את קובץ הגיבוי למקום הקובץ, והפעילו את התוכנה שוב.");
inline const QString restoreNewest = QStringLiteral("שחזר מהגיבוי האחרון");
inline const QString booksMissingNew =
    QStringLiteral("קובץ הספרים %1 לא נמצא, אבל לידו יש גיבויים שלו.\nליצור ספרים חדשים וריקים במקומו?");
inline const QString badCommandLine = QStringLiteral("שורת הפקודה אינה מובנת; --help מציג את האפשרויות.");
inline const QString backupTargetIsOption =
    QStringLiteral("\"%1\" נראה כאפשרות ולא כשם קובץ: יש לכתוב אחרי --backup את שם קובץ הגיבוי.");
inline const QString booksMissing = QStringLiteral("קובץ הספרים %1 לא נמצא. אפשר לשחזר אותו מגיבוי.");
inline const QString restoreChoose = QStringLiteral("בחר גיבוי…");
inline const QString restoreFromFile = QStringLiteral("שחזר מקובץ…");
inline const QString closeProgram = QStringLiteral("סגור את התוכנה");
inline const QString restoreOpenTitle = QStringLiteral("בחירת קובץ לשחזור");
inline const QString restoredAfterDamage =
    QStringLiteral("הגיבוי שוחזר. הקובץ הפגום נשמר בשם:\n%1\nהתוכנה תיפתח עכשיו על הקובץ המשוחזר.");
inline const QString backupIncomplete =
    QStringLiteral("העותק שנכתב אינו שלם: מספר התשלומים או ההוצאות בו שונה מזה שבקובץ. הגיבוי לא נשמר.");
inline const QString backupSaveTitle = QStringLiteral("שמירת גיבוי");

// What the status line says after an action, so a second press is never silent
inline const QString paymentRecorded = QStringLiteral("נרשם תשלום, קבלה מס' %1");
inline const QString paymentsRecorded = QStringLiteral("נרשמו תשלומים, קבלות מס' %1");
inline const QString expenseRecorded = QStringLiteral("נרשמה הוצאה, קבלה מס' %1");
inline const QString rowCancelled = QStringLiteral("בוטלה רשומה, קבלה מס' %1");

// Cancelling a payment or an expense
inline const QString cancelRow = QStringLiteral("בטל רשומה");
inline const QString chooseRow = QStringLiteral("יש לבחור שורה בטבלה");
inline const QString alreadyCancelled = QStringLiteral("הרשומה כבר בוטלה");
inline const QString rowMissing = QStringLiteral("הרשומה אינה קיימת עוד בבסיס הנתונים");
inline const QString cancelQuestion = QStringLiteral("לבטל את הרשומה?\n%1\n\nסיבת הביטול:");
inline const QString cancelSummary = QStringLiteral("קבלה מס' %1, תאריך %2, %3, סכום %4");
inline const QString reasonRequired = QStringLiteral("יש לכתוב את סיבת הביטול. דבר לא בוטל");
inline const QString goBack = QStringLiteral("חזרה");

// Checking the books (--check, --repair)
inline const QString checkMatrixRow = QStringLiteral("דירה %1, שנה %2: %3");
inline const QString checkCell = QStringLiteral("%1 בטבלה השנתית %2, לפי התשלומים %3");
inline const QString checkNoRow = QStringLiteral("אין שורה בטבלה השנתית, לפי התשלומים סה\"כ %1");
inline const QString checkEmpty = QStringLiteral("ריק");
inline const QString checkTotal = QStringLiteral("סה\"כ");
inline const QString checkDepth = QStringLiteral("יתרת חובה");
inline const QString checkJournal = QStringLiteral("%1: ביומן %2 שורות בסך %3, לפי הרשומות %4 שורות בסך %5");
inline const QString incomes = QStringLiteral("הכנסות");
inline const QString expensesWord = QStringLiteral("הוצאות");
inline const QString checkPassed = QStringLiteral("הנתונים תקינים: הטבלה השנתית והיומן תואמים את התשלומים וההוצאות.");
inline const QString checkFailed = QStringLiteral("נמצאו %1 הבדלים.");
inline const QString repairWill = QStringLiteral("ייבנו מחדש מהתשלומים %1 שורות בטבלה השנתית.");
inline const QString repairDone = QStringLiteral("השורות נבנו מחדש.");
inline const QString repairNotJournal = QStringLiteral("הבדלים ביומן אינם מתוקנים אוטומטית.");

// Printing
inline const QString noPrinterSavePdf = QStringLiteral("לא מותקנת מדפסת. לשמור את ההדפסה כקובץ PDF?");
inline const QString pdfSaveTitle = QStringLiteral("שמירה כ-PDF");
inline const QString fileFailed =
    QStringLiteral("לא ניתן לכתוב את הקובץ:\n%1\nקובץ קודם באותו שם, אם היה, נשאר כפי שהיה.");
inline const QString printingPage = QStringLiteral("מדפיס… עמוד %1 מתוך %2");
inline const QString stopPrinting = QStringLiteral("עצור");
inline const QString printFailed = QStringLiteral("ההדפסה במדפסת %1 נכשלה.");
inline const QString printedOn = QStringLiteral("הודפס בתאריך %1");
inline const QString rowsPrinted = QStringLiteral("מספר שורות: %1");
inline const QString columnTotal = QStringLiteral("סה\"כ %1: %2");
inline const QString fileSaved = QStringLiteral("הקובץ נשמר:\n%1");
inline const QString saveCsv = QStringLiteral("שמור כקובץ CSV");

} // namespace domiva::texts
