// The base-rates dialog as its table grows: one more rate typed in and entered with Enter
// while the dialog shows N rates of the user's. Each entry reads the file afresh under the
// lock, writes it back and shows the change, as the user's Eintragen does.

#include "app/claims/baseratesdialog.h"
#include "engine/fixedtext.h"
#include "engine/userrates.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void BM_EnterOneMoreRate(benchmark::State &state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(UserRatesFileName));
    TUserRatesFile file;
    TDateTime from = MakeDateSerial(2027, 1, 1);
    for (int i = 0; i < state.range(0); ++i, from = NextHalfYearStart(from)) {
        const TBaseRate rate{from, 100 + i % 500, true};
        file.Append({UserRateLine(rate), rate});
    }
    SaveUserRates(path, file);
    TBaseRateStore store(path);
    store.Load();
    TBaseRateDialog dialog(store);
    dialog.Open(EmptyDate);
    auto *halfYear = dynamic_cast<TDateEdit *>(dialog.findChild<QWidget *>("HalfYear"));
    auto *rate = dialog.findChild<QLineEdit *>("Rate");
    QCoreApplication::processEvents();
    for (auto _ : state) {
        halfYear->setFocus();
        QTest::keyClicks(halfYear, FormatDayDate(from).remove(u'.'));
        rate->setFocus();
        rate->selectAll();
        QTest::keyClicks(rate, QStringLiteral("1,25"));
        QTest::keyClick(rate, Qt::Key_Return);
        QCoreApplication::processEvents();
        from = NextHalfYearStart(from);
    }
    state.counters["rates"] = double(store.Table().Rates().size());
}
// 15,000 half-years reach the year 9500, near the calendar's end.
BENCHMARK(BM_EnterOneMoreRate)
    ->Arg(60)
    ->Arg(500)
    ->Arg(4000)
    ->Arg(15000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
