#include "app/forderung/forderungexport.h"

#include "platform/base/exceptions.h"
#include "platform/base/files.h"
#include "platform/base/modules.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

void PaintClaims(const TClaimsReport &report, TDateTime madeOn, QPagedPaintDevice &device) {
    // Eleven columns want the page's width.
    device.setPageOrientation(QPageLayout::Landscape);
    QTextDocument document;
    // Laid out in the device's own resolution, so that the point sizes come out as points.
    document.documentLayout()->setPaintDevice(&device);
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    document.setHtml(ClaimsPageHtml(report, madeOn));
    // The foot of each page keeps a line for the page number.
    const qreal foot = QFontMetricsF(font, &device).height() * 2;
    const QSizeF page(device.width(), device.height() - foot);
    document.setPageSize(page);
    const int pages = document.pageCount();
    QPainter painter(&device);
    painter.setFont(font);
    for (int index = 0; index < pages; ++index) {
        if (index > 0) device.newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
        painter.drawText(QRectF(0, page.height(), page.width(), foot),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Seite %1 von %2").arg(index + 1).arg(pages));
    }
}

QByteArray ClaimsPdf(const TClaimsReport &report, TDateTime madeOn) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(QStringLiteral("Forderungsaufstellung"));
        writer.setCreator(QStringLiteral("Tarvo"));
        PaintClaims(report, madeOn, writer);
    }
    return buffer.data();
}

QString WriteClaimsExport(const QString &path, const QByteArray &data) {
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

bool PrintClaimsPages(QWidget *parent, const QString &title, const TPaintPages &paint,
                      const TSaveFile &save, const TChoosePrinter &choose) {
    static QString tried;
    static const auto entry = reinterpret_cast<TPrintEntry>(
        LoadModuleEntry(QStringLiteral("tarvo-print"), PrintEntryName, tried));
    if (!entry) {
        ReportException(Exception(
            QStringLiteral("Drucken ist nicht möglich: Das Druckmodul „%1.so“ fehlt.").arg(tried)));
        return false;
    }
    return entry(parent, title, QStringLiteral("Forderungsaufstellung"), paint, save, choose);
}
