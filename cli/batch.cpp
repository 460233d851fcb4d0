#include "cli/batch.h"

#include "cli/commands.h"

#include <QFile>
#include <QIODevice>

#include <algorithm>
#include <thread>
#include <vector>

namespace {

// Large reads keep a million short rows from costing a million system calls.
constexpr qint64 ReadSize = 1 << 20;
// A header line longer than this is no header a person wrote.
constexpr qsizetype HeaderLookAhead = 64 * 1024;

// Rows are read and printed a block at a time and calculated side by side in between.
constexpr std::size_t BlockRows = 16384;
constexpr std::size_t MinRowsForThreads = 1024;
constexpr std::size_t MaxThreads = 8;

const QList<TField> RuleFields{fdVerbraucher, fdUnternehmer, fdSatz, fdAufschlag};

bool Blank(const QString &cell) {
    for (QChar c : cell)
        if (!c.isSpace()) return false;
    return true;
}

bool AllEmpty(const QList<QString> &cells) {
    for (const QString &cell : cells)
        if (!Blank(cell)) return false;
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

// A row read and what became of it: its text, or the reason it was not calculated.
struct TPendingRow {
    QList<QString> Cells;
    int Line = 0;
    bool Open = false; // cut off inside quotes
    QByteArray Text;   // in UTF-8, encoded where the row is calculated
    QString Error;
};

class TBatch {
public:
    // Reads what every row shares (the stored formula, the base rates) before any row is
    // calculated, so that rows can be calculated side by side.
    TBatch(const TCommandLine &line, TRunContext &run, std::vector<TField> columns);

    void Header();
    // Calculates the row; touches nothing but the row.
    void Calculate(TPendingRow &row) const;
    // Prints the row's result or error row, and reports its error; false for an error.
    bool Emit(const TPendingRow &row);

private:
    std::optional<QString> Fields(const QList<QString> &cells, TFields &fields) const;
    std::optional<TCaseError> Case(const TFields &fields, QByteArray &text, int line) const;

    const TCommandLine &FLine;
    TRunContext &FRun;
    std::vector<TField> FColumns;
    int FDefaultCode = fcEuro;
    const TBaseRateTable *FTable = nullptr;
};

TBatch::TBatch(const TCommandLine &line, TRunContext &run, std::vector<TField> columns)
    : FLine(line), FRun(run), FColumns(std::move(columns)) {
    if (line.Command == TCommand::Zinsen && line.Fields[fdFormel].isEmpty())
        FDefaultCode = run.DefaultFormulaCode();
    if (line.Command == TCommand::Verzug) FTable = &run.BaseRates().Table();
}

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
        ownRule = ownRule || (RuleFields.contains(FColumns[i]) && !Blank(cells[i]));
    if (ownRule)
        for (TField field : RuleFields)
            fields[field].clear();
    for (qsizetype i = 0; i < cells.size(); ++i)
        if (!Blank(cells[i])) fields[FColumns[i]] = cells[i];
    return std::nullopt;
}

std::optional<TCaseError> TBatch::Case(const TFields &fields, QByteArray &text, int line) const {
    if (FLine.Command == TCommand::Zinsen) {
        TZinsenCase c;
        if (auto error = ReadZinsenCase(fields, FDefaultCode, c)) return error;
        text = ZinsenRow(FLine.Format, CalculateZinsen(c), line).toUtf8();
        return std::nullopt;
    }
    TDefaultInterestInput input;
    TVerzugResult result;
    if (auto error = ReadVerzugCase(fields, input)) return error;
    if (auto error = CalculateVerzug(input, *FTable, result)) return error;
    text = VerzugRow(FLine.Format, result, line).toUtf8();
    return std::nullopt;
}

void TBatch::Calculate(TPendingRow &row) const {
    row.Text.clear();
    row.Error.clear();
    if (row.Open) {
        row.Error = QStringLiteral("das Anführungszeichen wird nicht geschlossen");
        return;
    }
    TFields fields;
    if (const std::optional<QString> problem = Fields(row.Cells, fields)) {
        row.Error = *problem;
        return;
    }
    try {
        if (const std::optional<TCaseError> error = Case(fields, row.Text, row.Line))
            row.Error = error->Field == FieldCount
                            ? error->Reason
                            : FieldName(error->Field) + QStringLiteral(": ") + error->Reason;
    } catch (const std::exception &error) {
        // An exception must not leave a worker thread; the row says what went wrong.
        row.Error = QString::fromLocal8Bit(error.what());
    }
}

bool TBatch::Emit(const TPendingRow &row) {
    if (row.Error.isEmpty()) {
        FRun.Out().Write(row.Text);
        return true;
    }
    FRun.Out().Write(ErrorRow(FLine.Format, FLine.Command, row.Line, row.Error));
    FRun.Report(QStringLiteral("Zeile %1").arg(row.Line), row.Error);
    return false;
}

// Calculates a block of rows in as many slices as there are processors, each in a thread of
// its own, while the caller reads the next block; small blocks are not worth a thread.
class TBlockCalculation {
public:
    TBlockCalculation(const TBatch &batch, std::vector<TPendingRow> &rows, std::size_t count) {
        const std::size_t threads =
            count < MinRowsForThreads
                ? 0
                : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, MaxThreads);
        if (threads == 0) {
            for (std::size_t i = 0; i < count; ++i)
                batch.Calculate(rows[i]);
            return;
        }
        const std::size_t slice = (count + threads - 1) / threads;
        for (std::size_t from = 0; from < count; from += slice)
            FWorkers.emplace_back([&batch, &rows, from, end = std::min(count, from + slice)] {
                for (std::size_t i = from; i < end; ++i)
                    batch.Calculate(rows[i]);
            });
    }
    ~TBlockCalculation() { Wait(); }
    TBlockCalculation(const TBlockCalculation &) = delete;
    TBlockCalculation &operator=(const TBlockCalculation &) = delete;

    void Wait() {
        for (std::thread &worker : FWorkers)
            worker.join();
        FWorkers.clear();
    }

private:
    std::vector<std::thread> FWorkers;
};

// Up to BlockRows rows that are not blank; the count.
std::size_t ReadBlock(TCsvReader &reader, std::vector<TPendingRow> &rows) {
    std::size_t count = 0;
    while (count < rows.size()) {
        TPendingRow &row = rows[count];
        if (!reader.Next(row.Cells, row.Line, row.Open)) break;
        if (row.Open || !AllEmpty(row.Cells)) ++count;
    }
    return count;
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

int TCsvReader::Peek() {
    if (FPos >= FBuffer.size() && !Fill()) return -1;
    return static_cast<unsigned char>(FBuffer[FPos]);
}

// Past the separator or the line's end that stops a field.
bool TCsvReader::EndOfField() {
    const int c = Peek();
    if (c < 0) return false;
    ++FPos;
    if (c == FSeparator) return true;
    if (c == '\r' && Peek() == '\n') ++FPos;
    ++FLine;
    return false;
}

bool TCsvReader::ReadQuoted(QByteArray &field, bool &open) {
    ++FPos;
    for (int c = Peek();; c = Peek()) {
        if (c < 0) {
            open = true;
            return false;
        }
        ++FPos;
        if (c == '"' && Peek() != '"') break;
        if (c == '"') ++FPos; // a doubled quote stands for one
        if (c == '\n') ++FLine;
        field += char(c);
    }
    // Whatever follows the closing quote up to the separator belongs to the field as well.
    return ReadPlain(field);
}

bool TCsvReader::ReadPlain(QByteArray &field) {
    for (;;) {
        const char *data = FBuffer.constData();
        qsizetype end = FPos;
        while (end < FBuffer.size() && data[end] != FSeparator && data[end] != '\n' &&
               data[end] != '\r')
            ++end;
        field.append(data + FPos, end - FPos);
        FPos = end;
        if (end < FBuffer.size() || !Fill()) return EndOfField();
    }
}

bool TCsvReader::ReadField(QString &field, bool &open) {
    // Most fields lie whole in the buffer: read without copying twice.
    if (Peek() != '"') {
        const char *data = FBuffer.constData();
        qsizetype end = FPos;
        while (end < FBuffer.size() && data[end] != FSeparator && data[end] != '\n' &&
               data[end] != '\r')
            ++end;
        if (end < FBuffer.size()) {
            field = QString::fromUtf8(data + FPos, end - FPos);
            FPos = end;
            return EndOfField();
        }
    }
    QByteArray bytes;
    const bool more = Peek() == '"' ? ReadQuoted(bytes, open) : ReadPlain(bytes);
    field = QString::fromUtf8(bytes);
    return more;
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
    QString field;
    bool more = true;
    while (more) {
        more = ReadField(field, open);
        fields.append(field);
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
    std::vector<TPendingRow> current(BlockRows), next(BlockRows);
    for (std::size_t count = ReadBlock(reader, current); count > 0;) {
        TBlockCalculation calculation(batch, current, count);
        const std::size_t following = ReadBlock(reader, next);
        calculation.Wait();
        for (std::size_t i = 0; i < count; ++i)
            if (!batch.Emit(current[i])) status = esBadInput;
        std::swap(current, next);
        count = following;
    }
    return status;
}
