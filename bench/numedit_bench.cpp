// The bar's fields as held-down keys use them: one typed character from the key event to the
// repainted field, each beside a plain QLineEdit of the same size, font and text, which is the
// toolkit's own cost for the same key; and a read of Value, which commits the edit text.

#include "editors/dateedit.h"
#include "editors/numedit.h"
#include "tests/support/fixtures.h"

#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// Makes the field of the bar's kind; the plain line edit needs nothing beyond its text.
void Configure(TCurrencyEdit &edit) {
    edit.SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
    edit.SetCtl3D(false);
}
void Configure(TDateEdit &edit) {
    edit.SetYearDigits(TYearDigits::dyFour);
    edit.SetCtl3D(false);
}
void Configure(QLineEdit &) {}

// A shown, focused field of the bar's size and font under German settings, holding `text`.
template <typename Edit> class Field {
public:
    explicit Field(const char *text) : FGerman(TFormatSettings::German()), FEdit(MakeEdit()) {
        FWindow.setGeometry(100, 100, 300, 60);
        FEdit->setGeometry(10, 10, 89, 21);
        FEdit->setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
        Configure(*FEdit);
        FWindow.show();
        FWindow.activateWindow();
        if (!QTest::qWaitForWindowActive(&FWindow)) qFatal("window not active");
        FEdit->setFocus();
        FEdit->selectAll();
        QTest::keyClicks(FEdit, text);
    }
    Edit &Get() { return *FEdit; }

private:
    Edit *MakeEdit() {
        if constexpr (std::is_same_v<Edit, QLineEdit>)
            return new Edit(&FWindow);
        else
            return new Edit(nullptr, &FWindow);
    }
    PinnedSettings FGerman;
    QWidget FWindow;
    Edit *FEdit;
};

// Replaces the text's last character by `key` again and again, so that the text stays alike.
template <typename Edit> void TypeOneCharacter(benchmark::State &state, const char *text) {
    Field<Edit> field(text);
    Edit &edit = field.Get();
    const int last = int(std::strlen(text)) - 1;
    const QString expected = QString::fromLatin1(text, last) + QLatin1Char('6');
    for (auto _ : state) {
        edit.setSelection(last, 1);
        QTest::keyClick(&edit, Qt::Key_6);
        edit.repaint();
    }
    if (edit.text() != expected) state.SkipWithError("the key was not taken");
}
constexpr auto TypeIntoField = TypeOneCharacter<TCurrencyEdit>;
constexpr auto TypeIntoQLineEdit = TypeOneCharacter<QLineEdit>;
constexpr auto TypeIntoDateField = TypeOneCharacter<TDateEdit>;
BENCHMARK_CAPTURE(TypeIntoField, amount, "1234,5")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TypeIntoQLineEdit, amount, "1234,5")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TypeIntoDateField, date, "07.12.2025")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(TypeIntoQLineEdit, date, "07.12.2025")->Unit(benchmark::kMicrosecond);

void BM_ReadValue(benchmark::State &state) {
    Field<TCurrencyEdit> field("1234,5");
    TCurrencyEdit &edit = field.Get();
    for (auto _ : state)
        benchmark::DoNotOptimize(edit.Value());
    if (edit.Value() != 1234.5L) state.SkipWithError("wrong value");
}
BENCHMARK(BM_ReadValue)->Unit(benchmark::kMicrosecond);

} // namespace
