// The default-interest window from the request to its first paint: made and shown as the bar
// makes it the first time it is asked for, and shown again once it exists. The first opening in
// a running program (the bar shown, nothing of the window's kind made yet) is measured once,
// first. Runs offscreen, on settings and data in the fake services' folders.

#include "app/bar/mrvmain.h"
#include "app/claims/verzug.h"
#include "app/windows.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Notes the first paint of the window, or of any default-interest window.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QObject *window) : FWindow(window) { qApp->installEventFilter(this); }
    void Wait() {
        while (!FPainted)
            QCoreApplication::processEvents();
        FPainted = false;
    }

protected:
    // The window's controls cover all of it: a paint of any of them is the window's.
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
        const QWidget *window = static_cast<QWidget *>(watched)->window();
        if (window == FWindow || (FWindow == qApp && dynamic_cast<const TVerzugForm *>(window)))
            FPainted = true;
        return false;
    }

private:
    QObject *FWindow;
    bool FPainted = false;
};

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// From the bar's request to the window's first paint, the first time in a running program:
// once only, since only the first time makes nothing of the window's kind yet.
void BM_FirstOpeningInARunningProgram(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        TForm1 bar;
        AddFurtherWindows(bar);
        PaintWatch barPainted(&bar);
        bar.show();
        barPainted.Wait();
        Settle();
        PaintWatch watch(qApp);
        state.ResumeTiming();
        bar.OpenWindow(QStringLiteral("verzug"));
        watch.Wait();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstOpeningInARunningProgram)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenToFirstPaint(benchmark::State &state) {
    for (auto _ : state) {
        auto form = std::make_unique<TVerzugForm>();
        PaintWatch watch(form.get());
        form->show();
        watch.Wait();
        state.PauseTiming();
        Settle();
        form.reset(); // not part of opening
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_ShowAgainToFirstPaint(benchmark::State &state) {
    TVerzugForm form;
    PaintWatch watch(&form);
    for (auto _ : state) {
        form.show();
        watch.Wait();
        state.PauseTiming();
        Settle();
        form.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowAgainToFirstPaint)->Unit(benchmark::kMillisecond);

// A key in the amount while a statement stands: each key makes the statement anew (a digit
// typed and taken back: two statements an iteration).
void BM_KeyInTheAmountRecalculates(benchmark::State &state) {
    TVerzugForm form;
    auto *amount = dynamic_cast<TCurrencyEdit *>(form.findChild<QWidget *>("Amount"));
    auto *firstDay = dynamic_cast<TDateEdit *>(form.findChild<QWidget *>("FirstDay"));
    auto *lastDay = dynamic_cast<TDateEdit *>(form.findChild<QWidget *>("LastDay"));
    amount->SetValue(3089);
    firstDay->SetText(QStringLiteral("17.04.2025"));
    form.show();
    Settle();
    lastDay->SetText(QStringLiteral("20.02.2026"));
    amount->setFocus();
    Settle();
    const auto key = [&](int code, const QString &text) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QCoreApplication::sendEvent(amount, &press);
        QCoreApplication::sendEvent(amount, &release);
    };
    key(Qt::Key_End, QString()); // entering selected the amount
    for (auto _ : state) {
        key(Qt::Key_1, QStringLiteral("1"));
        key(Qt::Key_Backspace, QString());
    }
    if (form.Statement().Result.Rows.size() != 3) state.SkipWithError("no statement");
}
BENCHMARK(BM_KeyInTheAmountRecalculates)->Unit(benchmark::kMicrosecond);

} // namespace
