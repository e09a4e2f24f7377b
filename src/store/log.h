#pragma once
// The store's diagnostics: silent unless enabled (QT_LOGGING_RULES=
// "domiva.store.debug=true"), but for what is critical.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(domivaStore)
