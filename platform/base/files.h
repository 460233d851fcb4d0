#pragma once
// Whole files read and written safely. Only a regular file is read, and only up to a limit, so
// that a FIFO, a device or a runaway file can neither block the program nor fill its memory. A
// file is replaced only by a complete copy that reached the disk, so that a full disk or any
// other failed write leaves the old file as it was. Reasons come as German text.

#include <QByteArray>
#include <QString>

// Far beyond any file the program reads whole (a rates file, a download, a case file).
inline constexpr qint64 FileReadLimit = 16 * 1024 * 1024;

enum class TReadStatus { Read, Missing, Failed };

struct TFileRead {
    TReadStatus Status = TReadStatus::Failed;
    QByteArray Data;
    QString Reason; // why it failed, as "die Datei ist größer als 16 MiB"

    explicit operator bool() const { return Status == TReadStatus::Read; }
};

// Reads the whole file; a missing file is Missing, not Failed. Never blocks on a FIFO.
TFileRead ReadWholeFile(const QString &path, qint64 limit = FileReadLimit);

// Writes the data to a new file beside `path` ("<name>.XXXXXX"), syncs it and renames it over
// `path` (through a symbolic link to its target), keeping the old file's permissions. On any
// failure the new file is removed, `path` stays as it was and the reason is given; empty on
// success.
QString ReplaceFile(const QString &path, const QByteArray &data);

// The reason behind a system error number, in German ("kein Platz mehr auf dem Datenträger").
QString SystemErrorText(int error);
// The size in the message's words: "16 MiB", "512 KiB", "300 Bytes".
QString SizeText(qint64 bytes);
