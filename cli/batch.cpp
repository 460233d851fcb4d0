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
    qsizetype Offset = 0, Length = 0; // the record's bytes in its block
    int Line = 0;
    bool Open = false;  // cut off inside quotes
    bool Blank = false; // no cell holds anything: no case at all
    QByteArray Text;    // in UTF-8, encoded where the row is calculated
    QString Error;
};

// Records as read, and what became of them. The records are split and calculated where the
// block is calculated, so that each thread makes and frees the strings of its own rows.
struct TBlock {
    QByteArray Bytes;
    std::vector<TPendingRow> Rows{BlockRows};
    std::size_t Count = 0;
};

class TBatch {
public:
    // Reads what every row shares (the stored formula, the base rates) before any row is
    // calculated, so that rows can be calculated side by side.
    TBatch(const TCommandLine &line, TRunContext &run, std::vector<TField> columns, char separator);

    void Header();
    // Splits and calculates the row; touches nothing but the row and `cells`, its room.
    void Calculate(const QByteArray &bytes, TPendingRow &row, QList<QString> &cells) const;
    // Prints the row's result or error row, and reports its error; false for an error.
    bool Emit(const TPendingRow &row);

private:
    std::optional<QString> Fields(const QList<QString> &cells, TFields &fields) const;
    std::optional<TCaseError> Case(const TFields &fields, QByteArray &text, int line) const;

    const TCommandLine &FLine;
    TRunContext &FRun;
    std::vector<TField> FColumns;
    char FSeparator;
    int FDefaultCode = fcEuro;
    const TBaseRateTable *FTable = nullptr;
};

TBatch::TBatch(const TCommandLine &line, TRunContext &run, std::vector<TField> columns,
               char separator)
    : FLine(line), FRun(run), FColumns(std::move(columns)), FSeparator(separator) {
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

void TBatch::Calculate(const QByteArray &bytes, TPendingRow &row, QList<QString> &cells) const {
    row.Text.clear();
    row.Error.clear();
    if (row.Open) {
        row.Error = QStringLiteral("das Anführungszeichen wird nicht geschlossen");
        return;
    }
    SplitRecord(QByteArrayView(bytes).sliced(row.Offset, row.Length), FSeparator, cells);
    row.Blank = AllEmpty(cells);
    if (row.Blank) return;
    TFields fields;
    if (const std::optional<QString> problem = Fields(cells, fields)) {
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
    if (row.Blank) return true;
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
    TBlockCalculation(const TBatch &batch, TBlock &block) {
        const std::size_t count = block.Count;
        const std::size_t threads =
            count < MinRowsForThreads
                ? 1
                : std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, MaxThreads);
        const std::size_t slice = (count + threads - 1) / threads;
        const auto calculate = [&batch, &block](std::size_t from, std::size_t end) {
            QList<QString> cells;
            for (std::size_t i = from; i < end; ++i)
                batch.Calculate(block.Bytes, block.Rows[i], cells);
        };
        if (threads == 1) {
            calculate(0, count);
            return;
        }
        for (std::size_t from = 0; from < count; from += slice)
            FWorkers.emplace_back(calculate, from, std::min(count, from + slice));
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

// Up to BlockRows records.
void ReadBlock(TCsvReader &reader, TBlock &block) {
    block.Bytes.truncate(0);
    block.Count = 0;
    while (block.Count < block.Rows.size()) {
        TPendingRow &row = block.Rows[block.Count];
        row.Offset = block.Bytes.size();
        if (!reader.NextRecord(block.Bytes, row.Line, row.Open)) break;
        row.Length = block.Bytes.size() - row.Offset;
        ++block.Count;
    }
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

void TCsvReader::SkipByteOrderMark() {
    if (FStarted) return;
    FStarted = true;
    while (FBuffer.size() - FPos < 3 && Fill()) {
    }
    if (FBuffer.mid(FPos, 3) == "\xEF\xBB\xBF") FPos += 3;
}

// A line break inside quotes belongs to the record; a doubled quote opens and closes again.
bool TCsvReader::NextRecord(QByteArray &record, int &line, bool &open) {
    SkipByteOrderMark();
    if (FPos >= FBuffer.size() && !Fill()) return false;
    line = FLine;
    bool quoted = false;
    qsizetype scan = FPos;
    for (;;) {
        const char *data = FBuffer.constData();
        for (; scan < FBuffer.size(); ++scan) {
            if (data[scan] == '"') {
                quoted = !quoted;
            } else if (data[scan] == '\n') {
                ++FLine;
                if (!quoted) break;
            }
        }
        if (scan < FBuffer.size()) break;
        const qsizetype done = scan - FPos;
        const bool more = Fill();
        scan = FPos + done;
        if (!more) break;
    }
    open = quoted && scan >= FBuffer.size();
    qsizetype end = std::min(scan, FBuffer.size());
    if (end > FPos && FBuffer[end - 1] == '\r' && !open) --end;
    record.append(FBuffer.constData() + FPos, end - FPos);
    FPos = std::min(scan + 1, FBuffer.size());
    return true;
}

bool TCsvReader::Next(QList<QString> &fields, int &line, bool &open) {
    QByteArray record;
    if (!NextRecord(record, line, open)) return false;
    SplitRecord(record, FSeparator, fields);
    return true;
}

void SplitRecord(QByteArrayView record, char separator, QList<QString> &fields) {
    fields.clear();
    for (qsizetype at = 0;; ++at) {
        QByteArray quoted;
        const bool inQuotes = at < record.size() && record[at] == '"';
        for (at += inQuotes ? 1 : 0; inQuotes && at < record.size(); ++at) {
            if (record[at] == '"' && (at + 1 == record.size() || record[at + 1] != '"')) {
                ++at;
                break;
            }
            if (record[at] == '"') ++at; // a doubled quote stands for one
            quoted += record[at];
        }
        // Unquoted text, or what follows a closing quote, up to the separator.
        const qsizetype start = at;
        while (at < record.size() && record[at] != separator)
            ++at;
        const QByteArrayView rest = record.sliced(start, at - start);
        fields.append(inQuotes ? QString::fromUtf8(quoted + rest) : QString::fromUtf8(rest));
        if (at >= record.size()) return;
    }
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
    TBatch batch(line, run, std::move(columns), reader.Separator());
    batch.Header();
    int status = esDone;
    TBlock current, next;
    for (ReadBlock(reader, current); current.Count > 0; std::swap(current, next)) {
        TBlockCalculation calculation(batch, current);
        ReadBlock(reader, next);
        calculation.Wait();
        for (std::size_t i = 0; i < current.Count; ++i)
            if (!batch.Emit(current.Rows[i])) status = esBadInput;
    }
    return status;
}
