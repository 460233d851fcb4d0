// The settings dialog on the real windows, driven by real mouse input: filled by the bar's
// Einstellungen button, saved by Speichern into the bar's settings, dropped by the close box.

#include "settings/storedsettings.h"
#include "tests/app/windows.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Click(QWidget *widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, 5));
}

class SettingsDialog : public ProgramWindows {
protected:
    // The windows on settings stored beforehand.
    void Start(bool ontop = false, int formel = 0) {
        Store([&](TRegistry &reg) {
            reg.WriteInteger(Setting::OnTop, ontop);
            reg.WriteInteger(Setting::Formel, formel);
        });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Create()));
    }
    void Open() {
        Click(form1->btn_ein);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form3.get()));
    }
    TVariant Stored(const TStoredSetting &setting) { return form1->regval->Values(setting); }
    // The per-user autostart entries.
    QStringList AutostartEntries() const {
        const QDir folder(home.configHome() + QStringLiteral("/autostart"));
        return folder.entryList({QStringLiteral("*.desktop")}, QDir::Files);
    }
};

TEST_F(SettingsDialog, OpensFilledFromTheStoreCentredOnTheDesktop) {
    Start(true, 2);
    Open();
    EXPECT_TRUE(form3->check1->Checked());
    EXPECT_FALSE(form3->check2->Checked());
    EXPECT_FALSE(form3->check3->Checked());
    EXPECT_FALSE(form3->check4->Checked() || form3->check5->Checked());
    EXPECT_TRUE(form3->check6->Checked());
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    EXPECT_LE((form3->frameGeometry().center() - desktop.center()).manhattanLength(), 1);
    EXPECT_TRUE(form1->isVisible()) << "no modal loop: the bar stays usable";
}

TEST_F(SettingsDialog, SavingAFormulaAppliesItAtOnceAndStoresItAtTheEnd) {
    Start();
    form1->sedit1->SetValue(1000);
    form1->DateEdit1->SetText(QStringLiteral("15.01.2005"));
    form1->DateEdit2->SetText(QStringLiteral("15.03.2005"));
    Open();
    Click(form3->check5);
    Click(form3->ImgBtn1);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form1->FormulaCode, 2);
    Click(form1->btn_ber);
    EXPECT_EQ(form1->Label7->Caption(), "( 59 / 60 Tage )") << "30/360 at once";
    EXPECT_EQ(form1->Label6->Caption(), "16,67");
    EXPECT_EQ(Stored(Setting::Pfad).AsString(), QCoreApplication::applicationDirPath() + u'/');
    form3.reset();
    form2.reset();
    form1.reset(); // the program ends
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadInteger(Setting::Formel), 1);
}

TEST_F(SettingsDialog, StayOnTopAndAutostartFollowEachSaveWhereTheBarStands) {
    Start();
    const QPoint at = form1->pos();
    for (bool on : {true, false}) {
        Open();
        Click(form3->check1);
        Click(form3->check3);
        Click(form3->ImgBtn1);
        EXPECT_EQ(bool(form1->windowFlags() & Qt::WindowStaysOnTopHint), on);
        EXPECT_TRUE(form1->isVisible());
        EXPECT_EQ(form1->pos(), at);
        EXPECT_EQ(Stored(Setting::OnTop).AsBoolean(), on);
        EXPECT_EQ(Stored(Setting::Auto).AsBoolean(), on);
        ASSERT_EQ(AutostartEntries().size(), on ? 1 : 0);
        if (!on) continue;
        QFile entry(home.configHome() + QStringLiteral("/autostart/") + AutostartEntries()[0]);
        ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
        EXPECT_TRUE(entry.readAll().contains(QCoreApplication::applicationFilePath().toUtf8()))
            << "the entry starts this program";
    }
}

TEST_F(SettingsDialog, TheCloseBoxSavesAndAppliesNothing) {
    Start(false, 0);
    Open();
    Click(form3->check1);
    Click(form3->check2);
    Click(form3->check6);
    form3->close();
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(form1->FormulaCode, 1);
    EXPECT_FALSE(form1->windowFlags() & Qt::WindowStaysOnTopHint);
    for (const TStoredSetting &setting : {Setting::OnTop, Setting::Pos, Setting::Formel})
        EXPECT_EQ(Stored(setting).AsInteger(), 0) << setting.Name;
    EXPECT_EQ(Stored(Setting::Pfad).AsString(), "");
    Open();
    EXPECT_FALSE(form3->check1->Checked()) << "filled afresh";
    EXPECT_TRUE(form3->check4->Checked());
}

// Controls, positions and texts; the two title tabs in olive, the frames' dark and light
// lines, the background picture stretched over the whole dialog.
TEST_F(SettingsDialog, LaidOutAsDesigned) {
    Start();
    TForm3 &f = *form3;
    EXPECT_EQ(f.windowTitle(), "Tarvo Einstellungen");
    EXPECT_EQ(f.maximumSize(), QSize(300, 263));
    const std::tuple<QWidget *, QRect, QString> controls[] = {
        {f.Image1, {0, 0, 300, 263}, {}},
        {f.Bevel1, {16, 24, 265, 145}, {}},
        {f.ImgBtn1, {112, 240, 94, 15}, {}},
        {f.Bevel2, {16, 192, 265, 41}, {}},
        {f.check1, {48, 32, 128, 16}, "Immer im Vordergrund"}, // wide enough for its text
        {f.check2, {48, 80, 153, 16}, "Position abspeichern"},
        {f.check3, {48, 136, 65, 16}, "Autostart"},
        {f.check4, {48, 200, 57, 16}, "EURO"},
        {f.check5, {128, 200, 65, 16}, "deutsche"},
        {f.check6, {208, 200, 73, 16}, "englische"},
    };
    for (const auto &[widget, bounds, caption] : controls) {
        EXPECT_EQ(widget->geometry(), bounds) << caption.toStdString();
        if (auto *button = dynamic_cast<TOwnerDrawButton *>(widget)) {
            EXPECT_EQ(button->Caption(), caption);
        }
    }
    const std::tuple<TLabel *, QPoint, QString> labels[] = {
        {f.Label1, {16, 11}, " Einstellungen "},
        {f.Label2, {66, 48}, "der Zinsrechner wird immer so angezeigt,"},
        {f.Label3, {66, 58}, "dass Sie ihn sofort nutzen können"},
        {f.Label4, {66, 96}, "Diese Funktion speichert automatisch beim"},
        {f.Label5, {66, 106}, "Beenden der Software die Position"},
        {f.Label6, {66, 116}, "des Berechnungsfensters ab"},
        {f.Label7, {66, 152}, "startet Tarvo 2.3 beim Systemstart"},
        {f.Label8, {16, 179}, " Zinsformel "},
        {f.Label9, {66, 216}, "(MRV Norm))"},
    };
    for (const auto &[label, at, caption] : labels) {
        EXPECT_EQ(label->pos(), at) << caption.toStdString();
        EXPECT_EQ(label->Caption(), caption);
    }
    EXPECT_EQ(f.check1->CheckStyle(), mrvYesNo);
    EXPECT_EQ(f.Label9->font().pixelSize(), 9);
    EXPECT_FALSE(f.Label9->font().bold());

    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const QImage shown = f.grab().toImage();
    const QColor shadow = ColorToQColor(clBtnShadow).rgb(),
                 light = ColorToQColor(clBtnHighlight).rgb();
    EXPECT_EQ(shown.pixelColor(17, 12), QColor(128, 128, 0)) << "title tab";
    EXPECT_EQ(shown.pixelColor(17, 180), QColor(128, 128, 0));
    EXPECT_EQ(shown.pixelColor(100, 24), shadow);
    EXPECT_EQ(shown.pixelColor(100, 25), light);
    EXPECT_EQ(shown.pixelColor(280, 100), light);
    EXPECT_EQ(shown.pixelColor(279, 100), shadow);
    EXPECT_EQ(f.Image1->Picture().Size(), QSize(300, 200));
    EXPECT_TRUE(f.Image1->Stretch());
    std::vector<QWidget *> tabOrder;
    for (QWidget *w = f.nextInFocusChain(); w != &f; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus) tabOrder.push_back(w);
    EXPECT_EQ(tabOrder,
              (std::vector<QWidget *>{f.check1, f.check2, f.check3, f.check4, f.check5, f.check6}));
}

} // namespace
