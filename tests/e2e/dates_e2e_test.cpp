// Dates typed and pasted into the running bar through the real keyboard and clipboard of a
// private X display: a date that cannot be read stops the calculation with one message and
// leaves the clipboard and the result as they were; a pasted ISO date, a blank end field and the
// end field's first date calculate as expected.

#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

const QString NoDate = QStringLiteral("ist kein gültiges Datum");

class DatesInTheBar : public OnXDisplay {
protected:
    void SetUp() override {
        OnXDisplay::SetUp();
        if (!IsSkipped()) Restart();
    }
    void TearDown() override { EndOwner(); }
    void EndOwner() {
        if (owner) owner->kill(), owner->waitForFinished(5000);
    }
    // A fresh copy of the program, once the last one and the clipboard's owner have ended.
    void Restart() {
        EndOwner();
        if (tarvo) {
            tarvo->Terminate();
            ASSERT_TRUE(tarvo->WaitForEnd(10000));
        }
        tarvo = Start();
        bar = x.Window(QStringLiteral("Tarvo 2.3 Freeware"));
        ASSERT_FALSE(bar.isEmpty());
    }

    // Puts the text on the clipboard from another program, which keeps it there.
    void OwnClipboard(const QString &text) {
        owner = std::make_unique<QProcess>();
        owner->setProcessEnvironment(x.Environment(home));
        owner->start(DISPLAY_PROBE_EXE, {"own", text});
        ASSERT_TRUE(owner->waitForReadyRead(10000));
        ASSERT_EQ(owner->readLine().trimmed(), "owned");
    }
    QString Clipboard() const { return x.Run(DISPLAY_PROBE_EXE, {}); }
    // A digest of the pixels of the result, right-aligned at 463 in the row of the fields.
    QString ResultPixels() const {
        return x.Run(DISPLAY_PROBE_EXE,
                     {"grab", QString::number(bar.toULongLong()), "400", "24", "64", "13"});
    }
    void Type(const QString &text) const {
        if (!text.isEmpty()) x.Xdotool({"type", "--delay", "20", text});
    }
    void Key(const char *key) const { x.Xdotool({"key", key}); }
    // Amount, start, end and rate, each typed into its field and left with Enter: leaving the
    // rate field calculates. A null end leaves the end field as it is, an empty one blanks it.
    void Calculate(const QString &start, const QString &end) {
        x.Click(bar, 8 + 40, 22 + 8);
        for (const QString &text : {QStringLiteral("1000"), start, end, QStringLiteral("10")}) {
            if (&text == &end && end.isEmpty() && !end.isNull()) Key("Delete");
            Type(text);
            Key("Return");
        }
    }
    int Messages() { return int(tarvo->Trace().count(NoDate)); }

    std::unique_ptr<Copy> tarvo;
    QString bar;
    std::unique_ptr<QProcess> owner;
};

// 1000 at 10 % under EURO from 15.01.2005 to 15.03.2005.
const QString Example = QStringLiteral("16,40");

TEST_F(DatesInTheBar, AnUnreadableDateStopsTheCalculationWithOneMessage) {
    const struct {
        QString start, end, mended;
    } cases[] = {
        {"1503", "15032005", "15012005"},     // part of a date
        {"", "15032005", "15012005"},         // a blank start
        {"15012005", "30022026", "15032005"}, // no such day
    };
    for (const auto &c : cases) {
        const QString what = c.start + u'|' + c.end;
        if (&c != cases) Restart();
        const QString result = ResultPixels();
        OwnClipboard(QStringLiteral("Wächter"));
        Calculate(c.start, c.end);
        ASSERT_TRUE(tarvo->WaitForTrace(QStringLiteral("%1 QMessageBox").arg(windowShown), 10000))
            << what.toStdString() << tarvo->Trace().toStdString();
        QThread::msleep(300); // time for a second message, were there one
        EXPECT_EQ(Messages(), 1) << what.toStdString() << tarvo->Trace().toStdString();
        EXPECT_EQ(Clipboard(), "Wächter") << what.toStdString();
        // The message stands over the result; once it is closed, the result shows again as it
        // was, and the faulty field has the focus with its text selected: typing replaces it,
        // and Berechnen then calculates.
        Key("Return");
        EXPECT_TRUE(Eventually([&] { return ResultPixels() == result; })) << what.toStdString();
        Type(c.mended);
        x.Click(bar, 483 + 50, 19 + 7);
        QString clipboard;
        EXPECT_TRUE(Eventually([&] { return (clipboard = Clipboard()) == Example; }))
            << what.toStdString() << " " << clipboard.toStdString();
        EXPECT_EQ(Messages(), 1) << what.toStdString();
    }
}

TEST_F(DatesInTheBar, APastedIsoDateCalculatesAsIfTyped) {
    OwnClipboard(QStringLiteral("2005-01-15"));
    x.Click(bar, 110 + 30, 22 + 8);
    Key("ctrl+v");
    Calculate(QString(), QStringLiteral("15032005")); // the start as pasted
    QString clipboard;
    EXPECT_TRUE(Eventually([&] { return (clipboard = Clipboard()) == Example; }))
        << clipboard.toStdString() << tarvo->Trace().toStdString();
    EXPECT_EQ(Messages(), 0);
}

// Ten days at 10 % on 1000 under EURO are 2,78; nine would be 2,50.
TEST_F(DatesInTheBar, TheEndFieldStartsOnTodayAndABlankOneIsToday) {
    const QString tenDaysAgo = QDate::currentDate().addDays(-10).toString("ddMMyyyy");
    for (const QString &end : {QString(), QStringLiteral("")}) {
        if (!end.isNull()) Restart();
        Calculate(tenDaysAgo, end);
        QString clipboard;
        EXPECT_TRUE(Eventually([&] { return (clipboard = Clipboard()) == "2,78"; }))
            << (end.isNull() ? "as started" : "blank") << " " << clipboard.toStdString();
        EXPECT_EQ(Messages(), 0) << tarvo->Trace().toStdString();
    }
}

} // namespace
