#!/usr/bin/env python3
# Writes the synthetic bank statements the bank suite reads: one file per
# layout the banks export, in the encodings and containers they use. No
# real person's file: every name, account and amount here is made up.
# Run it again after changing a statement: python3 tools/bankfixtures.py
import os
import zipfile
from xml.sax.saxutils import escape

NBSP = "\u00a0"
os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "bank"))


def xlsx(name, sheet, rows):
    """rows: lists of cells; a str is a shared string, ('i', str) an inline
    string, a number a number (a date as its day number)."""
    shared, xml_rows = [], []
    for r, row in enumerate(rows, 1):
        cells = []
        for c, value in enumerate(row):
            ref = chr(ord("A") + c) + str(r)
            if value is None or value == "":
                continue
            if isinstance(value, tuple):
                cells.append(f'<c r="{ref}" t="inlineStr"><is><t>{escape(value[1])}</t></is></c>')
            elif isinstance(value, str):
                if value not in shared:
                    shared.append(value)
                cells.append(f'<c r="{ref}" t="s"><v>{shared.index(value)}</v></c>')
            else:
                cells.append(f'<c r="{ref}"><v>{value!r}</v></c>')
        xml_rows.append(f'<row r="{r}">{"".join(cells)}</row>')
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
    with zipfile.ZipFile(name, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>')
        z.writestr("xl/workbook.xml", f'<?xml version="1.0"?><workbook {ns} xmlns:r="{rel}"><sheets>'
                   f'<sheet name="{sheet}" sheetId="1" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels", '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   f'<Relationship Id="rId1" Type="{rel}/worksheet" Target="worksheets/sheet1.xml"/></Relationships>')
        z.writestr("xl/sharedStrings.xml", f'<?xml version="1.0"?><sst {ns}>' +
                   "".join(f"<si><t>{escape(s)}</t></si>" for s in shared) + "</sst>")
        z.writestr("xl/worksheets/sheet1.xml", f'<?xml version="1.0"?><worksheet {ns}><sheetData>{"".join(xml_rows)}</sheetData></worksheet>')


def html(name, rows, encoding="utf-8", head="", header_cell="td"):
    out = [f"<html><head>{head}</head><body><table>"]
    for i, row in enumerate(rows):
        tag = header_cell if i == 0 else "td"
        out.append("<tr>" + "".join(f"<{tag}>{escape(c) if c else '&nbsp;'}</{tag}>" for c in row) + "</tr>")
    out.append("</table></body></html>")
    open(name, "wb").write("\n".join(out).encode(encoding))


def text(name, lines, encoding, bom=False):
    open(name, "wb").write((b"\xef\xbb\xbf" if bom else b"") + "\r\n".join(lines).encode(encoding) + b"\r\n")


def day(d, m, y):  # a spreadsheet's day number
    import datetime
    return (datetime.date(y, m, d) - datetime.date(1899, 12, 30)).days


# Leumi's web export: a page saved as .xls, its header at row 13.
preamble = [["בנק לאומי"], ["מספר חשבון: 12-345-678901"]] + [[""]] * 10
html("leumi.xls", preamble + [
    ["תאריך", "תאריך ערך", "תיאור", "אסמכתא", "בחובה", "בזכות", 'היתרה בש"ח', "תאור מורחב", "הערה"],
    ["05/01/2026", "05/01/2026", "העברה", "1001", "", "350.00", "10,350.00", "העברה מאת: כהן משה", ""],
    ["06/01/2026", "06/01/2026", "עמלה", "0", "12.50", "", "10,337.50", "", ""],
    ["10/01/2026", "11/01/2026", "הוראת קבע", "2002", "1,200.00", "", "9,137.50", "חברת חשמל", "ינואר"],
    ["12/01/2026", "12/01/2026", "העברה", "1003", "", "350.00", "9,487.50", "העברה מאת: לוי רות", ""],
    ["12/01/2026", "12/01/2026", "העברה", "1003", "", "350.00", "9,837.50", "העברה מאת: לוי רות", ""],
    ["", "", 'סה"כ', "", "1,212.50", "1,050.00", "", "", ""],
])
# Its older page: six cells, two-digit years, headers as <th>.
html("leumi-old.xls", [
    ["תאריך", "תיאור", "אסמכתא", "בחובה", "בזכות", 'היתרה בש"ח'],
    ["03/02/25", "שיק", "77", "450.75", "", "1,000.00"],
    ["04/02/25", "הפקדה", "78", "", "0.10", "1,000.10"],
], header_cell="th")
# Its old text export: code page 862, Hebrew in visual order, no header.
text("leumi.dat", [
    "1001,050126,ןהכ השמ תאמ הרבעה,+000000350.00,+000010350.00,120,345678901",
    "5003,060126,123 קיש,-000001200.50,+000009149.50,300,345678901",
], "cp862")
# Hapoalim's spreadsheet: the header at row 6, dates as day numbers.
xlsx("hapoalim.xlsx", "גיליון1", [["בנק הפועלים"], ["חשבון 12-600-123456"], [], [], [],
    ["תאריך", "קוד פעולה", "הפעולה", "פרטים", "אסמכתא", "צרור", "חובה", "זכות", "יתרה בש''ח", "הערה"],
    [day(1, 3, 2026), 480, "העברה", "מאת פרץ דנה דירה 4", 31, "", "", 320, 5320, ""],
    [day(2, 3, 2026), 120, "עמלת ערוץ", "", 32, "", 1234.5600000000002, "", 4085.44, "עמלה"],
    ["", "", 'סה"כ', "", "", "", 1234.56, 320, "", ""]])
# Its older web page: ISO-8859-8, seven cells, empty ones a non-breaking space.
html("hapoalim-old.html", [
    ["תאריך", "הפעולה", "פרטים", "אסמכתא", "חובה", "זכות", "יתרה"],
    ["15/03/2025", "הפקדת שיקים", "", "9", "", "1,500.00", "2,500.00"],
    ["16/03/2025", "משיכה", "", "10", "200.00", "", "2,300.00"],
], encoding="iso-8859-8", head='<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-8">')
# Discount: one signed column, its header with a space after it, at row 9.
xlsx("discount.xlsx", "עובר ושב", [["דיסקונט"]] + [[]] * 7 + [
    ["תאריך", "יום ערך", "תיאור התנועה", "₪ זכות/חובה ", "₪ יתרה "],
    [("i", "01/04/2026"), ("i", "02/04/2026"), "העב' מאת אלון יעל", 350, 700],
    [("i", "03/04/2026"), ("i", "03/04/2026"), "ניקיון בניין", -600.5, 99.5]])
# First International: no balance, the value date first, at row 6.
xlsx("fibi.xlsx", "Sheet1", [[], [], [], [], [],
    ["תאריך ערך", "זכות", "חובה", "תאור", "אסמכתא", "תאריך ביצוע"],
    [day(6, 5, 2026), 250, "", "העברה מבנק אחר", 5, day(5, 5, 2026)],
    [day(8, 5, 2026), "", 99.9, "ביטוח מבנה", 6, day(8, 5, 2026)]])
# Jerusalem: CSV in Windows-1255, at row 5.
text("jerusalem.csv", ["בנק ירושלים,,,,,", ",,,,,", ",,,,,", ",,,,,",
    "תאריך,תיאור,אסמכתא,חובה,זכות,יתרה",
    '07.06.2026,הפקדה,11,,"1,050.00","3,050.00"',
    "08.06.2026,גינון,12,300,,2750"], "cp1255")
# Mizrahi: a web page, amounts only.
html("mizrahi.html", [["תאריך", "סוג תנועה", "חובה", "זכות"],
    ["01/07/2026", "זיכוי מלאומי", "", "640.00"], ["02/07/2026", "חיוב מים", "180.40", ""]])
# Yahav: UTF-8 with its mark, the value date alone.
text("yahav.csv", ["תאריך ערך,תיאור פעולה,זכות(₪),חובה(₪)", "010826,הפקדה במזומן,500,",
    "020826,תיקון מעלית,,1200"], "utf-8", bom=True)
# The postal bank.
xlsx("Movement.xlsx", "Movement", [["תאריך תמצית", "תאור פעולה", "זכות", "חובה"],
    [("i", "2026-09-01"), "העברה מקוונת", 280, ""], [("i", "2026-09-02"), "עמלת פעולה", "", 3.5]])
# A bank the program does not know: its columns named by the user, once.
text("unknown.csv", ["דף תנועות - חשבון 55-1234", "יום,פירוט הפעולה,מספר,סכום התנועה,יתרה לאחר",
    "03/02/2026,העברה מאת ישראלי דנה,501,280.00,10280.00", "05/02/2026,חברת הניקיון,502,-450.50,9829.50"], "utf-8")

# Files that are no statement, each refused.
open("empty.csv", "wb").write(b"\r\n")
text("notes.txt", ["רשימת קניות", "חלב, לחם"], "utf-8")
open("damaged.xlsx", "wb").write(b"PK\x03\x04" + b"\x00" * 200)
open("old.xls", "wb").write(b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + b"\x00" * 200)
text("bad-amount.csv", ["תאריך,תיאור,אסמכתא,חובה,זכות,יתרה", "07/06/2026,הפקדה,11,,1;050,3050"], "utf-8")
text("bad-date.csv", ["תאריך,תיאור,אסמכתא,חובה,זכות,יתרה", "31/02/2026,הפקדה,11,,100,3050"], "utf-8")
text("two-sides.csv", ["תאריך,תיאור,אסמכתא,חובה,זכות,יתרה", "07/06/2026,הפקדה,11,5,100,3050"], "utf-8")
text("headers-only.csv", ["תאריך,תיאור,אסמכתא,חובה,זכות,יתרה", ",סה\"כ,,0,0,"], "utf-8")
