#include "IniValues.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace tavelin {

bool iniBool(const QString& text) {
    return text == QLatin1String("True");
}

QString iniBoolText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<std::int32_t> iniColour(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

QString iniColourText(std::int32_t colour) {
    return QString::number(colour);
}

std::optional<float> iniSingle(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)([eE][+-]?\\d+)?$"));
    QString t = text.trimmed();
    if (!number.match(t).hasMatch()) {
        return std::nullopt;
    }
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
        return std::nullopt;
    }
    return static_cast<float>(value);
}

QString iniSingleText(float value) {
    // A single has about seven significant digits; more would show the
    // binary's noise (9.75 stays 9.75, 0.1 does not become 0.100000001).
    QString text;
    if (value == std::trunc(value) && std::fabs(value) < 1e15F) {
        text = QString::number(static_cast<qlonglong>(value));
    } else {
        text = QString::number(static_cast<double>(value), 'g', 7);
    }
    // The locale's decimal comma is kept; any other separator (the Arabic
    // U+066B, say) would make a number no reader takes back.
    if (QLocale().decimalPoint() == QLatin1String(",")) {
        text.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    return text;
}

} // namespace tavelin
