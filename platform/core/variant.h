#pragma once
// A small tagged value (empty, Boolean, 32-bit integer, double, date-time, text) with the
// conversions the settings store relies on: text converts to numbers by the user's locale,
// empty converts to 0, false and empty text, and a failed conversion raises EVariantError
// "Ungültige Variant-Typumwandlung".

#include <QString>

enum TVarType { varEmpty, varBoolean, varInteger, varDouble, varDate, varString };

class TVariant {
public:
    TVariant() = default;
    TVariant(bool value) : FType(varBoolean), FBoolean(value) {}
    TVariant(qint32 value) : FType(varInteger), FInteger(value) {}
    TVariant(double value) : FType(varDouble), FDouble(value) {}
    TVariant(const QString &value) : FType(varString), FString(value) {}
    TVariant(const char *value) : TVariant(QString::fromUtf8(value)) {}
    // A date serial: days since 30 December 1899, the time of day in the fraction.
    static TVariant FromDateTime(double serial);

    TVarType VarType() const { return FType; }
    bool IsEmpty() const { return FType == varEmpty; }

    // Numbers are true when not 0; text "TRUE"/"FALSE" in any case, or a number.
    bool AsBoolean() const;
    // Fractions round to the nearest integer, ties to even; out of range fails.
    qint32 AsInteger() const;
    double AsFloat() const;
    double AsDateTime() const;
    // true and false give "True" and "False", doubles their general text, dates the locale
    // date-and-time text.
    QString AsString() const;

    // Equal after converting to a common type: an empty side takes the other side's empty
    // value, a Boolean side compares as Boolean, two texts compare as texts, anything else
    // as numbers (so text is read as a number and may raise EVariantError).
    bool operator==(const TVariant &other) const;

private:
    TVarType FType = varEmpty;
    bool FBoolean = false;
    qint32 FInteger = 0;
    double FDouble = 0; // the double or the date serial
    QString FString;
};
