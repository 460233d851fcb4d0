// The default-interest window from the request to its first paint: made and shown as the bar
// makes it the first time it is asked for, and shown again once it exists. The first opening in
// a running program (the bar shown, nothing of the window's kind made yet) is printed before the
// benchmarks. Runs offscreen, on settings and data in a temporary folder.

#include "app/mrvmain.h"
#include "app/verzug.h"
#include "platform/application.h"
#include "platform/formatsettings.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
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

// From the bar's request to the window's first paint, the first time in a running program.
double FirstOpeningMs() {
    TForm1 bar;
    PaintWatch barPainted(&bar);
    bar.show();
    barPainted.Wait();
    Settle();
    PaintWatch watch(qApp);
    QElapsedTimer timer;
    timer.start();
    bar.OpenWindow(QStringLiteral("verzug"));
    watch.Wait();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    Settle();
    return ms;
}

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

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = home.path() + u'/' + QString::fromLatin1(name);
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        qputenv(name, folder.toLocal8Bit());
    }
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Tarvo Bench"));
    ScopedFormatSettings german(TFormatSettings::German());
    std::printf("first opening in a running program: %.1f ms\n", FirstOpeningMs());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
