#pragma once
// Collecting what is owed: an apartment's statement and its debt by age.
#include <QString>
#include <QStringList>

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


// Reminder letters, in three stages; in their texts, each <name> is put in
// for the apartment the letter goes to.
inline const QString stageNames = QStringLiteral("תזכורת ידידותית|מכתב דרישה|סיכום לתביעה במפקח על הבתים המשותפים");
inline const QString stageLine = QStringLiteral("שלב %1: %2");
inline const QString lastLetter = QStringLiteral("שלב %1, %2");
inline const QString friendlyLetter =
    QStringLiteral("שלום <שם>,\nלפי ספרי ועד הבית, ליום <ליום> חוב דירה <דירה> הוא <חוב> ש\"ח.\n"
                   "ייתכן שהתשלום פשוט נשכח; נודה לך אם תסדיר אותו בהקדם.\n<תשלום>\n"
                   "אם כבר שילמת, נא להתעלם ממכתב זה.\nבתודה, ועד הבית");
inline const QString demandLetter =
    QStringLiteral("לכבוד <שם>, דירה <דירה>\nהנדון: דרישה לתשלום חוב לוועד הבית\n"
                   "לפי ספרי ועד הבית, ליום <ליום> חוב הדירה הוא <חוב> ש\"ח, כמפורט בטבלה שלהלן.\n"
                   "הננו דורשים לשלם את מלוא החוב עד <מועד>.\n<תשלום>\n"
                   "אם החוב לא ישולם עד מועד זה, ייאלץ הוועד לפנות למפקח על הבתים המשותפים.\nבכבוד רב, ועד הבית");
inline const QString claimLetter =
    QStringLiteral("סיכום חוב לתביעה בפני המפקח על הבתים המשותפים\nדירה <דירה>, <שם>\n"
                   "החוב ליום <ליום>: <חוב> ש\"ח, לפי חודשים והיטלים כמפורט בטבלה שלהלן.\n"
                   "מכתבים שנשלחו: <מכתבים>");
inline const QString howToPayBank =
    QStringLiteral("את התשלום אפשר להעביר לחשבון הוועד: בנק %1, סניף %2, חשבון %3, ובהערה לכתוב \"דירה %4\".");
inline const QString howToPayTreasurer = QStringLiteral("את התשלום אפשר למסור לגזבר הוועד, בציון \"דירה %1\".");
inline const QString noLettersYet = QStringLiteral("אין");
inline const QString storyLetters = QStringLiteral("מכתבים שנשלחו: %1");
inline const QString storyLetter = QStringLiteral("%1 שלב %2 ל%3 (%4)");
inline const QString letterSent = QStringLiteral("%1 (%2)");
inline const QString letterDebtHeaders = QStringLiteral("תאריך|פירוט|לתשלום");
inline const QString letterTotal = QStringLiteral("סה\"כ חוב ליום %1: %2");
inline const QString lettersSentTitle = QStringLiteral("מכתבים שנשלחו");
inline const QString lettersSentHeaders = QStringLiteral("תאריך|שלב|נמען|סכום");
inline const QString letterShort = QStringLiteral("שלום %1, לפי ספרי ועד הבית חוב דירה %2 ליום %3 הוא %4 ש\"ח. %5");
inline const QString mailSubject = QStringLiteral("ועד הבית: חוב דירה %1");
// Why letters were not made; nothing is recorded then.
inline const QString letterEmpty = QStringLiteral("נוסח המכתב ריק");
inline const QString letterNoneChosen = QStringLiteral("יש לבחור לפחות דירה אחת");
inline const QString letterNoDebt = QStringLiteral("דירה %1 אינה חייבת דבר ליום %2");
inline const QString letterPastDeadline = QStringLiteral("המועד לתשלום, %1, כבר עבר");
inline const QString letterBadStage = QStringLiteral("יש לבחור שלב");
inline const QString lettersRecorded = QStringLiteral("נרשמו %1 מכתבים");
inline const QString letterTextSaved = QStringLiteral("הנוסח נשמר");
inline const QString remindersSubject = QStringLiteral("המכתבים");
inline const QString ownerField = QStringLiteral("בעל הדירה");
inline const QString ownerPhoneField = QStringLiteral("טלפון בעל הדירה");
inline const QString ownerEmailField = QStringLiteral("אימייל בעל הדירה");
inline const QString ownerAddressField = QStringLiteral("כתובת בעל הדירה");
inline const QString badPhone = QStringLiteral("בטלפון \"%1\" יכולים להיות רק ספרות, רווחים, מקפים, סוגריים ו-+");
inline const QString badEmail = QStringLiteral("האימייל \"%1\" אינו כתובת: חסר בו @ או שיש בו רווח");
// A sale or a move, on a date: who comes, in whose place.
inline const QStringList changeKinds{QStringLiteral("מכירה, הקונה גר בדירה"), QStringLiteral("מכירה, השוכר נשאר"),
                                     QStringLiteral("שוכר חדש")};
inline const QString roleOccupant = QStringLiteral("דייר");
inline const QString roleOwner = QStringLiteral("בעלים");
inline const QString roleBoth = QStringLiteral("דייר ובעלים");
inline const QString personUntil = QStringLiteral("%1 (%2) עד %3");
inline const QString personFrom = QStringLiteral("%1 (%2) מ-%3");
inline const QString personAlways = QStringLiteral("%1 (%2)");
inline const QString storyPeople = QStringLiteral("בדירה: %1");
// A name on a paper whose debt goes back to before its resident came.
inline const QString nameWithFormer = QStringLiteral("%1 (%2)");
inline const QString formerOccupant = QStringLiteral("עד %1: %2");
inline const QString statementChange = QStringLiteral("מעתה בדירה: %1, במקום %2");
inline const QString changeNoKind = QStringLiteral("יש לבחור את סוג השינוי");
inline const QString changeNoDate = QStringLiteral("יש להזין את תאריך השינוי");
inline const QString changeBeforeLast = QStringLiteral("בדירה %1 נרשם כבר שינוי ב-%2; שינוי חדש יהיה מיום זה ואילך");
inline const QString changeSameName = QStringLiteral("יש להזין את שם הבא במקום %1");
inline const QString changeRecorded = QStringLiteral("השינוי בדירה %1 נרשם מיום %2");

} // namespace domiva::texts
