#pragma once
#include <QColor>
#include <QFont>

namespace domiva {

// How one part of a printout is set: its font, its text's colour and its
// background (none when transparent).
struct ReportStyle {
  QFont font;
  QColor text = Qt::black;
  QColor background = Qt::transparent;
};

// The fonts the printouts ask for, with the Hebrew Culmus faces standing in
// for the Windows ones; Qt falls back to the system font when one is missing.
QFont reportFont(const QString &windowsFamily, qreal points, bool bold = false, bool underline = false);

} // namespace domiva
