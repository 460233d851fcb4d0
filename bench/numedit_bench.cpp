// The money field as held-down keys and the calculation use it: one typed character from the
// key event to the repainted field, and a read of Value, which commits the edit text.

#include "editors/numedit.h"
#include "tests/support/fixtures.h"

#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// A shown, focused field of the main window's kind under German settings.
class Field {
public:
    Field() : FGerman(TFormatSettings::German()), FEdit(nullptr, &FWindow) {
        FWindow.setGeometry(100, 100, 300, 60);
        FEdit.setGeometry(10, 10, 89, 21);
        FEdit.SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
        FEdit.SetCtl3D(false);
        FWindow.show();
        FWindow.activateWindow();
        if (!QTest::qWaitForWindowActive(&FWindow)) qFatal("window not active");
        FEdit.setFocus();
        QTest::keyClicks(&FEdit, "1234,5");
    }
    TCurrencyEdit &Edit() { return FEdit; }

private:
    PinnedSettings FGerman;
    QWidget FWindow;
    TCurrencyEdit FEdit;
};

void BM_TypeOneCharacter(benchmark::State &state) {
    Field field;
    TCurrencyEdit &edit = field.Edit();
    for (auto _ : state) {
        edit.setSelection(5, 1); // the last decimal, replaced by the key: the text stays alike
        QTest::keyClick(&edit, Qt::Key_6);
        edit.repaint();
    }
    if (edit.text() != QLatin1String("1234,6")) state.SkipWithError("the key was not taken");
}
BENCHMARK(BM_TypeOneCharacter)->Unit(benchmark::kMicrosecond);

void BM_ReadValue(benchmark::State &state) {
    Field field;
    TCurrencyEdit &edit = field.Edit();
    for (auto _ : state)
        benchmark::DoNotOptimize(edit.Value());
    if (edit.Value() != 1234.5L) state.SkipWithError("wrong value");
}
BENCHMARK(BM_ReadValue)->Unit(benchmark::kMicrosecond);

} // namespace
