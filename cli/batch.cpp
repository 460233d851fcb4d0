#include "cli/batch.h"

#include "cli/commands.h"

#include <QFile>
#include <QIODevice>

#include <vector>

namespace {

// Large reads keep a million short rows from costing a million system calls.
constexpr qint64 ReadSize = 1 << 20;
// A header line longer than this is no header a person wrote.
constexpr qsizetype HeaderLookAhead = 64 * 1024;

const QList<TField> RuleFields{fdVerbraucher, fdUnternehmer, fdSatz, fdAufschlag};

bool AllEmpty(const QList<QString> &cells) {
    for (const QString &cell : cells)
        if (!cell.trimmed().isEmpty()) return false;
    return true;
}

// Each column names a field of the command, once; the fields a case cannot do without are
// columns or options.
std::optional<QString> MapColumns(const TCommandLine &line, const QList<QString> &header,
                                  std::vector<TField> &columns) {
    std::array<bool, FieldCount> present{};
    for (const QString &name : header) {
        const std::optional<TField> field = FieldOfColumn(name);
        if (!field || !TakesField(line.Command, *field))
            return QStringLiteral("unbekannte Spalte „%1“").arg(name);
        if (present[*field]) return QStringLiteral("die Spalte „%1“ steht doppelt da").arg(name);
        present[*field] = true;
        columns.push_back(*field);
    }
    QList<TField> needed{fdBetrag, fdVon, fdBis};
    if (line.Command == TCommand::Zinsen) needed << fdSatz;
    for (TField field : needed)
        if (!present[field] && line.Fields[field].isEmpty())
            return QStringLiteral("die Spalte „%1“ fehlt").arg(FieldName(field));
    return std::nullopt;
}

class TBatch {
public:
    TBatch(const TCommandLine &line, TRunContext &run, std::vector<TField> columns)
        : FLine(line), FRun(run), FColumns(std::move(columns)) {}

    void Header();
    // False when the row could not be calculated.
    bool Row(const QList<QString> &cells, int line);
    // The error row and the message for a row that is not calculated.
    void Fail(int line, const QString &reason);

private:
    std::optional<QString> Fields(const QList<QString> &cells, TFields &fields) const;
    std::optional<TCaseError> Calculate(const TFields &fields, QString &row, int line);

    const TCommandLine &FLine;
    TRunContext &FRun;
    std::vector<TField> FColumns;
    std::optional<int> FDefaultCode;
};

void TBatch::Header() {
    FRun.Out().Write(FLine.Command == TCommand::Zinsen ? ZinsenHeader(FLine.Format, true)
                                                       : VerzugHeader(FLine.Format));
}

// The options' values, then the row's cells where they are not empty. A row that names a
// rate rule replaces the options' rule, so that it need not switch the others off.
std::optional<QString> TBatch::Fields(const QList<QString> &cells, TFields &fields) const {
    if (cells.size() > qsizetype(FColumns.size()))
        return QStringLiteral("die Zeile hat %1 Felder, die Kopfzeile nur %2 Spalten")
            .arg(cells.size())
            .arg(FColumns.size());
    fields = FLine.Fields;
    bool ownRule = false;
    for (qsizetype i = 0; i < cells.size(); ++i)
        ownRule = ownRule || (RuleFields.contains(FColumns[i]) && !cells[i].trimmed().isEmpty());
    if (ownRule)
        for (TField field : RuleFields)
            fields[field].clear();
    for (qsizetype i = 0; i < cells.size(); ++i)
        if (!cells[i].trimmed().isEmpty()) fields[FColumns[i]] = cells[i];
    return std::nullopt;
}

std::optional<TCaseError> TBatch::Calculate(const TFields &fields, QString &row, int line) {
    if (FLine.Command == TCommand::Zinsen) {
        if (!FDefaultCode) FDefaultCode = FRun.DefaultFormulaCode();
        TZinsenCase c;
        if (auto error = ReadZinsenCase(fields, *FDefaultCode, c)) return error;
        row = ZinsenRow(FLine.Format, CalculateZinsen(c), line);
        return std::nullopt;
    }
    TDefaultInterestInput input;
    TVerzugResult result;
    if (auto error = ReadVerzugCase(fields, input)) return error;
    if (auto error = CalculateVerzug(input, FRun.BaseRates().Table(), result)) return error;
    row = VerzugRow(FLine.Format, result, line);
    return std::nullopt;
}

bool TBatch::Row(const QList<QString> &cells, int line) {
    TFields fields;
    if (const std::optional<QString> problem = Fields(cells, fields)) {
        Fail(line, *problem);
        return false;
    }
    QString row;
    if (const std::optional<TCaseError> error = Calculate(fields, row, line)) {
        Fail(line, error->Field == FieldCount ? error->Reason
                                              : FieldName(error->Field) + QStringLiteral(": ") +
                                                    error->Reason);
        return false;
    }
    FRun.Out().Write(row);
    return true;
}

void TBatch::Fail(int line, const QString &reason) {
    FRun.Out().Write(ErrorRow(FLine.Format, FLine.Command, line, reason));
    FRun.Report(QStringLiteral("Zeile %1").arg(line), reason);
}

} // namespace

bool TCsvReader::Fill() {
    if (FPos > 0) {
        FBuffer.remove(0, FPos);
        FPos = 0;
    }
    const QByteArray more = FDevice.read(ReadSize);
    FBuffer += more;
    return !more.isEmpty();
}

char TCsvReader::GuessSeparator() {
    while (!FBuffer.contains('\n') && FBuffer.size() < HeaderLookAhead && Fill()) {
    }
    const QByteArray header = FBuffer.left(FBuffer.indexOf('\n'));
    if (header.contains(';')) return ';';
    if (header.contains('\t')) return '\t';
    return header.contains(',') ? ',' : ';';
}

bool TCsvReader::ReadField(QByteArray &field, bool &open) {
    const auto peek = [this]() -> int {
        if (FPos >= FBuffer.size() && !Fill()) return -1;
        return static_cast<unsigned char>(FBuffer[FPos]);
    };
    field.clear();
    if (peek() == '"') {
        ++FPos;
        for (int c = peek();; c = peek()) {
            if (c < 0) {
                open = true;
                return false;
            }
            ++FPos;
            if (c == '"' && peek() != '"') break;
            if (c == '"') ++FPos; // a doubled quote stands for one
            if (c == '\n') ++FLine;
            field += char(c);
        }
    }
    // Unquoted text, or what follows a closing quote, up to the separator or the line's end.
    for (int c = peek();; c = peek()) {
        if (c < 0) return false;
        ++FPos;
        if (c == FSeparator) return true;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && peek() == '\n') ++FPos;
            ++FLine;
            return false;
        }
        field += char(c);
    }
}

bool TCsvReader::Next(QList<QString> &fields, int &line, bool &open) {
    if (!FStarted) {
        FStarted = true;
        while (FBuffer.size() - FPos < 3 && Fill()) {
        }
        if (FBuffer.mid(FPos, 3) == "\xEF\xBB\xBF") FPos += 3;
    }
    open = false;
    fields.clear();
    if (FPos >= FBuffer.size() && !Fill()) return false;
    line = FLine;
    QByteArray field;
    bool more = true;
    while (more) {
        more = ReadField(field, open);
        fields.append(QString::fromUtf8(field));
    }
    return true;
}

int RunBatch(const TCommandLine &line, QIODevice &in, TRunContext &run) {
    QFile file(line.Batch);
    QIODevice *source = &in;
    if (line.Batch != QLatin1String("-")) {
        if (!file.open(QIODevice::ReadOnly)) {
            run.Report(QStringLiteral("--csv"),
                       QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                           .arg(line.Batch, file.errorString()));
            return esBadInput;
        }
        source = &file;
    }
    TCsvReader reader(*source);
    reader.SetSeparator(reader.GuessSeparator());
    QList<QString> cells;
    int number = 0;
    bool open = false;
    std::vector<TField> columns;
    if (!reader.Next(cells, number, open)) {
        run.Report(QStringLiteral("--csv"), QStringLiteral("die Kopfzeile fehlt"));
        return esUsage;
    }
    if (const std::optional<QString> problem = MapColumns(line, cells, columns)) {
        run.Report(QStringLiteral("Zeile %1").arg(number), *problem);
        return esUsage;
    }
    TBatch batch(line, run, std::move(columns));
    batch.Header();
    int status = esDone;
    while (reader.Next(cells, number, open)) {
        // A row cut off inside quotes is not calculated with half its text.
        if (open) {
            batch.Fail(number, QStringLiteral("das Anführungszeichen wird nicht geschlossen"));
            status = esBadInput;
        } else if (!AllEmpty(cells) && !batch.Row(cells, number)) {
            status = esBadInput;
        }
    }
    return status;
}
