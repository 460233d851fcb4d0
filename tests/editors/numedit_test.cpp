// The number field: its text rules on their own, then the money field under real keys, pastes
// and focus moves with German settings, its unfocused painting by pixels, and a long run of
// random input that must never leave a text the field would not have let through.

#include "editors/numedit.h"
#include "editors/numedit_p.h"

#include "platform/exceptions.h"
#include "platform/fonts.h"
#include "platform/numtext.h"
#include "tests/support/fixtures.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

template <typename F> QString errorOf(F &&f) {
    try {
        f();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

// ---- text rules -----------------------------------------------------------------------------

TEST(NumberText, NormalizeDropsGroupingAndMapsTheForeignSeparator) {
    GermanLocale de;
    const std::pair<const char *, const char *> german[] = {
        {" 1.234,5 ", "1234,5"}, {"", "0"},     {"  ", "0"}, {"-", "-0"},
        {"1.5", "15"},           {"1e3", "1e3"}};
    for (const auto &[text, expected] : german)
        EXPECT_EQ(NormalizeNumberText(text), expected) << text;

    TFormatSettings swiss = TFormatSettings::German();
    swiss.ThousandSeparator = u'\'';
    ScopedFormatSettings ch(swiss);
    EXPECT_EQ(NormalizeNumberText("1'234.5"), "1234,5"); // neither "." nor "," groups here
}

TEST(NumberText, AcceptsWhatATypedKeyMayLeave) {
    GermanLocale de;
    const struct {
        const char *text;
        unsigned decimals;
        long double min, max;
        bool accepted;
    } cases[] = {
        {"1234,56", 2, 0, 0, true},   {"1234,567", 2, 0, 0, false}, {"1,2e5", 1, 0, 0, true},
        {"1,23e5", 1, 0, 0, false},   {"1,", 0, 0, 0, true},        {"5", 0, 0, 0, true},
        {"1,2,3", 2, 0, 0, false},    {"--5", 2, 0, 0, false},      {",", 2, 0, 0, false},
        {",5", 2, 0, 0, true},        {"-", 2, 0, 0, true},         {"+5", 2, 0, 0, true},
        {"1E5", 2, 0, 0, true},       {"1e", 2, 0, 0, false},       {"1e99999", 2, 0, 0, false},
        {"-1e99999", 2, 0, 0, false}, {"1e-99999", 2, 0, 0, true},  {"1 2", 2, 0, 0, false},
        {"abc", 2, 0, 0, false},      {"1\x01", 2, 0, 0, false},    {"-", 2, 0, 100, true},
        {"-5", 2, 0, 100, false},     {"-5", 2, -10, 100, true},    {"-5", 2, 0, -1, true},
        {"1.234,5", 2, 0, 0, true},   {"٣", 2, 0, 0, false}, // digits of other scripts are no
                                                             // number
    };
    for (const auto &c : cases)
        EXPECT_EQ(AcceptsNumberText(QString::fromUtf8(c.text), c.decimals, c.min, c.max),
                  c.accepted)
            << c.text << " decimals " << c.decimals << " range " << double(c.min) << ".."
            << double(c.max);
}

TEST(NumberText, LimitToRange) {
    GermanLocale de;
    const struct {
        long double value, min, max, expected;
    } cases[] = {
        {500, 1, 100, 100}, {-3, 1, 100, 1},  {50, 1, 100, 50}, {500, 7, 7, 500}, // no range
        {-3, 5, 0, 5},      {500, 5, 0, 500},                                     // lower only
        {500, 0, -5, -5},   {-9, 0, -5, -9},                                      // upper only
        {500, 9, 5, 500},   {-9, 9, 5, -9}, // crossed, neither bound 0
    };
    for (const auto &c : cases)
        EXPECT_EQ(LimitToRange(c.value, c.min, c.max, 2, false), c.expected)
            << double(c.value) << " in " << double(c.min) << ".." << double(c.max);

    EXPECT_EQ(errorOf([] { LimitToRange(500, 1, 100, 2, true); }),
              "Wert muß zwischen 1,00 und 100,00 liegen");
    EXPECT_EQ(errorOf([] { LimitToRange(0, 0.5L, 2, 0, true); }),
              "Wert muß zwischen 1 und 2 liegen");
    EXPECT_EQ(errorOf([] { LimitToRange(50, 1, 100, 2, true); }), "(no error)");
}

TEST(NumberText, GroupDigits) {
    GermanLocale de;
    const struct {
        const char *text;
        bool grouping;
        const char *expected;
    } cases[] = {
        {"1234567,891", true, "1.234.567,891"},
        {"-1234,5", true, "-1.234,5"},
        {"+1234", true, "+1.234"},
        {"123", true, "123"},
        {"1234e5678", true, "1.234e5678"},
        {"-", true, "-"},
        {"", true, ""},
        {"1234567", false, "1234567"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GroupDigits(c.text, c.grouping), c.expected) << c.text;
}

TEST(NumberText, CurrencyDisplayFormatFollowsTheLocale) {
    const struct {
        const char *symbol;
        int format, decimals;
        const char *expected;
    } cases[] = {
        {"€", 3, 2, ",0.00 €;-,0.00 €"},  {"€", 0, 2, "€,0.00;-€,0.00"},
        {"kr", 1, 2, ",0.00kr;-,0.00kr"}, {"Fr.", 2, 2, "Fr'.' ,0.00;-Fr'.' ,0.00"},
        {"¥", 0, 0, "¥,0.;-¥,0."},
    };
    for (const auto &c : cases) {
        TFormatSettings fs = TFormatSettings::German();
        fs.CurrencyString = QString::fromUtf8(c.symbol);
        fs.CurrencyFormat = c.format;
        fs.CurrencyDecimals = c.decimals;
        ScopedFormatSettings pinned(fs);
        EXPECT_EQ(CurrencyDisplayFormat(), QString::fromUtf8(c.expected)) << c.symbol;
    }
    GermanLocale de;
    EXPECT_EQ(FormatFloat(CurrencyDisplayFormat(), -1234.5L), "-1.234,50 €");
}

// ---- the money field --------------------------------------------------------------------

// The main window's configuration: flat, two decimals, ",0.00;-,0.00", next to another control.
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
        edit.OnExit = [this](TObject *) { ++exits; };
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        other.setFocus(); // the window's first focus went to the field
        exits = 0;
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
    int exits = 0;
};

TEST_F(CurrencyEdit, IsAPlainFieldWithTheMoneyPattern) {
    EXPECT_FALSE(edit.ButtonHolder()->isVisibleTo(&edit));
    EXPECT_EQ(edit.StandardDisplayFormat(), ",0.00 €;-,0.00 €");
    EXPECT_EQ(TCurrencyEdit(nullptr).DisplayFormat(), ",0.00 €;-,0.00 €");
    TCustomNumEdit plain(nullptr);
    EXPECT_EQ(plain.DisplayFormat(), ",0.##");
    EXPECT_TRUE(plain.ButtonHolder()->isVisibleTo(&plain));
}

TEST(CurrencyEditFocus, WindowsFirstFocusEntersTheFieldAndReturningDoesNot) {
    GermanLocale de;
    RecordingDesktop desktop;
    QWidget window, elsewhere;
    TCurrencyEdit edit(nullptr, &window);
    edit.SetValue(10);
    int enters = 0, exits = 0;
    edit.OnEnter = [&](TObject *) { ++enters; };
    edit.OnExit = [&](TObject *) { ++exits; };
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(edit.hasFocus());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(edit.selectedText(), "10");

    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(exits, 0);
}

TEST_F(CurrencyEdit, ZeroPaintsAsAmountAndEntersEmpty) {
    EXPECT_EQ(edit.DisplayText(), "0,00");
    Enter();
    ASSERT_TRUE(edit.hasFocus());
    EXPECT_EQ(edit.text(), "");
    edit.SetZeroEmpty(false);
    EXPECT_EQ(edit.text(), "0");
}

TEST_F(CurrencyEdit, DisplayGroupsThousands) {
    const std::pair<long double, const char *> cases[] = {
        {1234567.891L, "1.234.567,89"}, {-1234.5L, "-1.234,50"}, {0.005L, "0,01"}};
    for (const auto &[value, expected] : cases) {
        edit.SetValue(value);
        EXPECT_EQ(edit.DisplayText(), expected);
    }
    edit.SetDisplayFormat(QString());
    edit.SetValue(2.5L);
    EXPECT_EQ(edit.DisplayText(), "2,5");
}

TEST_F(CurrencyEdit, TypedKeysKeepANumberWithTwoDecimals) {
    const struct {
        const char *keys;
        long double min, max;
        const char *text;
        int beeps;
    } cases[] = {
        {"1234,567", 0, 0, "1234,56", 1},
        {"3.5", 0, 0, "3,5", 0}, // the point types the locale's comma
        {"3,5,", 0, 0, "3,5", 1},
        {"3.5.", 0, 0, "3,5", 1},
        {"-", 0, 0, "-", 0},
        {"-5", 0, 0, "-5", 0},
        {"-", 0, 100, "-", 0}, // -0 is not negative
        {"-5", 0, 100, "-", 1},
        {"--5", 0, 0, "-5", 1},
        {"a1 b", 0, 0, "1 ", 2}, // blanks around the number are trimmed away
        {"+7", 0, 0, "7", 1},    // a sign alone is no number; only "-" reads as -0
        {"e", 0, 0, "", 1},
    };
    for (const auto &c : cases) {
        edit.SetMinValue(c.min);
        edit.SetMaxValue(c.max);
        edit.SetValue(0);
        Enter();
        const int beeps = desktop.beeps;
        QTest::keyClicks(&edit, c.keys);
        EXPECT_EQ(edit.text(), c.text) << c.keys;
        EXPECT_EQ(desktop.beeps - beeps, c.beeps) << c.keys;
        edit.SetText(QStringLiteral("0"));
        Leave();
    }
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(CurrencyEdit, AnExponentThatOverflowsIsRefused) {
    Enter();
    QTest::keyClicks(&edit, "199999");
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_E); // 1e99999 is beyond extended precision
    EXPECT_EQ(edit.text(), "199999");
    EXPECT_EQ(desktop.beeps, 1);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QTest::keyClick(&edit, Qt::Key_E);
    EXPECT_EQ(edit.text(), "1e999");
    EXPECT_EQ(edit.Value(), 1e999L);
}

TEST_F(CurrencyEdit, EscapeRestoresTheCommittedValueSelected) {
    edit.SetValue(10);
    Enter();
    QTest::keyClicks(&edit, "12");
    QTest::keyClick(&edit, Qt::Key_Escape);
    EXPECT_EQ(edit.text(), "10");
    EXPECT_EQ(edit.selectedText(), "10");
}

TEST_F(CurrencyEdit, LeavingCommitsAndReenteringSelects) {
    edit.SetValue(10);
    Enter();
    EXPECT_EQ(edit.selectedText(), "10");
    QTest::keyClicks(&edit, "12,5");
    Leave();
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.Value(), 12.5L);
    EXPECT_EQ(edit.DisplayText(), "12,50");
    EXPECT_EQ(edit.cursorPosition(), 0);
    Enter();
    EXPECT_EQ(edit.text(), "12,5");
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
    EXPECT_EQ(exits, 0);

    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_2);
    Leave();
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.DisplayText(), "100,00");
}

TEST_F(CurrencyEdit, RangeClampsWritesAndRefusesLeavingOutsideIt) {
    edit.SetMinValue(1);
    edit.SetMaxValue(100);
    edit.SetValue(500);
    EXPECT_EQ(edit.Value(), 100.0L);
    edit.SetCheckOnExit(true);
    Enter();
    edit.selectAll();
    QTest::keyClicks(&edit, "500");
    Leave();
    EXPECT_EQ(desktop.errors, QStringList{"Tarvo Test|Wert muß zwischen 1,00 und 100,00 liegen"});
    EXPECT_TRUE(edit.hasFocus());
    EXPECT_EQ(exits, 0);
    edit.SetCheckOnExit(false);
    Leave();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(edit.Value(), 100.0L);
}

TEST_F(CurrencyEdit, TextWriteReadsLocaleNumbers) {
    edit.SetText(QStringLiteral(" 1.234,5 "));
    EXPECT_EQ(edit.Value(), 1234.5L);
    EXPECT_EQ(edit.text(), "1234,5");
    EXPECT_EQ(errorOf([&] { edit.SetText(QStringLiteral("abc")); }),
              "'abc' ist kein gültiger Gleitkommawert");
    EXPECT_EQ(edit.Value(), 1234.5L);
}

TEST_F(CurrencyEdit, FailedPasteRestoresTheTextAndBeeps) {
    const QString megabyte(1 << 20, u'9');
    const QString bad[] = {"abc", "1e99999", "--5", "1,2,3", "\x01\x02", "12,345", megabyte};
    edit.SetValue(42);
    Enter();
    QElapsedTimer timer;
    timer.start();
    for (const QString &text : bad) {
        const int beeps = desktop.beeps;
        edit.setCursorPosition(2);
        Paste(text);
        EXPECT_EQ(edit.text(), "42") << text.left(10).toStdString();
        EXPECT_EQ(edit.selectedText(), "42");
        EXPECT_EQ(desktop.beeps, beeps + 1);
    }
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_TRUE(desktop.errors.isEmpty());

    edit.setCursorPosition(2);
    Paste(QStringLiteral("1.000"));
    EXPECT_EQ(edit.text(), "421.000");
    EXPECT_EQ(edit.Value(), 421000.0L);
}

TEST_F(CurrencyEdit, FormatOnEditingGroupsWhileTyping) {
    edit.SetFormatOnEditing(true);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    Enter();
    QTest::keyClicks(&edit, "1234567,5");
    EXPECT_EQ(edit.text(), "1.234.567,5");
    EXPECT_EQ(edit.cursorPosition(), 11);
    edit.setCursorPosition(1);
    QTest::keyClick(&edit, Qt::Key_9);
    EXPECT_EQ(edit.text(), "19.234.567,5");
    EXPECT_EQ(edit.cursorPosition(), 2);
    EXPECT_EQ(edit.Value(), 19234567.5L);
    edit.SetFormatOnEditing(false);
    EXPECT_EQ(edit.text(), "19234567,5");
    EXPECT_TRUE(edit.alignment() & Qt::AlignLeft);
}

// ---- unfocused painting -------------------------------------------------------------------

namespace {

// Where pixels of the text colour lie, two pixels inside the edges (the frames may have that
// colour too): first and last column, top row; -1 for none.
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

// The text's own ink offsets in a font, drawn with its top-left corner at (0, 0).
Ink InkOfText(const QFont &font, const QString &text) {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(2, 2, 196, 36), Qt::AlignLeft | Qt::AlignTop, text);
    painter.end();
    const Ink ink = InkOf(image, Qt::black);
    return {ink.first - 2, ink.last - 2, ink.top - 2};
}

} // namespace

TEST_F(CurrencyEdit, UnfocusedTextSitsAtTheTextMargins) {
    edit.SetValue(10);
    const QColor colour = edit.palette().color(QPalette::Text);
    const int textWidth = QFontMetrics(edit.font()).horizontalAdvance(QStringLiteral("10,00"));
    const Ink own = InkOfText(edit.font(), QStringLiteral("10,00"));
    const int w = edit.width();
    const struct {
        bool ctl3D;
        TAlignment alignment;
        QPoint text; // the top-left corner of the text's cell, in the field
    } cases[] = {
        // Flat: the frame is inside the client area; margins 1 + 2 across, 2 down.
        {false, TAlignment::taRightJustify, {w - textWidth - 3 - 2, 2}},
        {false, TAlignment::taLeftJustify, {3, 2}},
        {false, TAlignment::taCenter, {(w - textWidth) / 2, 2}},
        // Sunken: the client area lies 2 pixels in; margins 1 + 1 across, 1 down.
        {true, TAlignment::taRightJustify, {2 + (w - 4) - textWidth - 2 - 2, 2 + 1}},
        {true, TAlignment::taLeftJustify, {2 + 2, 2 + 1}},
    };
    for (const auto &c : cases) {
        edit.SetCtl3D(c.ctl3D);
        edit.SetAlignment(c.alignment);
        const Ink ink = InkOf(edit.grab().toImage(), colour);
        EXPECT_EQ(ink.first, c.text.x() + own.first) << int(c.alignment);
        EXPECT_EQ(ink.last, c.text.x() + own.last) << int(c.alignment);
        EXPECT_EQ(ink.top, c.text.y() + own.top) << int(c.alignment);
    }
}

TEST_F(CurrencyEdit, FlatFieldIsFramedInTheWindowFrameColour) {
    const QColor frame = ColorToQColor(clWindowFrame);
    const QColor face = ColorToQColor(edit.Color());
    ASSERT_NE(frame, face);
    QImage image = edit.grab().toImage();
    const int w = edit.width(), h = edit.height();
    for (QPoint p :
         {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1), QPoint(w / 2, 0),
          QPoint(0, h / 2), QPoint(w - 1, h / 2), QPoint(w / 2, h - 1)})
        EXPECT_EQ(image.pixel(p), frame.rgb()) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixel(1, 1), face.rgb());
    EXPECT_EQ(image.pixel(w - 2, h - 2), face.rgb());

    edit.SetCtl3D(true);
    image = edit.grab().toImage();
    EXPECT_NE(image.pixel(w / 2, 0), frame.rgb());
}

TEST_F(CurrencyEdit, DisabledFieldPaintsGreyText) {
    edit.SetValue(10);
    const QColor text = edit.palette().color(QPalette::Active, QPalette::Text);
    const QColor grey = ColorToQColor(clGrayText);
    ASSERT_NE(text.rgb(), grey.rgb());
    edit.setEnabled(false);
    const QImage image = edit.grab().toImage();
    EXPECT_GE(InkOf(image, grey).first, 0);
    EXPECT_EQ(InkOf(image, text).first, -1);
}

// ---- random input -----------------------------------------------------------------------

namespace {

// Judged without the field's own rules: German number text once the thousands points are
// gone, within the decimals, and not negative when the range forbids it.
bool IsFieldText(QString text, unsigned decimals, bool nonNegative) {
    text.remove(u'.');
    text = text.trimmed();
    if (text.isEmpty() || text == u"-") return true;
    static const QRegularExpression shape(
        QStringLiteral("^[+-]?([0-9]+(,[0-9]*)?|,[0-9]+)([eE][+-]?[0-9]+)?$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch()) return false;
    const QString mantissa = match.captured(1);
    const qsizetype comma = mantissa.indexOf(u',');
    if (comma >= 0 && mantissa.size() - comma - 1 > qsizetype(decimals)) return false;
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
    const QString pastes[] = {"12",     "3,5",     "1.234,56",        "-7",
                              "1e3",    "abc",     "1,2,3",           "--5",
                              ",",      "1e99999", "12,345",          " 42 ",
                              "\t1\n2", "",        QString(40, u'9'), QString(5000, u'9')};
    std::mt19937 random(20050502);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    auto valid = [&] { return IsFieldText(edit.text(), config.decimals, nonNegative); };

    int refused = 0;
    for (int sequence = 0; sequence < 1000; ++sequence) {
        Enter();
        ASSERT_TRUE(edit.hasFocus());
        ASSERT_TRUE(valid()) << edit.text().toStdString();
        for (int steps = 1 + pick(20); steps > 0; --steps) {
            const QString before = edit.text();
            bool judged = true; // deleting and undoing are not filtered: they may break the text
            switch (pick(10)) {
            case 0:
                Paste(pick(2) ? pastes[pick(std::size(pastes))]
                              : typed.mid(pick(typed.size()), pick(5)));
                break;
            case 1:
            case 2:
                QTest::keyClick(&edit, pick(2) ? Qt::Key_Backspace : Qt::Key_Delete);
                judged = false;
                break;
            case 3:
                QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
                judged = false;
                break;
            case 4: {
                const Qt::Key moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
                QTest::keyClick(&edit, moves[pick(4)],
                                pick(2) ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            }
            case 5:
                QTest::keyClick(&edit, pick(4) ? Qt::Key_Return : Qt::Key_Escape);
                break;
            default:
                if (const QChar c = typed[pick(typed.size())]; c.unicode() < 128)
                    QTest::keyClicks(&edit, QString(c));
                else // a key of another script comes as text alone, as from an input method
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
            ASSERT_EQ(exits, exitsBefore);
            ASSERT_EQ(edit.selectedText(), text);
            QTest::keyClick(&edit, Qt::Key_Escape);
            Leave();
        }
        ASSERT_TRUE(other.hasFocus());
        ASSERT_EQ(exits, exitsBefore + 1);
        ASSERT_TRUE(std::isfinite(edit.Value()));
    }
    EXPECT_GT(refused, 0); // the run did reach texts that only deleting can leave
}

INSTANTIATE_TEST_SUITE_P(Configs, RandomInput,
                         ::testing::Values(Config{2, 0, 0, false}, Config{0, 0, 100, false},
                                           Config{3, 0, 0, true}));
