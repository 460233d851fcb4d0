#include "platform/core/variant.h"

#include "platform/base/exceptions.h"
#include "dates/datetimetext.h"
#include "platform/base/numtext.h"

#include <cmath>
#include <limits>

namespace {

EVariantError conversionError() {
    return EVariantError(QStringLiteral("Ungültige Variant-Typumwandlung"));
}

double textToNumber(const QString &text) {
    try {
        return static_cast<double>(StrToFloat(text));
    } catch (const EConvertError &) {
        throw conversionError();
    }
}

} // namespace

TVariant TVariant::FromDateTime(double serial) {
    TVariant v;
    v.FType = varDate;
    v.FDouble = serial;
    return v;
}

bool TVariant::AsBoolean() const {
    switch (FType) {
    case varEmpty:
        return false;
    case varBoolean:
        return FBoolean;
    case varInteger:
        return FInteger != 0;
    case varDouble:
    case varDate:
        return FDouble != 0;
    case varString:
        if (FString.compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0) return true;
        if (FString.compare(QStringLiteral("FALSE"), Qt::CaseInsensitive) == 0) return false;
        return textToNumber(FString) != 0;
    }
    return false;
}

qint32 TVariant::AsInteger() const {
    if (FType == varInteger) return FInteger;
    if (FType == varString) {
        try {
            return StrToInt(FString);
        } catch (const EConvertError &) {
            // not a plain integer: try it as a number with a fraction
        }
    }
    const double rounded = std::nearbyint(AsFloat());
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max()))
        throw conversionError();
    return static_cast<qint32>(rounded);
}

double TVariant::AsFloat() const {
    switch (FType) {
    case varEmpty:
        return 0;
    case varBoolean:
        return FBoolean ? 1 : 0;
    case varInteger:
        return FInteger;
    case varDouble:
    case varDate:
        return FDouble;
    case varString:
        return textToNumber(FString);
    }
    return 0;
}

double TVariant::AsDateTime() const {
    if (FType != varString) return AsFloat();
    try {
        return StrToDateTime(FString);
    } catch (const EConvertError &) {
        throw conversionError();
    }
}

QString TVariant::AsString() const {
    switch (FType) {
    case varEmpty:
        return {};
    case varBoolean:
        return FBoolean ? QStringLiteral("True") : QStringLiteral("False");
    case varInteger:
        return QString::number(FInteger);
    case varDouble:
        return FloatToStr(FDouble);
    case varDate:
        try {
            return DateTimeToStr(FDouble);
        } catch (const EConvertError &) {
            throw conversionError();
        }
    case varString:
        return FString;
    }
    return {};
}

bool TVariant::operator==(const TVariant &other) const {
    if (FType == varEmpty && other.FType == varEmpty) return true;
    const TVarType type = FType == varEmpty ? other.FType : FType;
    const TVarType otherType = other.FType == varEmpty ? FType : other.FType;
    if (type == varString && otherType == varString) return AsString() == other.AsString();
    if (type == varBoolean || otherType == varBoolean) return AsBoolean() == other.AsBoolean();
    return AsFloat() == other.AsFloat();
}
