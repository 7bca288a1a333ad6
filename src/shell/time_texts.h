#pragma once
// Time and number texts of the results list and the messages.
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace shell {

QString clockTimeWithSeconds(const QDateTime& now);  // "14:05:09 h"
QString clockPrefix(const QDateTime& now);           // "14:05 h - "
QString completionStamp(const QDateTime& now);       // " at 14:05 h - 12/06/2026"
QString fileNameStamp(const QDateTime& now);         // "06_12_2026_14_05h"

// Elapsed seconds with three decimals, computed in single precision.
QString elapsedSeconds(int64_t elapsedMs);
// "Done in " + seconds + " s" + completion stamp.
QString completionLine(int64_t elapsedMs, const QDateTime& now);

// 78000000 -> "78,000,000".
QString withThousands(int64_t value);

}  // namespace shell
