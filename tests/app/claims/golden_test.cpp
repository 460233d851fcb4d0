// Every output of the worked cases, byte for byte as committed under tests/golden: the window's
// table and sums, the clipboard's tab text and HTML, the CSV, the PDF's text, and tarvo-zins in
// its three formats. After a deliberate change, TARVO_GOLDEN_UPDATE=1 writes them anew; the
// diff is then the review.

#include "tests/app/claims/workedcases.h"
#include "tests/app/windows.h"

#include "engine/userrates.h"
#include "tests/app/claims/ui.h"
#include "tests/support/golden.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray PdfText(const QString &path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    pdftotext.waitForFinished(10000);
    return pdftotext.readAllStandardOutput();
}

class GoldenTest : public ProgramWindows {
protected:
    void SetUp() override {
        QDir().mkpath(home.dataHome() + "/tarvo");
        QFile rates(home.dataHome() + "/tarvo/" + UserRatesFileName);
        ASSERT_TRUE(rates.open(QIODevice::WriteOnly));
        rates.write("01.01.2027;1,57\n");
    }

    TVerzugForm &Open() {
        TForm1 &bar = Create();
        bar.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&bar));
        QTest::keyClick(bar.sedit1, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        TVerzugForm *form = qobject_cast<TVerzugForm *>(bar.Window("verzug"));
        EXPECT_TRUE(form && QTest::qWaitForWindowActive(form));
        QCoreApplication::processEvents();
        return *form;
    }

    static void Type(QWidget *field, const QString &text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
        QCoreApplication::processEvents();
    }

    // The table with its header, the sums, the reason, the rules, the note and the reach.
    static QByteArray WindowText(const TVerzugForm &form) {
        const TVerzugUi ui(form);
        QString text;
        const QAbstractItemModel *model = ui.Table->model();
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells << model->headerData(column, Qt::Horizontal).toString();
        text += cells.join(u'|') + u'\n';
        for (int row = 0; row < model->rowCount(); ++row) {
            cells.clear();
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            text += cells.join(u'|') + u'\n';
        }
        for (int i = 0; i < ui.SumLabels.size(); ++i)
            if (!ui.SumLabels[i]->text().isEmpty())
                text += ui.SumLabels[i]->text() + u' ' + ui.SumValues[i]->text() + u'\n';
        for (const QLabel *label : {ui.Rules, ui.Note, ui.Reach})
            text += label->text() + u'\n';
        return text.toUtf8();
    }

    QByteArray Zins(const QStringList &arguments, const QByteArray &input = {}) {
        QProcess zins;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", home.dataHome());
        environment.insert("XDG_CONFIG_HOME", home.configHome());
        environment.insert("LC_ALL", "de_DE.UTF-8");
        zins.setProcessEnvironment(environment);
        zins.start(TARVO_ZINS_EXE, arguments);
        zins.write(input);
        zins.closeWriteChannel();
        EXPECT_TRUE(zins.waitForFinished(20000));
        return zins.readAllStandardOutput() + zins.readAllStandardError();
    }

    QTemporaryDir out;
};

} // namespace

TEST_F(GoldenTest, TheWindowsOutputsOfTheWorkedCases) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (tools/setup.sh installs it)";
    for (const TCase &c : Cases) {
        SCOPED_TRACE(c.Name);
        TVerzugForm &form = Open();
        const TVerzugUi ui(form);
        ui.RateRule->setCurrentIndex(c.Rule);
        ui.Before29072014->setChecked(c.Before29072014);
        ui.DayCount->setCurrentIndex(ui.DayCount->findData(int(c.Count)));
        ui.PaymentDay->setChecked(c.PaymentDay);
        if (*c.Rate) Type(ui.Rate, c.Rate);
        Type(ui.Amount, c.Amount);
        Type(ui.FirstDay, c.First);
        Type(ui.LastDay, c.Last);
        ui.FlatFee->setChecked(c.FlatFee);
        ui.Amount->setFocus();
        QTest::keyClick(ui.Amount, Qt::Key_Return);
        ASSERT_EQ(desktop.messages, QStringList());
        const QString folder = QString::fromLatin1(c.Name) + u'/';
        Golden(folder + "fenster.txt", WindowText(form));
        QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        Golden(folder + "kopie.txt", desktop.clipboard.toUtf8());
        Golden(folder + "kopie.html", desktop.clipboardHtml.toUtf8());
        desktop.fileName = out.filePath(QString::fromLatin1(c.Name) + ".csv");
        QTest::mouseClick(ui.CsvButton, Qt::LeftButton);
        QFile csv(desktop.fileName);
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        Golden(folder + "aufstellung.csv", csv.readAll());
        desktop.fileName = out.filePath(QString::fromLatin1(c.Name) + ".pdf");
        QTest::mouseClick(ui.PdfButton, Qt::LeftButton);
        Golden(folder + "aufstellung.pdf.txt", PdfText(desktop.fileName));
    }
}

TEST_F(GoldenTest, TheCommandLinesOutputsOfTheWorkedCases) {
    const QStringList formats{"text", "csv", "json"};
    for (const TCase &c : Cases) {
        SCOPED_TRACE(c.Name);
        for (const QString &format : formats)
            Golden(QString::fromLatin1(c.Name) + "/tarvo-zins." + format,
                   Zins(QStringList{"verzug"} + c.Cli + QStringList{"--format", format}));
    }
    // The same cases as one sheet, with a column of the sheet's own and a faulty row.
    const QByteArray sheet =
        "Rechnung;betrag;von;bis;verbraucher;unternehmer;vor-2014;satz;aufschlag;tage;"
        "pauschale;ohne-zahlungstag\n"
        "R-1;3089;17.04.2025;20.02.2026;ja;;;;;;;\n"
        "R-2;10000;16.01.2023;02.10.2025;;ja;;;;;ja;\n"
        "R-3;10000;16.01.2023;02.10.2025;;ja;;;;actact;;\n"
        "R-4;1;17.04.2025;20.02.2026;ja;;;;;;;\n"
        "R-5;137277,82;01.01.2000;02.06.2002;;;;4;;;;ja\n"
        "R-6;5000;31.01.2024;31.03.2025;;;;;2,5;30360;;\n"
        "R-7;2500;01.01.2014;28.07.2014;;ja;ja;;;act360;;\n"
        "R-8;12345,67;15.03.2020;14.03.2021;;;;5;;;;\n"
        "R-9;1000;01.12.2026;15.01.2027;ja;;;;;;;\n"
        "R-10;45.892,46 €;31.02.2025;01.03.2025;ja;;;;;;;\n";
    for (const QString &format : formats)
        Golden("stapel/verzug." + format,
               Zins({"verzug", "--csv", "-", "--format", format}, sheet));
    for (const QString &format : formats) {
        Golden("stapel/zinsen." + format,
               Zins({"zinsen", "--csv", "-", "--format", format},
                    "betrag;von;bis;satz;formel\n1000;15.01.2005;15.03.2005;10;euro\n"
                    "1000;15.01.2005;15.03.2005;10;deutsche\n"
                    "1000;15.01.2005;15.03.2005;10;englische\n"
                    "4.250,00 €;31.01.2005;28.02.2005;7,5;deutsche\n"
                    "1;1.1.2005;1.1.2005;0,01;euro\n"));
        Golden("stapel/basiszins." + format, Zins({"basiszins", "15.03.2025", "--format", format}));
    }
}
