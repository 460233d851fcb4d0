#include "app/baseratesdialog.h"

#include "engine/bundesbank.h"
#include "engine/fixedtext.h"
#include "engine/userrates.h"
#include "platform/desktop.h"
#include "platform/exceptions.h"
#include "platform/services.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Basiszinssätze");

QLabel *BuddyLabel(const QString &text, QWidget *buddy) {
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QTableWidget *RatesTable(QWidget *parent) {
    auto *table = new QTableWidget(0, 3, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("Halbjahr ab"),
                                      QStringLiteral("Basiszinssatz"), QStringLiteral("Herkunft")});
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    table->setAccessibleName(QStringLiteral("Bekannte Basiszinssätze"));
    return table;
}

} // namespace

TBaseRateDialog::TBaseRateDialog(TBaseRateStore &store, QWidget *parent)
    : QDialog(parent), FStore(store) {
    setWindowTitle(Caption);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *intro = new QLabel(
        QStringLiteral("Basiszinssätze nach § 247 BGB, je Halbjahr. Eigene Sätze gehen den "
                       "mitgelieferten vor; sie stehen in\n„%1“.")
            .arg(QDir::toNativeSeparators(store.Path())));
    intro->setWordWrap(true);
    intro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Rates = RatesTable(this);

    HalfYear = new TDateEdit(nullptr, this);
    HalfYear->SetYearDigits(TYearDigits::dyFour);
    HalfYear->SetDialogTitle(QStringLiteral("Halbjahr ab"));
    HalfYear->setAccessibleName(QStringLiteral("Halbjahr ab, 1. Januar oder 1. Juli"));
    Rate = new QLineEdit(this);
    Rate->setAccessibleName(QStringLiteral("Basiszinssatz in Prozent"));
    Rate->setPlaceholderText(QStringLiteral("z. B. 1,27"));
    SetButton = new QPushButton(QStringLiteral("&Eintragen"), this);
    SetButton->setDefault(true);
    connect(SetButton, &QPushButton::clicked, this, [this] { SetRate(); });
    ImportButton = new QPushButton(QStringLiteral("Bundesbank-CSV &importieren …"), this);
    connect(ImportButton, &QPushButton::clicked, this, [this] { Import(); });
    Status = new QLabel(this);
    Status->setWordWrap(true);

    auto *entry = new QGridLayout;
    entry->addWidget(BuddyLabel(QStringLiteral("&Halbjahr ab:"), HalfYear), 0, 0);
    entry->addWidget(HalfYear, 0, 1);
    entry->addWidget(BuddyLabel(QStringLiteral("&Basiszinssatz in %:"), Rate), 1, 0);
    entry->addWidget(Rate, 1, 1);
    entry->addWidget(SetButton, 1, 2);
    entry->setColumnStretch(3, 1);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(ImportButton, QDialogButtonBox::ActionRole);
    QPushButton *close =
        buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(Rates, 1);
    layout->addLayout(entry);
    layout->addWidget(Status);
    layout->addWidget(buttons);
    setTabOrder(HalfYear, Rate);
    setTabOrder(Rate, SetButton);
    resize(460, 440);
}

void TBaseRateDialog::Open(TDateTime halfYear) {
    if (halfYear == EmptyDate)
        halfYear = FStore.Table().Reach() == EmptyDate ? FirstBaseRateDay()
                                                       : NextHalfYearStart(FStore.Table().Reach());
    HalfYear->SetDateValue(halfYear);
    Rate->clear();
    Status->clear();
    Refresh();
    show();
    raise();
    activateWindow();
    Rate->setFocus(Qt::OtherFocusReason);
}

void TBaseRateDialog::Refresh() {
    const std::vector<TBaseRate> &rates = FStore.Table().Rates();
    Rates->setRowCount(int(rates.size()));
    // The newest first: that is the end the user adds to.
    for (int row = 0; row < int(rates.size()); ++row) {
        const TBaseRate &rate = rates[rates.size() - 1 - row];
        const QString cells[] = {
            FormatDayDate(rate.From), FormatBasisPoints(rate.Rate) + QStringLiteral(" %"),
            rate.User ? QStringLiteral("eigener") : QStringLiteral("mitgeliefert")};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Rates->setItem(row, column, item);
        }
    }
}

void TBaseRateDialog::SetRate() {
    if (!HalfYear->HasDateText())
        return Refuse(QStringLiteral("Bitte den ersten Tag des Halbjahrs eingeben, den 1. Januar "
                                     "oder den 1. Juli."),
                      HalfYear);
    TDateTime from = EmptyDate;
    try {
        from = WholeDay(HalfYear->StrictDateValue());
    } catch (const EConvertError &error) {
        return Refuse(error.Message(), HalfYear);
    }
    if (TEngineError error = CheckBaseRate(from, 0)) return Refuse(error.Message, HalfYear);
    const std::optional<TBasisPoints> rate = ParseBasisPoints(Rate->text());
    if (!rate)
        return Refuse(QStringLiteral("„%1“ ist kein Zinssatz; erwartet wird eine Zahl mit "
                                     "höchstens zwei Nachkommastellen, etwa 1,27.")
                          .arg(Rate->text().trimmed()),
                      Rate);
    if (TEngineError error = FStore.Set({from, *rate, true}))
        return Refuse(error.Message, error.Code == ecRate ? Rate : nullptr);
    Status->setText(QStringLiteral("Basiszinssatz ab %1 eingetragen: %2 %.")
                        .arg(FormatDayDate(from), FormatBasisPoints(*rate)));
    Refresh();
    if (OnRatesChanged) OnRatesChanged();
}

void TBaseRateDialog::Import() {
    const QString path =
        Desktop().OpenFileName(QStringLiteral("Bundesbank-CSV importieren"),
                               QStandardPaths::writableLocation(QStandardPaths::DownloadLocation),
                               QStringLiteral("CSV-Dateien (*.csv);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    int changed = 0;
    if (TEngineError error = FStore.Import(path, changed)) return Refuse(error.Message, nullptr);
    Status->setText(ImportReportText(path, changed));
    Refresh();
    if (OnRatesChanged) OnRatesChanged();
}

void TBaseRateDialog::Refuse(const QString &message, QWidget *field) {
    Desktop().ShowMessage(Caption, message);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) edit->selectAll();
}
