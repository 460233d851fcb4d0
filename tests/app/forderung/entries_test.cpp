// What the entry cells take: amounts and days as users type them, and the cell a fault names.

#include "app/forderung/entries.h"

#include "dates/dateserial.h"

#include <gtest/gtest.h>

TEST(EntryCells, AmountsAsTyped) {
    const struct {
        const char *typed;
        std::optional<TCents> cents;
    } cases[] = {
        {"4.250,00", 425000}, {"4250", 425000},
        {"4250.5", 425050},   {"1.000", 100000},
        {"1'234.50", 123450}, {"980,50 €", 98050},
        {"EUR 12", 1200},     {"-5", -500},
        {"0,005", {}},        {"12,345", {}},
        {"abc", {}},          {"", {}},
        {"1,2,3", {}},        {"99999999999999999", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseTypedCents(QString::fromUtf8(c.typed)), c.cents) << c.typed;
}

TEST(EntryCells, DaysAsTyped) {
    const TDateTime day = MakeDateSerial(2025, 4, 17);
    const struct {
        const char *typed;
        std::optional<TDateTime> day;
    } cases[] = {
        {"17.04.2025", day}, {"17.4.25", day},      {"17042025", day},  {"170425", day},
        {"2025-04-17", day}, {" 17.04.2025 ", day}, {"31.04.2025", {}}, {"29022025", {}},
        {"17.04.", {}},      {"1704202", {}},       {"heute", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseTypedDate(QString::fromUtf8(c.typed)), c.day) << c.typed;
}

// Each cell that does not read stops the reading there, named with its row and column.
TEST(EntryCells, TheFirstCellThatDoesNotReadIsNamed) {
    const struct {
        TEntryTable table;
        int column;
        const char *text;
        const char *reason;
    } cases[] = {
        {TEntryTable::Claims, clAmount, "", "Bitte den Betrag der Forderung 2 eingeben."},
        {TEntryTable::Claims, clFirstDay, "32.01.2024",
         "„32.01.2024“ ist kein Datum (Forderung 2)."},
        {TEntryTable::Costs, coAmount, "zehn", "„zehn“ ist kein Betrag (Kosten 2)."},
        {TEntryTable::Costs, coDate, "", "Bitte das Datum der Kosten 2 eingeben."},
        {TEntryTable::Payments, paClaim, "zwei",
         "„zwei“ ist keine Nummer einer Forderung (Zahlung 2)."},
        {TEntryTable::Payments, paClaim, "0", "„0“ ist keine Nummer einer Forderung (Zahlung 2)."},
    };
    for (const auto &c : cases) {
        TEntryModel claims(TEntryTable::Claims), costs(TEntryTable::Costs),
            payments(TEntryTable::Payments);
        const auto fill = [](TEntryModel &model,
                             std::initializer_list<std::pair<int, const char *>> cells) {
            for (int row = 0; row < 2; ++row) {
                model.AddRow();
                for (const auto &[column, text] : cells)
                    model.setData(model.index(row, column), QString::fromUtf8(text));
            }
        };
        fill(claims, {{clAmount, "100"}, {clFirstDay, "01.01.2024"}});
        fill(costs, {{coAmount, "10"}, {coDate, "01.02.2024"}});
        fill(payments, {{paDate, "01.03.2024"}, {paAmount, "50"}, {paClaim, "1"}});
        TEntryModel &model = c.table == TEntryTable::Claims  ? claims
                             : c.table == TEntryTable::Costs ? costs
                                                             : payments;
        model.setData(model.index(1, c.column), QString::fromUtf8(c.text));
        TClaimsCase input;
        TEntryFault fault;
        EXPECT_FALSE(ReadEntries(claims, costs, payments, input, fault)) << c.reason;
        EXPECT_EQ(fault.Table, c.table);
        EXPECT_EQ(fault.Row, 1);
        EXPECT_EQ(fault.Column, c.column);
        EXPECT_EQ(fault.Reason, QString::fromUtf8(c.reason));
    }
}
