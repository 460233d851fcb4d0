// The default-interest window from the request to its first paint: made and shown as the bar
// makes it the first time it is asked for, and shown again once it exists. The first opening in
// a running program (the bar shown, nothing of the window's kind made yet) is measured once,
// first. Runs offscreen, on settings and data in the fake services' folders.

#include "app/mrvmain.h"
#include "app/verzug.h"

#include <QApplication>
#include <QEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Notes the first paint of the window, or of any default-interest window.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QObject *window) : FWindow(window) { window->installEventFilter(this); }
    void Wait() {
        while (!FPainted)
            QCoreApplication::processEvents();
        FPainted = false;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint &&
            (watched == FWindow || (FWindow == qApp && dynamic_cast<TVerzugForm *>(watched))))
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
        form.reset(); // stores its settings: not part of opening
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

} // namespace
