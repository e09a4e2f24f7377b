#pragma once
#include <QString>

namespace domiva {
// `text` kept left to right inside right-to-left text, in Unicode isolates:
// a minus stays before its digits, a phone number and an e-mail address in
// their order ("+972-58-1112233").
inline QString leftToRight(const QString &text) { return text.isEmpty() ? text : QChar(0x2066) + text + QChar(0x2069); }
} // namespace domiva
