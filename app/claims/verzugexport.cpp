#include "app/claims/verzugexport.h"

#include "platform/base/files.h"
#include "report/statement.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

void PaintStatement(const TDefaultInterestStatement &statement, QPagedPaintDevice &device) {
    QTextDocument document;
    // Laid out in the device's own resolution, so that the point sizes come out as points.
    document.documentLayout()->setPaintDevice(&device);
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setHtml(StatementPageHtml(statement, CurrentDateSerial()));
    const QSizeF page(device.width(), device.height());
    document.setPageSize(page);
    QPainter painter(&device);
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0) device.newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
}

QByteArray StatementPdf(const TDefaultInterestStatement &statement) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Zinsaufstellung"));
        writer.setCreator(QStringLiteral("Tarvo"));
        PaintStatement(statement, writer);
    }
    return buffer.data();
}

QString WriteExportFile(const QString &path, const QByteArray &data) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    QString reason;
    if (!folder.exists())
        reason = QStringLiteral("Den Ordner „%1“ gibt es nicht.")
                     .arg(QDir::toNativeSeparators(folder.filePath()));
    else if (!folder.isDir())
        reason = QStringLiteral("„%1“ ist kein Ordner.")
                     .arg(QDir::toNativeSeparators(folder.filePath()));
    if (reason.isEmpty()) reason = ReplaceFile(path, data);
    if (reason.isEmpty()) return {};
    return QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
