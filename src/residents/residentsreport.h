#pragma once
#include <QTextDocument>
#include <memory>

namespace domiva::residents {
// The printed residents list over every resident in apartment order; null
// when there is no resident, as there is nothing to print.
std::unique_ptr<QTextDocument> buildListReport();
} // namespace domiva::residents
