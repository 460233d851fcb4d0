#include "cli/batch.h"

#include "cli/commands.h"
#include "cli/descriptor.h"
#include "cli/plainrow.h"
#include "engine/fixedtext.h"
#include "platform/base/files.h"
#include "report/echo.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Large reads keep a million short rows from costing a million system calls.
constexpr qint64 ReadSize = 1 << 20;
// A header line longer than this is no header a person wrote.
constexpr qsizetype HeaderLookAhead = 64 * 1024;

// Rows are read and printed a block at a time and calculated side by side in between. A block
// ends at so many rows or at BlockBytes of input, and one record more; it starts small and
// grows as far as its results stay near ResultBytes too (a statement of many half-years in
// JSON is a hundred times its row). Two blocks' input and one block's results are held at
// once, whatever the batch's size.
constexpr std::size_t FirstBlockRows = 1024, BlockRows = 65536;
constexpr qsizetype BlockBytes = 2 * MaxRecordBytes;
constexpr qsizetype ResultBytes = 8 * MaxRecordBytes;
constexpr std::size_t MinRowsForThreads = 1024;
constexpr std::size_t MaxThreads = 8;

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

QString CommandName(TCommand command) {
    return command == TCommand::Zinsen ? QStringLiteral("zinsen") : QStringLiteral("verzug");
}

// What each column is: a field of the command, or a column carried through.
struct TColumns {
    std::vector<TField> Fields; // FieldCount for a carried column
    std::vector<char> Rule;     // whether the column names a rate rule
    std::vector<qsizetype> Carried;
    TCarriedColumns CarriedNames;
};

// Each known column names a field of the command, once; a name close to a known one is taken
// for a slip and stops the batch, any other is carried through. The fields a case cannot do
// without are columns or options.
std::optional<QString> MapColumns(const TCommandLine &line, const QList<QString> &header,
                                  TColumns &columns) {
    std::array<bool, FieldCount> present{};
    QStringList carried;
    QList<int> numbers;
    for (const QString &name : header) {
        const std::optional<TField> field = FieldOfColumn(name);
        if (field && !TakesField(line.Command, *field))
            return QStringLiteral("die Spalte %1 gilt nicht für %2")
                .arg(Quoted(name), CommandName(line.Command));
        if (field && present[*field])
            return QStringLiteral("die Spalte %1 steht doppelt da").arg(Quoted(name));
        if (!field)
            if (const std::optional<TField> near = NearField(line.Command, name))
                return QStringLiteral("unbekannte Spalte %1; gemeint ist wohl „%2“ (Spalten "
                                      "anderer Namen kämen unverändert in die Ergebnisse)")
                    .arg(Quoted(name), FieldName(*near));
        if (field) {
            present[*field] = true;
        } else {
            columns.Carried.push_back(qsizetype(columns.Fields.size()));
            carried << name;
            numbers << int(columns.Fields.size()) + 1;
        }
        columns.Fields.push_back(field.value_or(FieldCount));
        columns.Rule.push_back(field && RuleFields().contains(*field));
    }
    columns.CarriedNames = CarriedColumns(carried, numbers);
    // What a single case needs, but the last day: it is today where it is empty.
    for (TField field : PositionalFields(line.Command))
        if (field != fdBis && !present[field] && line.Fields[field].isEmpty())
            return QStringLiteral("die Spalte „%1“ fehlt").arg(FieldName(field));
    return std::nullopt;
}

// A row read and what became of it: where its result or error row ends in its slice's
// results, and its error.
struct TPendingRow {
    qsizetype Offset = 0, Length = 0; // the record's bytes in its block
    qint64 Line = 0;
    TRecordFault Fault = TRecordFault::None;
    qsizetype End = 0;
    QString Error;
};

// Records as read, and what became of them. The records are split and calculated where the
// block is calculated, in slices side by side; each slice writes its rows' results, in UTF-8,
// one after the other into a buffer of its own.
struct TBlock {
    QByteArray Bytes;
    std::vector<TPendingRow> Rows;
    std::size_t Count = 0;
    std::vector<std::size_t> SliceEnds;
    std::vector<TByteText> Results;
};

// What a thread reuses from row to row.
struct TScratch {
    QList<QString> Cells;
    std::vector<QByteArrayView> Plain;
    TDefaultInterestStatement Verzug;
};

class TBatch {
public:
    // Reads what every row shares (the stored formula, the base rates, today) before any row
    // is calculated, so that rows can be calculated side by side.
    TBatch(const TCommandLine &line, TRunContext &run, TColumns columns, char separator);

    void Header();
    // Splits and calculates the row and appends its result to `out`; touches nothing but the
    // row, `out` and `scratch`.
    void Calculate(const QByteArray &bytes, TPendingRow &row, TByteText &out,
                   TScratch &scratch) const;
    // Prints the block's results in order and reports the errors of its rows; false for an
    // error.
    bool Emit(const TBlock &block);

private:
    // A row of plain cells answered from its bytes; false for any other row, which is then read
    // the general way.
    bool Plain(const std::vector<QByteArrayView> &cells, qint64 line, TByteText &out,
               TScratch &scratch) const;
    std::optional<QString> Fields(const QList<QString> &cells, TFields &fields) const;
    // Appends the row's result row, or gives the reason it has none.
    std::optional<TCaseError> Case(const TFields &fields, const QList<QString> &cells,
                                   TPendingRow &row, TByteText &out) const;
    // Gives the row its error, and appends its error row.
    void Refuse(TPendingRow &row, const QString &reason, const QList<QString> &cells,
                TByteText &out) const;
    QString Carried(const QList<QString> &cells) const;

    const TCommandLine &FLine;
    TRunContext &FRun;
    TColumns FColumns;
    char FSeparator;
    int FDefaultCode = fcEuro;
    const TBaseRateTable *FTable = nullptr;
    // Austria's, with the user's changes, where a row may be Austrian.
    const TAtBaseRates *FAtRates = &ShippedAtBaseRates();
    QString FToday;
    std::optional<TPlainCases> FPlain;
};

TBatch::TBatch(const TCommandLine &line, TRunContext &run, TColumns columns, char separator)
    : FLine(line), FRun(run), FColumns(std::move(columns)), FSeparator(separator),
      FToday(FormatDayDate(CurrentDateSerial())) {
    if (line.Command == TCommand::Zinsen && line.Fields[fdFormel].isEmpty())
        FDefaultCode = run.DefaultFormulaCode();
    if (line.Command == TCommand::Verzug) FTable = &run.BaseRates().Table();
    // Read here, before the rows run in threads.
    if (line.Command == TCommand::Verzug &&
        (LawOfFields(line.Fields) == lwAustria ||
         std::find(FColumns.Fields.begin(), FColumns.Fields.end(), fdRecht) !=
             FColumns.Fields.end()))
        FAtRates = &run.AtRates();
    FPlain.emplace(line.Command, line.Fields, FDefaultCode, CurrentDateSerial());
}

void TBatch::Header() {
    const QString carried = CarriedHeader(FLine.Format, FColumns.CarriedNames);
    FRun.Out().Write(FLine.Command == TCommand::Zinsen ? ZinsenHeader(FLine.Format, true, carried)
                                                       : VerzugHeader(FLine.Format, carried));
}

QString TBatch::Carried(const QList<QString> &cells) const {
    if (FColumns.Carried.empty()) return QString();
    QList<QString> carried;
    for (qsizetype column : FColumns.Carried)
        carried << cells.value(column);
    return CarriedCells(FLine.Format, FColumns.CarriedNames, carried);
}

// The options' values, then the row's cells where they are not empty. A row that names a
// rate rule replaces the options' rule, so that it need not switch the others off. An empty
// last day is today, as in the window.
std::optional<QString> TBatch::Fields(const QList<QString> &cells, TFields &fields) const {
    const qsizetype columns = qsizetype(FColumns.Fields.size());
    for (qsizetype i = columns; i < cells.size(); ++i)
        if (!Blank(cells[i]))
            return QStringLiteral("die Zeile hat %1 Felder, die Kopfzeile nur %2 Spalten")
                .arg(cells.size())
                .arg(columns);
    const qsizetype used = std::min(cells.size(), columns);
    fields = FLine.Fields;
    bool ownRule = false;
    for (qsizetype i = 0; i < used && !ownRule; ++i)
        ownRule = FColumns.Rule[i] && !Blank(cells[i]);
    if (ownRule)
        for (TField field : RuleFields())
            fields[field].clear();
    for (qsizetype i = 0; i < used; ++i)
        if (FColumns.Fields[i] != FieldCount && !Blank(cells[i]))
            fields[FColumns.Fields[i]] = cells[i];
    if (fields[fdBis].isEmpty()) fields[fdBis] = FToday;
    return std::nullopt;
}

std::optional<TCaseError> TBatch::Case(const TFields &fields, const QList<QString> &cells,
                                       TPendingRow &row, TByteText &out) const {
    if (FLine.Command == TCommand::Zinsen) {
        TZinsenCase c;
        if (auto error = ReadZinsenCase(fields, FDefaultCode, c)) return error;
        AppendZinsenRow(out, FLine.Format, CalculateZinsen(c), row.Line, Carried(cells).toUtf8());
        return std::nullopt;
    }
    TDefaultInterestInput input;
    TDefaultInterestStatement result;
    if (auto error = ReadVerzugCase(fields, input)) return error;
    if (auto error = CalculateVerzug(input, *FTable, result, *FAtRates)) return error;
    AppendVerzugRow(out, FLine.Format, result, row.Line, Carried(cells).toUtf8());
    return std::nullopt;
}

bool TBatch::Plain(const std::vector<QByteArrayView> &cells, qint64 line, TByteText &out,
                   TScratch &scratch) const {
    QByteArray carried;
    if (!FColumns.Carried.empty()) {
        QList<QString> texts;
        for (qsizetype column : FColumns.Carried)
            texts << (std::size_t(column) < cells.size() ? QString::fromUtf8(cells[column])
                                                         : QString());
        carried = CarriedCells(FLine.Format, FColumns.CarriedNames, texts).toUtf8();
    }
    if (FLine.Command == TCommand::Zinsen) {
        TZinsenCase c;
        if (!FPlain->Zinsen(cells, FColumns.Fields, c)) return false;
        AppendZinsenRow(out, FLine.Format, CalculateZinsen(c), line, carried);
        return true;
    }
    TDefaultInterestInput input;
    TDefaultInterestStatement &result = scratch.Verzug;
    // A fault of the case is worded the general way.
    if (!FPlain->Verzug(cells, FColumns.Fields, input) || CalculateVerzug(input, *FTable, result))
        return false;
    AppendVerzugRow(out, FLine.Format, result, line, carried);
    return true;
}

void TBatch::Calculate(const QByteArray &bytes, TPendingRow &row, TByteText &out,
                       TScratch &scratch) const {
    row.Error.clear();
    QList<QString> &cells = scratch.Cells;
    const auto finish = [&] { row.End = out.Size(); };
    if (row.Fault != TRecordFault::None) {
        cells.clear();
        Refuse(row, RecordFaultText(row.Fault), cells, out);
        return finish();
    }
    const QByteArrayView record = QByteArrayView(bytes).sliced(row.Offset, row.Length);
    std::vector<QByteArrayView> &plain = scratch.Plain;
    if (FPlain->Usable() && SplitPlainRecord(record, FSeparator, plain, MaxColumns)) {
        if (std::all_of(plain.begin(), plain.end(), [](QByteArrayView c) { return c.isEmpty(); }))
            return finish(); // no case at all
        const qsizetype start = out.Size();
        try {
            if (Plain(plain, row.Line, out, scratch)) return finish();
        } catch (const std::exception &) {
            out.Truncate(start); // the general way says what went wrong
        }
    }
    if (!SplitRecord(record, FSeparator, cells)) {
        Refuse(row, QStringLiteral("die Zeile hat mehr als %1 Felder").arg(MaxColumns), cells, out);
        return finish();
    }
    if (AllEmpty(cells)) return finish();
    TFields fields;
    if (const std::optional<QString> problem = Fields(cells, fields)) {
        Refuse(row, *problem, cells, out);
        return finish();
    }
    const qsizetype start = out.Size();
    try {
        if (const std::optional<TCaseError> error = Case(fields, cells, row, out))
            Refuse(row,
                   error->Field == FieldCount
                       ? error->Reason
                       : FieldName(error->Field) + QStringLiteral(": ") + error->Reason,
                   cells, out);
    } catch (const std::exception &error) {
        // An exception must not leave a worker thread; the row says what went wrong.
        out.Truncate(start);
        Refuse(row, QString::fromLocal8Bit(error.what()), cells, out);
    }
    finish();
}

void TBatch::Refuse(TPendingRow &row, const QString &reason, const QList<QString> &cells,
                    TByteText &out) const {
    row.Error = reason;
    out += ErrorRow(FLine.Format, FLine.Command, row.Line, reason, Carried(cells)).toUtf8();
}

bool TBatch::Emit(const TBlock &block) {
    bool clean = true;
    std::size_t from = 0;
    for (std::size_t slice = 0; slice < block.SliceEnds.size(); ++slice) {
        const QByteArrayView results = block.Results[slice].View();
        qsizetype written = 0;
        for (std::size_t i = from; i < block.SliceEnds[slice] && !FRun.Out().Failed(); ++i) {
            const TPendingRow &row = block.Rows[i];
            if (row.Error.isEmpty()) continue;
            FRun.Out().Write(results.sliced(written, row.End - written));
            written = row.End;
            FRun.Report(QStringLiteral("Zeile %1").arg(row.Line), row.Error);
            clean = false;
        }
        FRun.Out().Write(results.sliced(written));
        from = block.SliceEnds[slice];
    }
    return clean;
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
        const std::size_t slice = std::max<std::size_t>((count + threads - 1) / threads, 1);
        block.SliceEnds.clear();
        for (std::size_t from = 0; from < count; from += slice)
            block.SliceEnds.push_back(std::min(count, from + slice));
        if (block.Results.size() < block.SliceEnds.size())
            block.Results.resize(block.SliceEnds.size());
        const auto calculate = [&batch, &block](std::size_t index, std::size_t from) {
            TByteText &out = block.Results[index];
            out.Truncate(0); // keeps its room for the next block
            TScratch scratch;
            for (std::size_t i = from; i < block.SliceEnds[index]; ++i)
                batch.Calculate(block.Bytes, block.Rows[i], out, scratch);
        };
        if (block.SliceEnds.size() == 1) {
            calculate(0, 0);
            return;
        }
        for (std::size_t index = 0; index < block.SliceEnds.size(); ++index)
            FWorkers.emplace_back(calculate, index, index == 0 ? 0 : block.SliceEnds[index - 1]);
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

// Up to `rows` records, or BlockBytes and one record more.
void ReadBlock(TCsvReader &reader, TBlock &block, std::size_t rows) {
    block.Bytes.truncate(0);
    block.Count = 0;
    while (block.Count < rows && block.Bytes.size() < BlockBytes) {
        if (block.Rows.size() == block.Count) block.Rows.emplace_back();
        TPendingRow &row = block.Rows[block.Count];
        row.Offset = block.Bytes.size();
        if (!reader.NextRecord(block.Bytes, row.Line, row.Fault)) break;
        row.Length = block.Bytes.size() - row.Offset;
        ++block.Count;
    }
}

} // namespace

QString RecordFaultText(TRecordFault fault) {
    switch (fault) {
    case TRecordFault::OpenQuote:
        return QStringLiteral("das Anführungszeichen wird nicht geschlossen (weiter mit der "
                              "nächsten Zeile)");
    case TRecordFault::LongRecord:
        return QStringLiteral("der Eintrag ist länger als %1, wohl weil ein Anführungszeichen "
                              "nicht geschlossen wird (weiter mit der nächsten Zeile)")
            .arg(SizeText(MaxRecordBytes));
    case TRecordFault::LongLine:
        return QStringLiteral("die Zeile ist länger als %1").arg(SizeText(MaxRecordBytes));
    case TRecordFault::None:
        break;
    }
    return QString();
}

bool TCsvReader::Fill() {
    if (FPos > 0) {
        FBuffer.remove(0, FPos);
        FPos = 0;
    }
    if (!FReadError.isEmpty()) return false;
    const qsizetype kept = FBuffer.size();
    FBuffer.resize(kept + ReadSize);
    const qint64 got = FDevice.read(FBuffer.data() + kept, ReadSize);
    FBuffer.truncate(kept + std::max<qint64>(got, 0));
    if (got < 0) {
        FReadError = FDevice.errorString();
        if (FReadError.isEmpty()) FReadError = QStringLiteral("Lesefehler");
    }
    return got > 0;
}

char TCsvReader::GuessSeparator() {
    while (!FBuffer.contains('\n') && FBuffer.size() < HeaderLookAhead && Fill()) {
    }
    qsizetype end = FBuffer.indexOf('\n');
    if (end < 0 || end > HeaderLookAhead) end = std::min(FBuffer.size(), HeaderLookAhead);
    const QByteArrayView header = QByteArrayView(FBuffer).first(end);
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

void TCsvReader::Resume(qint64 line, qsizetype firstBreak) {
    FLine = line + 1;
    if (firstBreak >= 0) {
        FPos += firstBreak + 1;
    } else {
        FPos = FBuffer.size();
        FSkipping = true;
    }
}

// Drops what is left of an over-long line, a read at a time, keeping nothing.
bool TCsvReader::SkipLine() {
    for (;;) {
        const char *start = FBuffer.constData() + FPos;
        if (const void *end = std::memchr(start, '\n', std::size_t(FBuffer.size() - FPos))) {
            FPos += static_cast<const char *>(end) - start + 1;
            FSkipping = false;
            return true;
        }
        FPos = FBuffer.size();
        if (!Fill()) return false;
    }
}

// A line break inside quotes belongs to the record; a doubled quote opens and closes again.
bool TCsvReader::NextRecord(QByteArray &record, qint64 &line, TRecordFault &fault) {
    SkipByteOrderMark();
    if (FSkipping && !SkipLine()) return false;
    if (FPos >= FBuffer.size() && !Fill()) return false;
    line = FLine;
    fault = TRecordFault::None;
    bool quoted = false, ended = false;
    int breaks = 0;
    qsizetype at = 0, firstBreak = -1; // from FPos, which a read may move
    for (;;) {
        const char *data = FBuffer.constData() + FPos;
        const qsizetype available = FBuffer.size() - FPos;
        for (; at < available; ++at) {
            if (!quoted) {
                // Up to the line break at once, unless a quote comes first.
                const void *lineBreak = std::memchr(data + at, '\n', std::size_t(available - at));
                const qsizetype stop =
                    lineBreak ? static_cast<const char *>(lineBreak) - data : available;
                const void *quote = std::memchr(data + at, '"', std::size_t(stop - at));
                if (!quote) {
                    at = stop;
                    if (!lineBreak) break;
                    ++breaks;
                    if (firstBreak < 0) firstBreak = at;
                    ended = true;
                    break;
                }
                at = static_cast<const char *>(quote) - data;
            }
            if (data[at] == '"') {
                quoted = !quoted;
            } else if (data[at] == '\n') {
                ++breaks;
                if (firstBreak < 0) firstBreak = at;
                if (!quoted) {
                    ended = true;
                    break;
                }
            }
        }
        if (ended || at > FLimit || !Fill()) break;
    }
    if (at > FLimit) {
        fault = firstBreak >= 0 && firstBreak <= FLimit ? TRecordFault::LongRecord
                                                        : TRecordFault::LongLine;
        Resume(line, firstBreak);
        return true;
    }
    if (quoted) {
        fault = TRecordFault::OpenQuote;
        Resume(line, firstBreak);
        FSkipping = false; // nothing is left to drop: the input ended
        return true;
    }
    qsizetype length = at;
    if (length > 0 && FBuffer[FPos + length - 1] == '\r') --length;
    record.append(FBuffer.constData() + FPos, length);
    FPos += ended ? at + 1 : at;
    FLine += breaks;
    return true;
}

bool TCsvReader::Next(QList<QString> &fields, qint64 &line, TRecordFault &fault) {
    QByteArray record;
    if (!NextRecord(record, line, fault)) return false;
    SplitRecord(record, FSeparator, fields);
    return true;
}

bool SplitRecord(QByteArrayView record, char separator, QList<QString> &fields,
                 qsizetype maxFields) {
    fields.clear();
    for (qsizetype at = 0;; ++at) {
        if (fields.size() == maxFields) return false;
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
        if (at >= record.size()) return true;
    }
}

int RunBatch(const TCommandLine &line, QIODevice &in, TRunContext &run) {
    std::optional<TDescriptorDevice> file;
    QIODevice *source = &in;
    if (line.Batch != QLatin1String("-")) {
        QString reason;
        const int fd = OpenRegularFile(line.Batch, reason);
        if (fd < 0) {
            run.Report(QStringLiteral("--csv"),
                       QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: %2")
                           .arg(line.Batch, reason));
            return esBadInput;
        }
        source = &file.emplace(fd, QIODevice::ReadOnly, true);
    }
    const auto readFailed = [&](const TCsvReader &reader) {
        run.Report(QStringLiteral("--csv"),
                   (line.Batch == QLatin1String("-")
                        ? QStringLiteral("Die Standardeingabe")
                        : QStringLiteral("Die Datei „%1“").arg(line.Batch)) +
                       QStringLiteral(" lässt sich nicht zu Ende lesen: ") + reader.ReadError());
        return esFailed;
    };
    TCsvReader reader(*source);
    reader.SetSeparator(reader.GuessSeparator());
    QByteArray record;
    QList<QString> header;
    qint64 number = 0;
    TRecordFault fault = TRecordFault::None;
    if (!reader.NextRecord(record, number, fault)) {
        if (!reader.ReadError().isEmpty()) return readFailed(reader);
        run.Report(QStringLiteral("--csv"), QStringLiteral("die Kopfzeile fehlt"));
        return esUsage;
    }
    TColumns columns;
    std::optional<QString> problem;
    if (fault == TRecordFault::OpenQuote)
        problem = QStringLiteral("das Anführungszeichen der Kopfzeile wird nicht geschlossen");
    else if (fault != TRecordFault::None)
        problem = QStringLiteral("die Kopfzeile ist länger als %1").arg(SizeText(MaxRecordBytes));
    else if (!SplitRecord(record, reader.Separator(), header))
        problem = QStringLiteral("die Kopfzeile hat mehr als %1 Spalten").arg(MaxColumns);
    else
        problem = MapColumns(line, header, columns);
    if (problem) {
        run.Report(QStringLiteral("Zeile %1").arg(number), *problem);
        return esUsage;
    }
    TBatch batch(line, run, std::move(columns), reader.Separator());
    batch.Header();
    int status = esDone;
    TBlock current, next;
    std::size_t rows = FirstBlockRows;
    for (ReadBlock(reader, current, rows); current.Count > 0 && !run.Out().Failed();
         std::swap(current, next)) {
        TBlockCalculation calculation(batch, current);
        ReadBlock(reader, next, rows);
        calculation.Wait();
        if (!batch.Emit(current)) status = esBadInput;
        // Each block goes out whole before the next is printed: nothing waits in between.
        run.Out().Flush();
        qsizetype results = 1;
        for (std::size_t slice = 0; slice < current.SliceEnds.size(); ++slice)
            results += current.Results[slice].Size();
        rows =
            std::clamp<std::size_t>(std::size_t(ResultBytes) * current.Count / std::size_t(results),
                                    FirstBlockRows, BlockRows);
    }
    if (!reader.ReadError().isEmpty() && !run.Out().Failed()) return readFailed(reader);
    return status;
}
