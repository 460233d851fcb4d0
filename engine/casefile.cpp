#include "engine/casefile.h"

#include "platform/base/files.h"
#include "platform/base/fixedpoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <functional>
#include <type_traits>

namespace {

// The reason for each of the parser's errors.
TErrorText syntaxReason(QJsonParseError::ParseError error) {
    switch (error) {
    case QJsonParseError::UnterminatedObject:
        return TErrorText::JsonUnterminatedObject;
    case QJsonParseError::MissingNameSeparator:
        return TErrorText::JsonMissingNameSeparator;
    case QJsonParseError::UnterminatedArray:
        return TErrorText::JsonUnterminatedArray;
    case QJsonParseError::MissingValueSeparator:
        return TErrorText::JsonMissingValueSeparator;
    case QJsonParseError::IllegalValue:
        return TErrorText::JsonIllegalValue;
    case QJsonParseError::TerminationByNumber:
        return TErrorText::JsonTerminationByNumber;
    case QJsonParseError::IllegalNumber:
        return TErrorText::JsonIllegalNumber;
    case QJsonParseError::IllegalEscapeSequence:
        return TErrorText::JsonIllegalEscapeSequence;
    case QJsonParseError::IllegalUTF8String:
        return TErrorText::JsonIllegalUtf8String;
    case QJsonParseError::UnterminatedString:
        return TErrorText::JsonUnterminatedString;
    case QJsonParseError::MissingObject:
        return TErrorText::JsonMissingObject;
    case QJsonParseError::DeepNesting:
        return TErrorText::JsonDeepNesting;
    case QJsonParseError::DocumentTooLarge:
        return TErrorText::JsonDocumentTooLarge;
    case QJsonParseError::GarbageAtEnd:
        return TErrorText::JsonGarbageAtEnd;
    case QJsonParseError::NoError:
        break;
    }
    return TErrorText::JsonOther;
}

// The file's name of each value, in the order a fault lists them; the reader and the writer
// share them.
template <typename T> using TNamed = std::pair<const char *, T>;
constexpr TNamed<TLaw> LawNames[] = {{"de", lwGermany}, {"at", lwAustria}, {"ch", lwSwitzerland}};
// "30360ch" a name of its own, so that a file means one day count whatever its law.
constexpr TNamed<TDayCount> DayCountNames[] = {{"30360ch", dc30360Swiss},
                                               {"taggenau", dcActual365},
                                               {"actact", dcActualActual},
                                               {"act360", dcActual360},
                                               {"30360", dc30360}};
constexpr TNamed<TAllocationRule> AllocationNames[] = {
    {"367", arBgb367}, {"497", arBgb497}, {"1416", arAbgb1416}, {"85", arOr85}};
// A rate the law fixes (§ 246 BGB, § 352 HGB) is written as the fixed rate it is.
constexpr TNamed<TRateKind> RuleNames[] = {{"verbraucher", rkConsumer},
                                           {"unternehmer", rkNoConsumer},
                                           {"aufschlag", rkMargin},
                                           {"satz", rkFixed}};

// The value's name; `fallback`'s for a value without one.
template <typename T, std::size_t N>
QLatin1String nameOf(const TNamed<T> (&names)[N], T value, T fallback) {
    for (const auto &[name, named] : names)
        if (named == value) return QLatin1String(name);
    return value == fallback ? QLatin1String() : nameOf(names, fallback, fallback);
}

int lineAt(const QByteArray &data, qsizetype offset) {
    return int(data.left(offset).count('\n')) + 1;
}

// Reads one object's keys; the first fault it meets is kept, with the place it was found: the
// entry of a list, and the key of the object it is read from.
class TReader {
public:
    TReader(const QJsonObject &object, std::optional<TErrorEntry> entry = std::nullopt,
            const char *key = nullptr)
        : FObject(object), FEntry(entry), FKey(key) {}

    bool Has(const char *key) const { return FObject.contains(QLatin1String(key)); }
    QJsonValue Value(const char *key) const { return FObject.value(QLatin1String(key)); }

    QString Text(const char *key, bool required = false) {
        const QJsonValue value = FObject.value(QLatin1String(key));
        if (value.isUndefined()) {
            if (required) Fail(key, TErrorText::KeyMissing);
            return {};
        }
        if (!value.isString()) Fail(key, TErrorText::KeyNotText);
        return value.toString();
    }
    bool Flag(const char *key) {
        const QJsonValue value = FObject.value(QLatin1String(key));
        if (value.isUndefined()) return false;
        if (!value.isBool()) Fail(key, TErrorText::KeyNotFlag);
        return value.toBool();
    }
    TDateTime Date(const char *key) {
        const QString text = Text(key, true);
        if (!FError) {
            if (const std::optional<TDateTime> day = ParseIsoDate(text)) return *day;
            Fail(key, TErrorText::KeyNotDate, {text});
        }
        return EmptyDate;
    }
    // "4250.00": digits, at most two decimals after a point, optionally a sign.
    qint64 Hundredths(const char *key, const char *example) {
        const QString text = Text(key, true);
        if (FError) return 0;
        qint64 value = 0;
        if (readHundredths(text, value)) return value;
        Fail(key, TErrorText::KeyNotNumber, {text, QString::fromLatin1(example)});
        return 0;
    }
    QJsonObject Object(const char *key) {
        const QJsonValue value = FObject.value(QLatin1String(key));
        if (!value.isObject())
            Fail(key, value.isUndefined() ? TErrorText::KeyMissing : TErrorText::KeyNotObject);
        return value.toObject();
    }
    QJsonArray List(const char *key) {
        const QJsonValue value = FObject.value(QLatin1String(key));
        if (!value.isUndefined() && !value.isArray()) Fail(key, TErrorText::KeyNotList);
        return value.toArray();
    }
    // `offered` picks the values a fault names; every value of `choices` is read.
    template <typename T, std::size_t N>
    T Choice(const char *key, const TNamed<T> (&choices)[N], T fallback, bool required,
             const std::type_identity_t<std::function<bool(T)>> &offered = {}) {
        const QString text = Text(key, required);
        if (FError || (!required && !Has(key))) return fallback;
        QStringList names;
        for (const auto &[name, value] : choices) {
            if (text == QLatin1String(name)) return value;
            if (!offered || offered(value)) names.append(QLatin1String(name));
        }
        Fail(key, TErrorText::KeyNotChoice, {text, TErrorChoices{names}});
        return fallback;
    }

    void Fail(const char *key, TErrorText text, std::vector<TErrorArgument> arguments = {}) {
        if (FError) return;
        arguments.insert(arguments.begin(), QString::fromLatin1(key));
        FError = TEngineError(ecFileContent, text, std::move(arguments));
        if (FKey) FError = Around(TErrorText::AtKey, {QString::fromLatin1(FKey)}, FError);
        if (FEntry) FError = Around(TErrorText::AtEntry, {*FEntry}, FError);
    }
    const TEngineError &Error() const { return FError; }
    // A nested reader's fault becomes this one's.
    bool Take(const TReader &inner) {
        if (!FError) FError = inner.FError;
        return !FError;
    }
    const std::optional<TErrorEntry> &Entry() const { return FEntry; }

private:
    static bool readHundredths(const QString &text, qint64 &value) {
        qsizetype at = 0;
        const bool negative = text.startsWith(u'-');
        if (negative) ++at;
        qint64 whole = 0;
        int digits = 0, decimals = -1;
        qint64 fraction = 0;
        for (; at < text.size(); ++at) {
            const QChar c = text[at];
            if (c == u'.' && decimals < 0 && digits > 0) {
                decimals = 0;
                continue;
            }
            if (c < u'0' || c > u'9') return false;
            if (decimals >= 0) {
                if (++decimals > 2) return false;
                fraction = fraction * 10 + (c.unicode() - u'0');
            } else {
                if (++digits > 15) return false;
                whole = whole * 10 + (c.unicode() - u'0');
            }
        }
        if (digits == 0 || decimals == 0) return false;
        if (decimals == 1) fraction *= 10;
        value = (whole * 100 + fraction) * (negative ? -1 : 1);
        return true;
    }

    QJsonObject FObject;
    std::optional<TErrorEntry> FEntry;
    const char *FKey;
    TEngineError FError;
};

// The key of the flag of an older business claim: Germany's claim before 29.07.2014, Austria's
// contract before 16.03.2013.
const char *olderLawKey(TLaw law) {
    return law == lwAustria ? "vor_2013" : "vor_2014";
}

TRateRule readRule(TReader &owner, const char *key, TLaw law) {
    TReader reader(owner.Object(key), owner.Entry(), key);
    TRateRule rule;
    if (owner.Error()) return rule;
    rule.Kind = reader.Choice("regel", RuleNames, rkConsumer, true);
    const bool older = rule.Kind == rkNoConsumer && reader.Flag(olderLawKey(law));
    (law == lwAustria ? rule.ContractBefore16032013 : rule.ClaimBefore29072014) = older;
    if (rule.Kind == rkMargin || rule.Kind == rkFixed)
        rule.Value = TBasisPoints(reader.Hundredths("wert", "5.00"));
    owner.Take(reader);
    return rule;
}

// Each entry of the list, read by `read` through a reader that names its place; `objects` gets
// the entries as they stand. The first fault, of an entry that is no object or of a key, stops.
template <typename T>
TEngineError readList(TReader &owner, const char *key, TErrorText noObject, TEntryKind kind,
                      std::vector<QJsonObject> &objects, std::vector<T> &items,
                      const std::function<void(TReader &, T &)> &read) {
    const QJsonArray list = owner.List(key);
    for (qsizetype i = 0; i < list.size() && !owner.Error(); ++i) {
        if (!list[i].isObject()) owner.Fail(key, noObject, {TErrorCount{i + 1}});
        objects.push_back(list[i].toObject());
    }
    if (owner.Error()) return owner.Error();
    for (size_t i = 0; i < objects.size(); ++i) {
        TReader entry(objects[i], TErrorEntry{kind, int(i) + 1});
        T item;
        read(entry, item);
        if (entry.Error()) return entry.Error();
        items.push_back(std::move(item));
    }
    return {};
}

// JSON text of our own, so that the documented keys stand first and in their order.
class TWriter {
public:
    void Open() { Begin('{'); }
    void Close() { End('}'); }
    void OpenList(const char *key) {
        Key(QLatin1String(key));
        Begin('[');
    }
    void CloseList() { End(']'); }
    void Item() {
        if (!FFirst) FText += ',';
        NewLine();
        FFirst = true;
    }
    void Key(QLatin1String key) { Key(QString(key)); }
    void Key(const QString &key) {
        if (!FFirst) FText += ',';
        NewLine();
        String(key);
        FText += ": ";
        FFirst = true;
    }
    void Text(const char *key, const QString &value) {
        Key(QLatin1String(key));
        String(value);
        FFirst = false;
    }
    void Raw(const char *key, const QByteArray &value) {
        Key(QLatin1String(key));
        FText += value;
        FFirst = false;
    }
    // Keys the program does not know, as they were read.
    void Unknown(const QJsonObject &object, std::initializer_list<const char *> known) {
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (std::any_of(known.begin(), known.end(),
                            [&](const char *k) { return it.key() == QLatin1String(k); }))
                continue;
            Key(it.key());
            Value(it.value());
            FFirst = false;
        }
    }
    QByteArray Done() { return FText + '\n'; }

private:
    void Begin(char bracket) {
        FText += bracket;
        FFirst = true;
        ++FDepth;
    }
    void End(char bracket) {
        --FDepth;
        if (!FFirst) NewLine();
        FText += bracket;
        FFirst = false;
    }
    void NewLine() {
        FText += '\n';
        FText += QByteArray(2 * FDepth, ' ');
    }
    void String(const QString &text) {
        FText += '"';
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u == u'"' || u == u'\\') {
                FText += '\\';
                FText += char(u);
            } else if (u == u'\n') {
                FText += "\\n";
            } else if (u == u'\t') {
                FText += "\\t";
            } else if (u == u'\r') {
                FText += "\\r";
            } else if (u < 0x20) {
                FText += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
            } else {
                FText += QString(c).toUtf8();
            }
        }
        FText += '"';
    }
    void Value(const QJsonValue &value) {
        if (value.isObject()) {
            Open();
            Unknown(value.toObject(), {});
            Close();
        } else if (value.isArray()) {
            Begin('[');
            for (const QJsonValue &item : value.toArray()) {
                Item();
                Value(item);
                FFirst = false;
            }
            CloseList();
        } else if (value.isString()) {
            String(value.toString());
        } else {
            // true, false, null and numbers as the parser would write them.
            FText +=
                QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
        }
    }

    QByteArray FText;
    int FDepth = 0;
    bool FFirst = true;
};

QString hundredthsText(qint64 value) {
    return HundredthsText(value, u'.');
}

// Each item an object: what `write` writes, then the keys of the entry as read (`read`, where
// there is one) that the program does not know.
template <typename T>
void writeList(TWriter &w, const char *key, const std::vector<T> &items,
               const std::vector<QJsonObject> &read, std::initializer_list<const char *> known,
               const std::function<void(const T &, const QJsonObject &)> &write) {
    w.OpenList(key);
    for (size_t i = 0; i < items.size(); ++i) {
        const QJsonObject entry = i < read.size() ? read[i] : QJsonObject();
        w.Item();
        w.Open();
        write(items[i], entry);
        w.Unknown(entry, known);
        w.Close();
    }
    w.CloseList();
}

// `read` is the entry as it was read, whose rule may hold keys the program does not know.
void writeRule(TWriter &w, const TRateRule &rule, const QJsonObject &read, TLaw law) {
    w.Key(QLatin1String("zins"));
    w.Open();
    const TRateKind kind = UsesBaseRate(rule) ? rule.Kind : rkFixed;
    w.Text("regel", nameOf(RuleNames, kind, rkFixed));
    if (kind == rkNoConsumer)
        w.Raw(olderLawKey(law),
              (law == lwAustria ? rule.ContractBefore16032013 : rule.ClaimBefore29072014)
                  ? "true"
                  : "false");
    else if (kind != rkConsumer)
        w.Text("wert", hundredthsText(kind == rkMargin ? rule.Value : FixedRateOf(rule, law)));
    w.Unknown(read.value(QLatin1String("zins")).toObject(), {"regel", olderLawKey(law), "wert"});
    w.Close();
}

} // namespace

TEngineError ReadCaseFile(const QByteArray &data, TDateTime today, TCaseFile &file) {
    const auto fault = [](TErrorText text, std::vector<TErrorArgument> arguments = {}) {
        return TEngineError(ecFileContent, text, std::move(arguments));
    };
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parse);
    if (parse.error != QJsonParseError::NoError) {
        const int line = lineAt(data, parse.offset);
        return TEngineError(ecFileContent, TErrorText::CaseFileSyntax,
                            {TErrorCount{line}, Phrase(syntaxReason(parse.error))}, QString(),
                            line);
    }
    if (!document.isObject()) return fault(TErrorText::CaseFileNoObject);
    const QJsonObject root = document.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String(CaseFileFormat))
        return fault(TErrorText::CaseFileFormat, {QString::fromLatin1(CaseFileFormat)});
    const QJsonValue version = root.value(QLatin1String("version"));
    if (!version.isDouble() || version.toDouble() != double(version.toInt()) || version.toInt() < 1)
        return fault(TErrorText::CaseFileVersion);
    if (version.toInt() > CaseFileVersion)
        return fault(TErrorText::CaseFileNewer,
                     {TErrorCount{version.toInt()}, TErrorCount{CaseFileVersion}});

    TCaseFile read;
    read.Unknown = root;
    TReader top(root);
    read.Name = top.Text("bezeichnung");
    read.Reference = top.Text("aktenzeichen");
    read.Creditor = top.Text("glaeubiger");
    read.Debtor = top.Text("schuldner");
    read.StatementDayIsToday = !top.Has("stichtag");
    TClaimsCase &c = read.Case;
    c.StatementDay = read.StatementDayIsToday ? today : top.Date("stichtag");
    const TLaw law = c.Law = top.Choice("recht", LawNames, lwGermany, false);
    // Every name is read under every law; a combination the law does not offer is the
    // statement's error, so that the file opens and the window can mend it.
    c.DayCount = top.Choice("tageszaehlung", DayCountNames, DefaultDayCount(law), false,
                            [law](TDayCount count) { return DayCountOffered(law, count); });
    c.Allocation = top.Choice("verrechnung", AllocationNames, DefaultAllocation(law), false,
                              [law](TAllocationRule rule) { return AllocationOffered(law, rule); });
    if (top.Error()) return top.Error();

    TEngineError error =
        readList<TClaim>(top, "forderungen", TErrorText::KeyNoClaimObject, TEntryKind::Claim,
                         read.UnknownOfClaims, c.Claims, [law](TReader &entry, TClaim &claim) {
                             claim.Name = entry.Text("bezeichnung");
                             claim.Amount = entry.Hundredths("betrag", "4250.00");
                             claim.FirstDay = entry.Date("zinsbeginn");
                             claim.Rule = readRule(entry, "zins", law);
                             claim.FlatFee = entry.Flag("pauschale");
                             claim.Sued = entry.Flag("eingeklagt");
                         });
    if (!error)
        error = readList<TCost>(top, "kosten", TErrorText::KeyNoCostObject, TEntryKind::Cost,
                                read.UnknownOfCosts, c.Costs, [law](TReader &entry, TCost &cost) {
                                    cost.Name = entry.Text("bezeichnung");
                                    cost.Amount = entry.Hundredths("betrag", "36.00");
                                    cost.Date = entry.Date("datum");
                                    cost.BearsInterest =
                                        entry.Has("zinsbeginn") || entry.Has("zins");
                                    if (!cost.BearsInterest) return;
                                    cost.FirstDay = entry.Date("zinsbeginn");
                                    cost.Rule = readRule(entry, "zins", law);
                                });
    if (!error)
        error = readList<TPayment>(
            top, "zahlungen", TErrorText::KeyNoPaymentObject, TEntryKind::Payment,
            read.UnknownOfPayments, c.Payments, [](TReader &entry, TPayment &payment) {
                payment.Date = entry.Date("datum");
                payment.Amount = entry.Hundredths("betrag", "1000.00");
                if (!entry.Has("forderung")) return;
                const QJsonValue number = entry.Value("forderung");
                if (!number.isDouble() || number.toDouble() != double(number.toInt()) ||
                    number.toInt() < 1)
                    entry.Fail("forderung", TErrorText::KeyNoClaimNumber);
                payment.Claim = number.toInt() - 1;
            });
    if (error) return error;
    file = std::move(read);
    return {};
}

QByteArray WriteCaseFile(const TCaseFile &file) {
    const TClaimsCase &c = file.Case;
    TWriter w;
    w.Open();
    w.Text("format", QLatin1String(CaseFileFormat));
    w.Raw("version", QByteArray::number(CaseFileVersion));
    w.Text("bezeichnung", file.Name);
    if (!file.Reference.isEmpty()) w.Text("aktenzeichen", file.Reference);
    if (!file.Creditor.isEmpty()) w.Text("glaeubiger", file.Creditor);
    if (!file.Debtor.isEmpty()) w.Text("schuldner", file.Debtor);
    if (!file.StatementDayIsToday) w.Text("stichtag", FormatIsoDate(c.StatementDay));
    if (c.Law != lwGermany) w.Text("recht", nameOf(LawNames, c.Law, lwGermany));
    w.Text("tageszaehlung", nameOf(DayCountNames, c.DayCount, dcActual365));
    w.Text("verrechnung", nameOf(AllocationNames, c.Allocation, arBgb367));
    writeList<TClaim>(w, "forderungen", c.Claims, file.UnknownOfClaims,
                      {"bezeichnung", "betrag", "zinsbeginn", "zins", "pauschale", "eingeklagt"},
                      [&](const TClaim &claim, const QJsonObject &read) {
                          w.Text("bezeichnung", claim.Name);
                          w.Text("betrag", hundredthsText(claim.Amount));
                          w.Text("zinsbeginn", FormatIsoDate(claim.FirstDay));
                          writeRule(w, claim.Rule, read, c.Law);
                          w.Raw("pauschale", claim.FlatFee ? "true" : "false");
                          if (claim.Sued) w.Raw("eingeklagt", "true");
                      });
    writeList<TCost>(w, "kosten", c.Costs, file.UnknownOfCosts,
                     {"bezeichnung", "betrag", "datum", "zinsbeginn", "zins"},
                     [&](const TCost &cost, const QJsonObject &read) {
                         w.Text("bezeichnung", cost.Name);
                         w.Text("betrag", hundredthsText(cost.Amount));
                         w.Text("datum", FormatIsoDate(cost.Date));
                         if (!cost.BearsInterest) return;
                         w.Text("zinsbeginn", FormatIsoDate(cost.FirstDay));
                         writeRule(w, cost.Rule, read, c.Law);
                     });
    writeList<TPayment>(w, "zahlungen", c.Payments, file.UnknownOfPayments,
                        {"datum", "betrag", "forderung"},
                        [&](const TPayment &payment, const QJsonObject &) {
                            w.Text("datum", FormatIsoDate(payment.Date));
                            w.Text("betrag", hundredthsText(payment.Amount));
                            if (payment.Claim >= 0)
                                w.Raw("forderung", QByteArray::number(payment.Claim + 1));
                        });
    w.Unknown(file.Unknown, {"format", "version", "bezeichnung", "aktenzeichen", "glaeubiger",
                             "schuldner", "stichtag", "recht", "tageszaehlung", "verrechnung",
                             "forderungen", "kosten", "zahlungen"});
    w.Close();
    return w.Done();
}

TEngineError LoadCaseFile(const QString &path, TDateTime today, TCaseFile &file) {
    const TFileRead read = ReadWholeFile(path);
    if (read.Status == TReadStatus::Missing)
        return TEngineError(ecFile, TErrorText::FileMissing, {TErrorFile{path}}, path);
    if (!read)
        return TEngineError(ecFile, TErrorText::FileUnreadable, {TErrorFile{path}, read.Reason},
                            path);
    TEngineError error = ReadCaseFile(read.Data, today, file);
    if (!error) return error;
    error = Around(TErrorText::CaseFileBroken, {TErrorFile{path}}, error);
    error.File = path;
    return error;
}

TEngineError SaveCaseFile(const QString &path, const TCaseFile &file) {
    if (const QString reason = ReplaceFile(path, WriteCaseFile(file)); !reason.isEmpty())
        return TEngineError(ecFile, TErrorText::FileNotSaved, {TErrorFile{path}, reason}, path);
    return {};
}
