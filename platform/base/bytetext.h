#pragma once
// Text built in UTF-8 a piece at a time, where each piece costs a bounds check and a copy: the
// rows of a large batch. Its room grows as the text does and is kept when the text is
// truncated, so that a buffer written again and again allocates once.

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <memory>

class TByteText {
public:
    void Append(const char *data, qsizetype size) {
        if (size <= 0) return;
        char *at = Room(size);
        std::memcpy(at, data, std::size_t(size));
        FSize += size;
    }
    void Append(QByteArrayView text) { Append(text.data(), text.size()); }
    void Append(char c) {
        *Room(1) = c;
        ++FSize;
    }
    // A literal without its closing zero.
    template <std::size_t N> void Append(const char (&literal)[N]) { Append(literal, N - 1); }
    void AppendSpaces(qsizetype count) {
        if (count <= 0) return;
        std::memset(Room(count), ' ', std::size_t(count));
        FSize += count;
    }
    // Spaces before the text from `from` on, so that it ends where it ends now.
    void InsertSpaces(qsizetype from, qsizetype count) {
        if (count <= 0) return;
        Room(count);
        std::memmove(FData.get() + from + count, FData.get() + from, std::size_t(FSize - from));
        std::memset(FData.get() + from, ' ', std::size_t(count));
        FSize += count;
    }

    TByteText &operator+=(char c) {
        Append(c);
        return *this;
    }
    TByteText &operator+=(QByteArrayView text) {
        Append(text);
        return *this;
    }
    template <std::size_t N> TByteText &operator+=(const char (&literal)[N]) {
        Append(literal);
        return *this;
    }

    // Room for `size` more bytes after the text, for a writer that then takes them with Commit.
    char *Reserve(qsizetype size) { return Room(size); }
    void Commit(qsizetype size) { FSize += size; }

    qsizetype Size() const { return FSize; }
    bool IsEmpty() const { return FSize == 0; }
    void Truncate(qsizetype size) { FSize = std::min(FSize, size); }
    QByteArrayView View() const { return QByteArrayView(FData.get(), FSize); }
    QByteArray ToByteArray() const { return QByteArray(FData.get(), FSize); }

private:
    // Where `size` more bytes go.
    char *Room(qsizetype size) {
        if (FSize + size > FCapacity) Grow(FSize + size);
        return FData.get() + FSize;
    }
    void Grow(qsizetype needed) {
        const qsizetype capacity = std::max<qsizetype>({needed, FCapacity * 2, 256});
        std::unique_ptr<char[]> data(new char[std::size_t(capacity)]);
        if (FSize > 0) std::memcpy(data.get(), FData.get(), std::size_t(FSize));
        FData = std::move(data);
        FCapacity = capacity;
    }

    std::unique_ptr<char[]> FData;
    qsizetype FSize = 0, FCapacity = 0;
};
