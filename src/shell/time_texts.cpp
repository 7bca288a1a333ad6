#include "shell/time_texts.h"

namespace shell {

QString clockTimeWithSeconds(const QDateTime& now) { return now.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" h"); }

QString clockPrefix(const QDateTime& now) { return now.toString(QStringLiteral("HH:mm")) + QStringLiteral(" h - "); }

QString completionStamp(const QDateTime& now)
{
    return QStringLiteral(" at ") + now.toString(QStringLiteral("HH:mm")) + QStringLiteral(" h - ") +
           now.toString(QStringLiteral("MM/dd/yyyy"));
}

QString fileNameStamp(const QDateTime& now) { return now.toString(QStringLiteral("dd_MM_yyyy_HH_mm")) + QStringLiteral("h"); }

QString elapsedSeconds(int64_t elapsedMs)
{
    float seconds = static_cast<float>(elapsedMs) / 1000.0f;
    return QString::number(static_cast<double>(seconds), 'f', 3);
}

QString completionLine(int64_t elapsedMs, const QDateTime& now)
{
    return QStringLiteral("Done in ") + elapsedSeconds(elapsedMs) + QStringLiteral(" s") + completionStamp(now);
}

QString withThousands(int64_t value)
{
    QString digits = QString::number(value);
    const int firstDigit = value < 0 ? 1 : 0;
    for (int at = digits.size() - 3; at > firstDigit; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

}  // namespace shell
