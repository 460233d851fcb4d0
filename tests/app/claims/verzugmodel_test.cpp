// The statement's table model under Qt's model checker, over the worked cases one after the
// other and back to no statement: every index, role and reset consistent, and the user's own
// base rate marked in its cell's tool tip only.

#include "app/claims/verzugmodel.h"

#include "engine/fixedtext.h"
#include "report/errortext.h"
#include "report/statement.h"
#include "tests/app/claims/workedcases.h"
#include "tests/support/fixtures.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace {

TDateTime Typed(const char *day) {
    const QString digits = QString::fromLatin1(day);
    return MakeDateSerial(digits.mid(4).toInt(), digits.mid(2, 2).toInt(), digits.left(2).toInt());
}

// The case as the window reads it from its inputs.
TDefaultInterestStatement Statement(const TCase &c, const TBaseRateTable &rates) {
    TDefaultInterestInput input;
    input.Claim =
        CentsFromAmount(QString::fromLatin1(c.Amount).replace(u',', u'.').toDouble()).value_or(0);
    input.FirstDay = Typed(c.First);
    input.LastDay = Typed(c.Last);
    input.Rule.Kind = c.Rule;
    input.Rule.ClaimBefore29072014 = c.Before29072014;
    if (*c.Rate) {
        EXPECT_FALSE(ReadTypedRate(QString::fromLatin1(c.Rate), input.Rule.Value));
    }
    input.DayCount = c.Count;
    input.LastDayCounts = c.PaymentDay;
    input.FlatFee = c.FlatFee && FlatFeeOffered(input.Rule);
    return {input, CalculateDefaultInterest(input, rates), rates.Reach()};
}

} // namespace

TEST(StatementModel, PassesQtsModelCheckOverTheWorkedCases) {
    const GermanLocale de;
    // The user's own rate of the golden files' cases.
    const TBaseRateTable rates =
        ShippedBaseRates().MergedWith({{MakeDateSerial(2027, 1, 1), 157, true}});
    TStatementModel model;
    const QAbstractItemModelTester tester(&model,
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    for (const TCase &c : Cases) {
        SCOPED_TRACE(c.Name);
        const TDefaultInterestStatement statement = Statement(c, rates);
        ASSERT_FALSE(statement.Result.Error) << ErrorText(statement.Result.Error).toStdString();
        model.SetStatement(statement);
        ASSERT_EQ(model.rowCount(), int(statement.Result.Rows.size()));
        ASSERT_EQ(model.columnCount(), StatementColumns);
        for (int row = 0; row < model.rowCount(); ++row) {
            const bool userRate = statement.Result.Rows[size_t(row)].UserBaseRate;
            for (int column = 0; column < model.columnCount(); ++column) {
                const QModelIndex cell = model.index(row, column);
                EXPECT_FALSE(cell.data().toString().isEmpty()) << row << "/" << column;
                EXPECT_EQ(cell.data(Qt::ToolTipRole).isValid(), userRate && column == colBaseRate)
                    << row << "/" << column;
            }
        }
    }
    model.SetStatement({});
    EXPECT_EQ(model.rowCount(), 0);
}
