#pragma once
// The bank statement's texts: why a file is refused, naming the columns of
// a bank not known, the review of its lines and the reconciliation.
#include <QString>

namespace domiva::texts {

// Bank statements: why a file gave no lines (after bankRefused).
inline const QString bankRefused = QStringLiteral("דף החשבון לא נקרא, ודבר לא נרשם ממנו:\n%1");
inline const QString bankTooLarge = QStringLiteral("הקובץ גדול מדי לדף חשבון: %1 MB, והגבול הוא %2 MB.");
inline const QString bankEmpty = QStringLiteral("הקובץ ריק.");
inline const QString bankUnreadable = QStringLiteral("לא ניתן לקרוא את הקובץ.");
inline const QString bankDamaged = QStringLiteral("הקובץ פגום: הוא נראה כגיליון Excel (xlsx), אך לא ניתן לקרוא אותו.");
inline const QString bankOldExcel =
    QStringLiteral("הקובץ הוא גיליון Excel מגרסה ישנה (xls). יש לפתוח אותו ולשמור אותו כ-xlsx או כ-CSV.");
inline const QString bankNotText = QStringLiteral("הקובץ אינו דף חשבון: אין בו טבלה ולא טקסט.");
inline const QString bankNoHeader =
    QStringLiteral("לא נמצאה בקובץ שורת הכותרות של דף חשבון. חיפשנו את הכותרות של דפי החשבון של %1.");
inline const QString bankNoLines = QStringLiteral("בקובץ נמצאו הכותרות של דף חשבון של %1, אך אין תחתן אף תנועה.");
inline const QString bankBadCell = QStringLiteral("בשורה %1 של הקובץ, %2 \"%3\" אינו קריא.");
inline const QString bankTwoSides = QStringLiteral("בשורה %1 של הקובץ יש סכום גם בחובה וגם בזכות.");
inline const QString bankDateWord = QStringLiteral("התאריך");
inline const QString bankAmountWord = QStringLiteral("הסכום");
inline const QString bankBalanceWord = QStringLiteral("היתרה");
inline const QString bankKept = QStringLiteral("נקלטו מדף החשבון %1 שורות חדשות; %2 שורות כבר היו בספרים.");
inline const QString bankLineRecorded =
    QStringLiteral("השורה של דף החשבון כבר נרשמה: %1 מתוך %2 נרשמו, ואין בה די לרישום הזה.");
inline const QString bankDebitNotPayment = QStringLiteral("שורת חובה בדף החשבון אינה תשלום של דייר.");
inline const QString bankCreditNotExpense = QStringLiteral("שורת זכות בדף החשבון אינה הוצאה.");
inline const QString bankPartNotPositive = QStringLiteral("סכום שנרשם משורה של דף החשבון חייב להיות גדול מאפס.");
inline const QString bankFees = QStringLiteral("עמלות בנק");
// Naming the columns of a statement the program does not know
inline const QString bankUnknownLayout =
    QStringLiteral("המבנה של דף החשבון הזה אינו מוכר לתוכנה. אפשר לבחור איזו עמודה בו היא התאריך, התיאור והסכום, "
                   "והבחירה תישמר לבנק הזה לפעם הבאה. לבחור עכשיו?");
inline const QString bankNameField = QStringLiteral("שם הבנק");
inline const QString bankColumnsNoBank = QStringLiteral("יש לכתוב את שם הבנק, כדי שהבחירה תישמר לו");
inline const QString bankColumnsRequired =
    QStringLiteral("יש לבחור את עמודת התאריך, את עמודת התיאור ואת עמודת הסכום, או את עמודות החובה והזכות");
inline const QString bankColumnsAmountTwice =
    QStringLiteral("יש לבחור עמודת סכום אחת, או עמודות חובה וזכות, ולא את שתיהן");
inline const QString bankColumnsTwice = QStringLiteral("העמודה \"%1\" נבחרה לשני תפקידים");
inline const QString statementSubject = QStringLiteral("דף החשבון");
inline const QString statementOpenTitle = QStringLiteral("קליטת דף חשבון");
inline const QString statementFilter =
    QStringLiteral("דפי חשבון (*.xlsx *.xls *.csv *.html *.htm *.dat *.txt);;כל הקבצים (*)");
inline const QString bankLinesHeaders = QStringLiteral("תאריך|תיאור|פרטים|אסמכתא|סכום|נרשם|הצעה|מצב|");
inline const QString bankStatementsHeaders = QStringLiteral("קובץ|בנק|חשבון|מתאריך|עד תאריך|שורות|שורות חדשות|נקלט");
inline const QString bankDone = QStringLiteral("נרשם");
inline const QString bankSure = QStringLiteral("בטוח");
inline const QString bankWaiting = QStringLiteral("ממתין");
inline const QString bankAsideState = QStringLiteral("בצד: %1");
inline const QString bankAsideQuestion =
    QStringLiteral("לשים את השורה בצד, בלי לרשום ממנה דבר? היא לא תמתין עוד לרישום.\n%1\n\nהסיבה:");
inline const QString bankLineAside =
    QStringLiteral("השורה הושמה בצד. כדי לרשום ממנה יש להחזיר אותה להמתנה בלחיצה על \"שים בצד / החזר\".");
inline const QString bankLineSummary = QStringLiteral("אסמכתא %1, תאריך %2, %3, סכום %4");
inline const QString bankAsideSet = QStringLiteral("השורה הושמה בצד");
inline const QString bankAsideCleared = QStringLiteral("השורה חזרה להמתין לרישום");
inline const QString bankAccepted = QStringLiteral("נרשמו %1 שורות מדף החשבון.");
inline const QString bankAcceptedSome = QStringLiteral("נרשמו %1 שורות מדף החשבון; %2 לא נרשמו ונשארו ממתינות.");
inline const QString reconcileTitle = QStringLiteral("התאמת בנק");
inline const QString reconcileAsOf = QStringLiteral("ליום %1");
inline const QString reconcileItem = QStringLiteral("סעיף");
inline const QString reconcileAmount = QStringLiteral("סכום");
inline const QString reconcileDate = QStringLiteral("תאריך");
inline const QString reconcileWords = QStringLiteral("פירוט");
inline const QString reconcileBank = QStringLiteral("יתרה לפי הבנק ליום %1");
inline const QString reconcileBooks = QStringLiteral("יתרה לפי הספרים ליום %1");
inline const QString reconcileDifference = QStringLiteral("הפרש (בנק פחות ספרים)");
inline const QString reconcileBankOnly = QStringLiteral("בבנק ולא בספרים");
inline const QString reconcileBooksOnly = QStringLiteral("בספרים ולא בבנק");
inline const QString reconcileUnexplained = QStringLiteral("הפרש שאינו מוסבר");
inline const QString reconcileUnknown = QStringLiteral("לא ידועה");
inline const QString reconcilePayment = QStringLiteral("תשלום, דירה %1");
inline const QString reconcileExpense = QStringLiteral("הוצאה, %1");
inline const QString bankAllIn = QStringLiteral("כל %1 השורות של דף החשבון כבר היו בספרים: לא נוסף דבר.");

} // namespace domiva::texts
