// The floor a batch is measured against: what any program must do to answer a batch, and
// nothing more. It reads the CSV from standard input in large pieces, splits each row into its
// fields, parses them (amounts to cents, dates to day numbers, rates, names and switches
// compared) and writes fixed bytes, as many as the program's own answer has, to standard output.
//
//   batch_floor zinsen|verzug OUTPUT_BYTES
//
// Every row gets OUTPUT_BYTES / rows bytes, the rest comes at the end, so that both programs
// hand the same amount to the kernel.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t ReadSize = 1 << 20;
constexpr std::size_t WriteSize = 1 << 20;

std::int64_t Cents(const char *p, const char *end) {
    std::int64_t whole = 0, cents = 0;
    int decimals = -1;
    for (; p < end; ++p) {
        if (*p == ',') {
            decimals = 0;
        } else if (*p >= '0' && *p <= '9') {
            if (decimals < 0) {
                whole = whole * 10 + (*p - '0');
            } else if (decimals < 2) {
                cents = cents * 10 + (*p - '0');
                ++decimals;
            }
        }
    }
    if (decimals == 1) cents *= 10;
    return whole * 100 + cents;
}

// "TT.MM.JJJJ" as days since 1970-01-01.
std::int64_t Day(const char *p, const char *end) {
    if (end - p != 10) return 0;
    const auto two = [](const char *q) { return (q[0] - '0') * 10 + (q[1] - '0'); };
    const int d = two(p), m = two(p + 3);
    int y = two(p + 6) * 100 + two(p + 8);
    y -= m <= 2;
    const int era = y / 400, yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    return std::int64_t(era) * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
}

std::int64_t Word(const char *p, const char *end, const char *const *words, int count) {
    for (int i = 0; i < count; ++i)
        if (std::size_t(end - p) == std::strlen(words[i]) && std::memcmp(p, words[i], end - p) == 0)
            return i + 1;
    return 0;
}

class TWriter {
public:
    explicit TWriter(std::size_t total) : FLeft(total), FBuffer(WriteSize + 4096, 'x') {}
    ~TWriter() { Flush(); }

    void Row(std::size_t bytes) {
        bytes = std::min(bytes, FLeft);
        FLeft -= bytes;
        while (bytes > 0) {
            const std::size_t part = std::min(bytes, FBuffer.size() - FUsed);
            FUsed += part; // the bytes are there already: fixed bytes
            bytes -= part;
            if (FUsed >= WriteSize) Flush();
        }
    }
    void Rest() { Row(FLeft); }

private:
    void Flush() {
        for (std::size_t at = 0; at < FUsed;) {
            const ssize_t wrote = ::write(1, FBuffer.data() + at, FUsed - at);
            if (wrote <= 0) std::exit(1);
            at += std::size_t(wrote);
        }
        FUsed = 0;
    }

    std::size_t FLeft;
    std::vector<char> FBuffer;
    std::size_t FUsed = 0;
};

// The fields of one row: parsed, and folded into a sum that the program prints to standard
// error, so that no parse can be left out by the compiler.
std::int64_t Parse(const char *row, const char *end, bool zinsen) {
    static const char *const formulas[] = {"euro", "deutsche", "englische"};
    static const char *const switches[] = {"ja", "nein", ""};
    std::int64_t sum = 0;
    int field = 0;
    for (const char *p = row; p <= end; ++field) {
        const char *stop = static_cast<const char *>(std::memchr(p, ';', std::size_t(end - p)));
        if (!stop) stop = end;
        switch (field) {
        case 0:
            sum += Cents(p, stop);
            break;
        case 1:
        case 2:
            sum += Day(p, stop);
            break;
        case 3:
            sum += zinsen ? Cents(p, stop) : Word(p, stop, switches, 3);
            break;
        default:
            sum += zinsen ? Word(p, stop, formulas, 3) : Word(p, stop, switches, 3);
            break;
        }
        p = stop + 1;
    }
    return sum;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: batch_floor zinsen|verzug OUTPUT_BYTES ROWS\n");
        return 2;
    }
    const bool zinsen = std::strcmp(argv[1], "zinsen") == 0;
    const std::size_t total = std::strtoull(argv[2], nullptr, 10);
    const std::size_t rows = std::max<std::size_t>(std::strtoull(argv[3], nullptr, 10), 1);
    TWriter out(total);
    std::vector<char> buffer(ReadSize * 2);
    std::size_t kept = 0;
    std::int64_t sum = 0;
    bool header = true;
    for (;;) {
        if (kept == buffer.size()) buffer.resize(buffer.size() * 2); // a row longer than a read
        const ssize_t got =
            ::read(0, buffer.data() + kept, std::min(ReadSize, buffer.size() - kept));
        if (got < 0) return 1;
        const std::size_t size = kept + std::size_t(got);
        const char *p = buffer.data(), *end = p + size;
        for (;;) {
            const char *line =
                static_cast<const char *>(std::memchr(p, '\n', std::size_t(end - p)));
            if (!line) {
                if (got > 0) break;
                line = end; // the last row without its line break
                if (p == end) break;
            }
            if (!header) {
                sum += Parse(p, line, zinsen);
                out.Row(total / rows);
            }
            header = false;
            p = line < end ? line + 1 : end;
        }
        kept = std::size_t(end - p);
        std::memmove(buffer.data(), p, kept);
        if (got == 0) break;
    }
    out.Rest();
    std::fprintf(stderr, "%lld\n", static_cast<long long>(sum));
    return 0;
}
