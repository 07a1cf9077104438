#pragma once
// The modal dialog that chooses a UTC span of the station log: "From" and "To" to the
// minute, in UTC.
#include <QString>
#include <optional>

#include "stationlog/log_queries.h"

class QDateTimeEdit;
class QWidget;

namespace fw {

// Both ends of `proposed` are shown; OK is refused while "From" does not lie before "To".
std::optional<LogSpan> RunLogSpanDialog(QWidget* parent, const QString& caption,
                                        const LogSpan& proposed);

// A date/time editor's time as log seconds and back, in UTC.
void SetUtcSeconds(QDateTimeEdit& edit, UtcSeconds t);
UtcSeconds UtcSecondsOfEdit(const QDateTimeEdit& edit);
QDateTimeEdit* NewUtcEdit(QWidget* parent);

}  // namespace fw
