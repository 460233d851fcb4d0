#include "report/claims.h"

#include "tests/support/golden.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TClaimsReport reportOf(const char *fixture) {
    QFile file(QStringLiteral(TARVO_ENGINE_TEST_DATA "/") + QLatin1String(fixture));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fixture;
    TClaimsReport report;
    const TEngineError error = ReadCaseFile(file.readAll(), EmptyDate, report.File);
    EXPECT_FALSE(error) << fixture;
    report.Statement = CalculateClaims(report.File.Case, ShippedBaseRates());
    EXPECT_FALSE(report.Statement.Error) << fixture;
    report.Reach = ShippedBaseRates().Reach();
    return report;
}

} // namespace

// Every rendering of the worked case files, against their golden files.
TEST(ClaimsReport, RendersTheWorkedCases) {
    for (const char *name : {"mueller-schmidt", "huber-gruber"}) {
        SCOPED_TRACE(name);
        const TClaimsReport report = reportOf((QByteArray(name) + ".tarvo").constData());
        const QString folder = QStringLiteral("forderung/") + QLatin1String(name) + u'/';
        Golden(folder + "kopie.txt", ClaimsText(report).toUtf8());
        Golden(folder + "kopie.html", ClaimsHtml(report).toUtf8());
        Golden(folder + "aufstellung.csv", ClaimsCsv(report));
        Golden(folder + "antrag.txt", ApplicationText(report).toUtf8());
        Golden(folder + "tarvo-zins.text", ClaimsAlignedText(report).toUtf8());
        Golden(folder + "tarvo-zins.json", ClaimsJson(report).toUtf8());
    }
}
