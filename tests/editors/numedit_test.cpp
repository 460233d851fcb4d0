// The number field: its text rules on their own, then the money field under real keys, pastes
// and focus moves with German settings, its unfocused painting by pixels, and a long run of
// random input that must never leave a text the field would not have let through.

#include "editors/numedit.h"
#include "editors/numedit_p.h"

#include "platform/base/exceptions.h"
#include "platform/gui/fonts.h"
#include "platform/base/numtext.h"
#include "tests/support/fixtures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

TEST(NumberText, WhatATypedKeyMayLeave) {
    GermanLocale de;
    const struct {
        const char *text;
        unsigned decimals;
        long double min, max;
        bool accepted;
    } cases[] = {
        {"1234,56", 2, 0, 0, true},  {"1234,567", 2, 0, 0, false}, {"1,2e5", 1, 0, 0, true},
        {"1,23e5", 1, 0, 0, false},  {" 1.234,5 ", 2, 0, 0, true}, {"1,2,3", 2, 0, 0, false},
        {"--5", 2, 0, 0, false},     {",", 2, 0, 0, false},        {"-", 2, 0, 0, true},
        {"", 2, 0, 0, true},         {"+", 2, 0, 0, false},        {"1e", 2, 0, 0, false},
        {"1e99999", 2, 0, 0, false}, // beyond extended precision
        {"1e-99999", 2, 0, 0, true}, {"1 2", 2, 0, 0, false},      {"1\x01", 2, 0, 0, false},
        {"٣", 2, 0, 0, false},       {"-", 2, 0, 100, true}, // -0 is not negative
        {"-5", 2, 0, 100, false},    {"-5", 2, -10, 100, true},    {"-5", 2, 0, -1, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(AcceptsNumberText(QString::fromUtf8(c.text), c.decimals, c.min, c.max),
                  c.accepted)
            << c.text << " / " << c.decimals << " / " << double(c.min) << ".." << double(c.max);
}

// Amounts as Germans write them: what a paste may leave, and what a key may leave on the way to
// such an amount.
TEST(NumberText, GermanAmountsPastedAndOnTheWay) {
    GermanLocale de;
    const struct {
        const char *text;
        bool pasted, typed;
    } cases[] = {
        {"4.250,00", true, true},  {"4.25,00", false, false},   {"1.000", true, true},
        {"1.000.000", true, true}, {"4.25", true, true},        {"1.0", true, true},
        {"1.0000", false, false},  {"1.000.", false, true},     {"1.000.0", false, true},
        {"12.34.", false, false},  {"1234.567", false, false},  {"1,5.", false, false},
        {"0.500", false, false},   {"45.892,46 €", true, true}, {"EUR 45.892,46", true, true},
        {"45 892,46", true, true}, {"45 8", false, false},      {"1.2.3", false, false},
        {"-1.000,5", true, true},  {".", false, false},         {".5", true, true},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(AcceptsNumberText(text, 2, 0, 0), c.pasted) << c.text;
        EXPECT_EQ(AcceptsTypedText(text, 2, 0, 0), c.typed) << c.text;
    }
    EXPECT_EQ(FieldNumberText(QStringLiteral("1.000")), "1000");
    EXPECT_EQ(FieldNumberText(QStringLiteral("1.000"), true), "1000");
    EXPECT_EQ(FieldNumberText(QStringLiteral("1.5"), true), "15") << "the field's own grouping";
    PinnedSettings us(AmericanSettings());
    EXPECT_EQ(FieldNumberText(QStringLiteral("1,000.5")), "1000.5") << "the locale's own rules";
}

TEST(NumberText, RangeGroupingAndMoneyPattern) {
    GermanLocale de;
    // Ordered bounds clamp, equal ones do not, crossed ones keep the bound that is not 0.
    EXPECT_EQ(LimitToRange(500, 1, 100, 2, false), 100.0L);
    EXPECT_EQ(LimitToRange(-3, 1, 100, 2, false), 1.0L);
    EXPECT_EQ(LimitToRange(500, 7, 7, 2, false), 500.0L);
    EXPECT_EQ(LimitToRange(-3, 5, 0, 2, false), 5.0L);
    EXPECT_EQ(LimitToRange(500, 0, -5, 2, false), -5.0L);
    EXPECT_EQ(LimitToRange(-9, 9, 5, 2, false), -9.0L);
    EXPECT_EQ(ErrorOf([] { LimitToRange(500, 1, 100, 2, true); }),
              "Wert muß zwischen 1,00 und 100,00 liegen");
    EXPECT_EQ(ErrorOf([] { LimitToRange(0, 0.5L, 2, 0, true); }),
              "Wert muß zwischen 1 und 2 liegen");

    EXPECT_EQ(GroupDigits("-1234567,891", true), "-1.234.567,891");
    EXPECT_EQ(GroupDigits("+1234e5678", true), "+1.234e5678");
    EXPECT_EQ(GroupDigits("123", true), "123");
    EXPECT_EQ(GroupDigits("1234567", false), "1234567");

    EXPECT_EQ(CurrencyDisplayFormat(), ",0.00 €;-,0.00 €");
    TFormatSettings swiss = TFormatSettings::German();
    swiss.CurrencyString = QStringLiteral("Fr.");
    swiss.CurrencyFormat = 2;
    swiss.CurrencyDecimals = 0;
    PinnedSettings ch(swiss);
    EXPECT_EQ(CurrencyDisplayFormat(), "Fr'.' ,0.;-Fr'.' ,0.");
}

// The main window's configuration: flat, two decimals, ",0.00;-,0.00", beside another control.
class CurrencyEdit : public ::testing::Test {
public:
    CurrencyEdit() : edit(nullptr, &window), other(&window) {
        window.setGeometry(100, 100, 300, 100);
        edit.setGeometry(10, 10, 89, 21);
        other.setGeometry(10, 50, 89, 21);
        // Aliased text, so that the text's pixels have exactly the text colour.
        QFont font = LayoutFont(QStringLiteral("MS Sans Serif"), -11);
        font.setStyleStrategy(QFont::NoAntialias);
        edit.setFont(font);
        edit.SetDisplayFormat(QStringLiteral(",0.00;-,0.00"));
        edit.SetCtl3D(false);
        edit.OnEnter = [this](TObject *) { ++enters; };
        edit.OnExit = [this](TObject *) { ++exits; };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(enters, 1); // the window's first focus enters the field
        other.setFocus();
        enters = exits = 0;
    }

    // Tab moves between the two controls.
    void Enter() { QTest::keyClick(&other, Qt::Key_Tab); }
    void Leave() { QTest::keyClick(&edit, Qt::Key_Tab); }
    void Paste(const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    }

    GermanLocale de;
    RecordingDesktop desktop;
    QWidget window;
    TCurrencyEdit edit;
    QLineEdit other;
    int enters = 0, exits = 0;
};

TEST_F(CurrencyEdit, TypedKeysKeepANumberWithinDecimalsAndSign) {
    const struct {
        const char *keys;
        long double min, max;
        const char *text;
        int beeps;
    } cases[] = {
        {"1234,567", 0, 0, "1234,56", 1},
        {"3,5,", 0, 0, "3,5", 1}, // one decimal comma
        {"3.5.", 0, 0, "3.5", 1}, // a point that is no thousands point reads as the comma
        {"-5", 0, 0, "-5", 0},
        {"-5", 0, 100, "-", 1},
        {"a1 b", 0, 0, "1 ", 2}, // blanks around the number are trimmed away
        {"+7e", 0, 0, "7", 2},
    };
    for (const auto &c : cases) {
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        Enter();
        const int beeps = desktop.beeps;
        QTest::keyClicks(&edit, c.keys);
        EXPECT_EQ(edit.text(), c.text) << c.keys;
        EXPECT_EQ(desktop.beeps - beeps, c.beeps) << c.keys;
        edit.SetValue(0);
        Leave();
    }
    // An exponent can only be put between digits, and not one that overflows.
    Enter();
    QTest::keyClicks(&edit, "199999");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_E);
    EXPECT_EQ(edit.text(), "199999");
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_E);
    EXPECT_EQ(edit.Value(), 1e999L);
    EXPECT_TRUE(desktop.errors.isEmpty());
}

// Typed as Germans write amounts, and pasted with a currency mark or grouping blanks.
TEST_F(CurrencyEdit, GermanAmountsTypedAndPasted) {
    const struct {
        const char *keys, *text;
        int beeps;
        const char *shown; // once left
    } cases[] = {
        {"4.250,00", "4.250,00", 0, "4.250,00"},
        {"1.000", "1.000", 0, "1.000,00"},
        {"1.000.000", "1.000.000", 0, "1.000.000,00"},
        {"4.25", "4.25", 0, "4,25"},
        {"1,5", "1,5", 0, "1,50"},
        {"12.5", "12.5", 0, "12,50"},
        {"4.2500", "4.250", 1, "4.250,00"},
        {"12.34.", "12.34", 1, "12,34"},
        {"3.", "3.", 0, "3,00"},
    };
    for (const auto &c : cases) {
        Enter();
        const int beeps = desktop.beeps;
        QTest::keyClicks(&edit, c.keys);
        EXPECT_EQ(edit.text(), c.text) << c.keys;
        EXPECT_EQ(desktop.beeps - beeps, c.beeps) << c.keys;
        Leave();
        EXPECT_EQ(edit.DisplayText(), c.shown) << c.keys;
    }
    // A group left unfinished reads as nothing; the field says so and keeps the focus.
    Enter();
    QTest::keyClicks(&edit, "1.000.00");
    Leave();
    EXPECT_EQ(desktop.errors,
              QStringList{"Tarvo Test|'1.000.00' ist kein gültiger Gleitkommawert"});
    QTest::keyClick(&edit, Qt::Key_Escape);
    Leave();
    for (const char *pasted : {"45.892,46 €", "EUR 45.892,46", "45 892,46", "45892,46"}) {
        Enter();
        Paste(QString::fromUtf8(pasted));
        EXPECT_EQ(edit.text(), "45892,46") << pasted;
        QTest::keyClick(&edit, Qt::Key_Backspace);
        Leave();
        EXPECT_EQ(edit.DisplayText(), "45.892,40") << pasted;
    }
}

TEST_F(CurrencyEdit, ShowsTheDisplayTextUnfocusedAndTheEditTextFocused) {
    EXPECT_FALSE(edit.ButtonHolder()->isVisibleTo(&edit));
    EXPECT_EQ(TCurrencyEdit(nullptr).DisplayFormat(), ",0.00 €;-,0.00 €");
    EXPECT_EQ(TCustomNumEdit(nullptr).DisplayFormat(), ",0.##");
    EXPECT_EQ(edit.DisplayText(), "0,00");
    Enter();
    EXPECT_EQ(edit.text(), "");
    for (const auto &[value, display] :
         {std::pair{1234567.891L, "1.234.567,89"}, std::pair{-1234.5L, "-1.234,50"}}) {
        edit.SetValue(value);
        EXPECT_EQ(edit.DisplayText(), display);
    }
    EXPECT_EQ(edit.text(), "-1234,5");
    edit.SetText(QStringLiteral(" 1.234,5 "));
    EXPECT_EQ(edit.Value(), 1234.5L);
    EXPECT_EQ(ErrorOf([&] { edit.SetText(QStringLiteral("abc")); }),
              "'abc' ist kein gültiger Gleitkommawert");
    ReadLayout(edit, [&] { edit.SetText(QStringLiteral("7")); }); // ignored while loading
    EXPECT_EQ(edit.Value(), 1234.5L);
}

TEST_F(CurrencyEdit, EscapeRevertsAndLeavingCommits) {
    edit.SetValue(10);
    Enter();
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(edit.selectedText(), "10");
    QTest::keyClicks(&edit, "12");
    QTest::keyClick(&edit, Qt::Key_Escape);
    EXPECT_EQ(edit.selectedText(), "10");
    QTest::keyClicks(&edit, "12,5");
    Leave();
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.DisplayText(), "12,50");
    EXPECT_EQ(edit.cursorPosition(), 0);
    Enter();
    EXPECT_EQ(edit.selectedText(), "12,5");
}

TEST_F(CurrencyEdit, UnreadableTextReadsAsMinValueAndRefusesTheLeave) {
    Enter();
    QTest::keyClicks(&edit, "15");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_E);
    QTest::keyClick(&edit, Qt::Key_Delete); // "1e": the exponent lost its digits
    ASSERT_EQ(edit.text(), "1e");
    EXPECT_EQ(edit.Value(), 0.0L);
    EXPECT_TRUE(desktop.errors.isEmpty());

    Leave();
    EXPECT_EQ(desktop.errors, QStringList{"Tarvo Test|'1e' ist kein gültiger Gleitkommawert"});
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.selectedText(), "1e");
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);

    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_2);
    Leave();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.DisplayText(), "100,00");
}

TEST_F(CurrencyEdit, RangeClampsSilentlyUnlessCheckedOnExit) {
    edit.SetMinValue(1);
    edit.SetMaxValue(100);
    edit.SetValue(500);
    EXPECT_EQ(edit.Value(), 100.0L);
    edit.SetCheckOnExit(true);
    Enter();
    QTest::keyClicks(&edit, "500");
    Leave();
    EXPECT_EQ(desktop.errors, QStringList{"Tarvo Test|Wert muß zwischen 1,00 und 100,00 liegen"});
    EXPECT_TRUE(edit.hasFocus());
    edit.SetCheckOnExit(false);
    Leave();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.Value(), 100.0L);
}

TEST_F(CurrencyEdit, AFailedPasteRestoresTheTextAndBeeps) {
    edit.SetValue(42);
    Enter();
    // 12,345 reads, but has more decimals than a typed key could leave.
    for (const QString &text : {QString("abc"), QString("1e99999"), QString("1,2,3"),
                                QString("\x01\x02"), QString("12,345"), QString(1 << 20, u'9')}) {
        const int beeps = desktop.beeps;
        edit.setCursorPosition(2);
        Paste(text);
        EXPECT_EQ(edit.selectedText(), "42") << text.left(10).toStdString();
        EXPECT_EQ(desktop.beeps, beeps + 1);
    }
    EXPECT_TRUE(desktop.errors.isEmpty());
    edit.setCursorPosition(2);
    Paste(QStringLiteral("1.000"));
    EXPECT_EQ(edit.Value(), 421000.0L);
}

TEST_F(CurrencyEdit, FormatOnEditingGroupsWhileTyping) {
    edit.SetFormatOnEditing(true);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    Enter();
    QTest::keyClicks(&edit, "1234567,5");
    EXPECT_EQ(edit.text(), "1.234.567,5");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_9);
    EXPECT_EQ(edit.text(), "19.234.567,5");
    EXPECT_EQ(edit.cursorPosition(), 2);
    edit.SetFormatOnEditing(false);
    EXPECT_EQ(edit.text(), "19234567,5");
}

namespace {

// Where pixels of one colour lie, two pixels inside the edges (the frames may have the text's
// colour): first and last column, top row; -1 for none.
struct Ink {
    int first = -1, last = -1, top = -1;
};

Ink InkOf(const QImage &image, const QColor &colour) {
    Ink ink;
    for (int x = 2; x < image.width() - 2; ++x)
        for (int y = 2; y < image.height() - 2; ++y)
            if (image.pixel(x, y) == colour.rgb()) {
                if (ink.first < 0) ink.first = x;
                ink.last = x;
                if (ink.top < 0 || y < ink.top) ink.top = y;
            }
    return ink;
}

// The font's own ink offsets for a text whose cell starts at (0, 0).
Ink InkOfText(const QFont &font, const QString &text) {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(QRect(2, 2, 196, 36), Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    const Ink ink = InkOf(image, Qt::black);
    return {ink.first - 2, ink.last - 2, ink.top - 2};
}

} // namespace

TEST_F(CurrencyEdit, UnfocusedPaintingByPixels) {
    edit.SetValue(10);
    const QColor text = edit.palette().color(QPalette::Text);
    const int width = QFontMetrics(edit.font()).horizontalAdvance(QStringLiteral("10,00"));
    const Ink own = InkOfText(edit.font(), QStringLiteral("10,00"));
    const int w = edit.width(), h = edit.height();
    const struct {
        bool ctl3D;
        TAlignment alignment;
        QPoint cell; // where the text's cell starts in the field
    } cases[] = {
        // Flat: the frame lies inside the client area; margins 1 + 2 across, 2 down.
        {false, TAlignment::taRightJustify, {w - width - 3 - 2, 2}},
        {false, TAlignment::taLeftJustify, {3, 2}},
        {false, TAlignment::taCenter, {(w - width) / 2, 2}},
        // Sunken: the client area lies 2 pixels in; margins 1 + 1 across, 1 down.
        {true, TAlignment::taRightJustify, {2 + (w - 4) - width - 2 - 2, 2 + 1}},
    };
    for (const auto &c : cases) {
        edit.SetCtl3D(c.ctl3D);
        edit.SetAlignment(c.alignment);
        const QImage image = edit.grab().toImage();
        const Ink ink = InkOf(image, text);
        EXPECT_EQ(QPoint(ink.first, ink.top), c.cell + QPoint(own.first, own.top));
        EXPECT_EQ(ink.last, c.cell.x() + own.last);
        const bool framed = image.pixel(w / 2, 0) == ColorToQColor(clWindowFrame).rgb() &&
                            image.pixel(0, h / 2) == ColorToQColor(clWindowFrame).rgb() &&
                            image.pixel(w - 1, h - 1) == ColorToQColor(clWindowFrame).rgb();
        EXPECT_EQ(framed, !c.ctl3D);
    }
    edit.setEnabled(false);
    const QImage disabled = edit.grab().toImage();
    EXPECT_GE(InkOf(disabled, ColorToQColor(clGrayText)).first, 0);
    EXPECT_EQ(InkOf(disabled, text).first, -1);
}

namespace {

// Judged apart from the field's own rules: German number text within the decimals, and not
// negative when the range forbids it. Points group thousands before a comma and in a field that
// regroups; otherwise they group the digits typed so far, or stand once for the comma.
bool IsFieldText(QString text, unsigned decimals, bool nonNegative, bool regrouped) {
    text = text.trimmed();
    static const QRegularExpression grouped(QStringLiteral("^[+-]?[1-9][0-9]{0,2}(\\.[0-9]{3})+"));
    static const QRegularExpression typing(
        QStringLiteral("^[+-]?[1-9][0-9]{0,2}(\\.[0-9]{3})*\\.[0-9]{0,3}$"));
    if (regrouped) {
        text.remove(u'.');
    } else if (text.contains(u'.')) {
        const QRegularExpressionMatch match = grouped.match(text);
        if (match.hasMatch() && text.indexOf(u',') == match.capturedLength())
            text.remove(u'.');
        else if (!text.contains(u',') && typing.match(text).hasMatch())
            return true;
        else if (text.count(u'.') == 1 && !text.contains(u','))
            text.replace(u'.', u',');
    }
    if (text.isEmpty() || text == u"-") return true;
    static const QRegularExpression shape(
        QStringLiteral("^[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch()) return false;
    const qsizetype comma = match.captured(1).indexOf(u',');
    if (comma >= 0 && match.capturedLength(1) - comma - 1 > qsizetype(decimals)) return false;
    return !(nonNegative && StrToFloat(text) < 0);
}

struct Config {
    unsigned decimals;
    long double min, max;
    bool formatOnEditing;
};

} // namespace

class RandomInput : public CurrencyEdit, public ::testing::WithParamInterface<Config> {};

TEST_P(RandomInput, NeverLeavesATextTheFieldWouldRefuse) {
    const Config config = GetParam();
    edit.SetDecimalPlaces(config.decimals);
    edit.SetMinValue(config.min);
    edit.SetMaxValue(config.max);
    edit.SetFormatOnEditing(config.formatOnEditing);
    const bool nonNegative = config.min >= 0 && config.max > 0;
    const QString typed = QStringLiteral("0123456789012345,.-+eeEa x;٣");
    const QString pastes[] = {
        "3,5",    "1.234,56",         "-7", "1e3", "abc", "--5", ",", "1e99999", "12,345",
        "\t1\n2", QString(5000, u'9')};
    std::mt19937 random(20050502);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    auto valid = [&] {
        return IsFieldText(edit.text(), config.decimals, nonNegative, config.formatOnEditing);
    };

    int refused = 0;
    for (int sequence = 0; sequence < 1000; ++sequence) {
        Enter();
        ASSERT_TRUE(valid()) << edit.text().toStdString();
        for (int steps = 1 + pick(20); steps > 0; --steps) {
            const QString before = edit.text();
            bool judged = true; // deleting and undoing are not filtered: they may break the text
            if (const int action = pick(10); action == 0) {
                Paste(pick(2) ? pastes[pick(std::size(pastes))]
                              : typed.mid(pick(typed.size()), pick(5)));
            } else if (action <= 2) {
                QTest::keyClick(&edit, pick(2) ? Qt::Key_Backspace : Qt::Key_Delete);
                judged = false;
            } else if (action == 3) {
                QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
                judged = false;
            } else if (action == 4) {
                const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
                QTest::keyClick(&edit, moves[pick(4)],
                                pick(2) ? Qt::ShiftModifier : Qt::NoModifier);
            } else if (action == 5) {
                QTest::keyClick(&edit, pick(4) ? Qt::Key_Return : Qt::Key_Escape);
            } else if (const QChar c = typed[pick(typed.size())]; c.unicode() < 128) {
                QTest::keyClicks(&edit, QString(c));
            } else { // a key of another script comes as text alone, as from an input method
                QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
            ASSERT_TRUE(std::isfinite(edit.Value()));
            if (judged && edit.text() != before) {
                ASSERT_TRUE(valid()) << before.toStdString() << " -> " << edit.text().toStdString();
            }
        }
        // Leaving either commits, or is refused with the error shown and the text selected.
        const QString text = edit.text();
        const int errors = desktop.errors.size(), exitsBefore = exits;
        Leave();
        if (edit.hasFocus()) {
            ++refused;
            ASSERT_EQ(desktop.errors.size(), errors + 1);
            ASSERT_EQ(edit.selectedText(), text);
            QTest::keyClick(&edit, Qt::Key_Escape);
            Leave();
        }
        ASSERT_TRUE(other.hasFocus());
        ASSERT_EQ(exits, exitsBefore + 1);
    }
    EXPECT_GT(refused, 0); // the run did reach texts that only deleting can leave
}

INSTANTIATE_TEST_SUITE_P(Configs, RandomInput,
                         ::testing::Values(Config{2, 0, 0, false}, Config{0, 0, 100, false},
                                           Config{3, 0, 0, true}));
