#include "app/claims/atratesdialog.h"

#include "app/claims/children.h"
#include "engine/atuserrates.h"
#include "engine/fixedtext.h"
#include "platform/base/exceptions.h"
#include "platform/core/desktop.h"
#include "report/amounts.h"
#include "report/errortext.h"
#include "report/ruletexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Caption = QStringLiteral("Österreichische Basiszinssätze");

} // namespace

TAtRateDialog::TAtRateDialog(QString path, QWidget *parent)
    : QDialog(parent), FPath(std::move(path)) {
    setWindowTitle(Caption);
    setAttribute(Qt::WA_QuitOnClose, false);
    setObjectName(QStringLiteral("AtRatesDialog"));
    auto *intro = new QLabel(
        QStringLiteral(
            "Basiszinssätze der Oesterreichischen Nationalbank, je Änderung. § 456 UGB "
            "nimmt den Satz am ersten Tag des Halbjahres, § 352 UGB a. F. den am letzten "
            "Tag des Halbjahres davor. Eigene Änderungen gehen den mitgelieferten vor; "
            "sie stehen in\n„%1“.")
            .arg(QDir::toNativeSeparators(FPath)),
        this);
    intro->setWordWrap(true);
    intro->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Rates = new QTableWidget(0, 3, this);
    Rates->setHorizontalHeaderLabels(
        {QStringLiteral("Ab"), QStringLiteral("Basiszinssatz"), QStringLiteral("Herkunft")});
    Rates->verticalHeader()->hide();
    Rates->horizontalHeader()->setStretchLastSection(true);
    Rates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Rates->setSelectionBehavior(QAbstractItemView::SelectRows);
    Rates->setSelectionMode(QAbstractItemView::SingleSelection);
    Rates->setTabKeyNavigation(false);
    Rates->setAccessibleName(QStringLiteral("Bekannte österreichische Basiszinssätze"));
    connect(Rates, &QTableWidget::currentCellChanged, this, [this](int row) { RowPicked(row); });
    Reach = new QLabel(this);
    Day = new TDateEdit(nullptr, this);
    Day->SetYearDigits(TYearDigits::dyFour);
    Day->SetDialogTitle(QStringLiteral("Geändert ab"));
    Day->setAccessibleName(QStringLiteral("Geändert ab"));
    Rate = new QLineEdit(this);
    Rate->setAccessibleName(QStringLiteral("Basiszinssatz in Prozent"));
    Rate->setPlaceholderText(QStringLiteral("z. B. 2,03"));
    SetButton = new QPushButton(QStringLiteral("&Eintragen"), this);
    SetButton->setDefault(true);
    connect(SetButton, &QPushButton::clicked, this, [this] { SetRate(); });
    DeleteButton = new QPushButton(QStringLiteral("&Löschen"), this);
    DeleteButton->setAutoDefault(false);
    DeleteButton->setEnabled(false);
    connect(DeleteButton, &QPushButton::clicked, this, [this] { DeleteRate(); });
    Status = new QLabel(this);
    Status->setWordWrap(true);

    auto *entry = new QGridLayout;
    entry->addWidget(BuddyLabel(QStringLiteral("&Geändert ab:"), Day), 0, 0);
    entry->addWidget(Day, 0, 1);
    entry->addWidget(BuddyLabel(QStringLiteral("&Basiszinssatz in %:"), Rate), 1, 0);
    entry->addWidget(Rate, 1, 1);
    entry->addWidget(SetButton, 1, 2);
    entry->addWidget(DeleteButton, 1, 3);
    entry->setColumnStretch(4, 1);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close =
        buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(Rates, 1);
    layout->addWidget(Reach);
    layout->addLayout(entry);
    layout->addWidget(Status);
    layout->addWidget(buttons);
    resize(520, 460);
    NameChildren(*this, {{Day, "Day"},
                         {Rate, "Rate"},
                         {SetButton, "SetButton"},
                         {DeleteButton, "DeleteButton"},
                         {Rates, "Rates"},
                         {Reach, "Reach"},
                         {Status, "Status"}});
    Refresh();
}

void TAtRateDialog::Open(TDateTime day) {
    Refresh();
    Day->SetDateValue(day == EmptyDate ? FRates.KnownThrough() + 1 : day);
    Rate->clear();
    Status->clear();
    show();
    raise();
    activateWindow();
    Rate->setFocus(Qt::OtherFocusReason);
}

void TAtRateDialog::Refresh() {
    TEngineError error;
    FRates = AtRatesWithUsers(FPath, error);
    const std::vector<TBaseRateChange> &changes = FRates.Changes();
    Rates->setRowCount(int(changes.size()));
    // The newest first, as the German table shows its half-years.
    for (int row = 0; row < int(changes.size()); ++row) {
        const TBaseRateChange &change = changes[changes.size() - 1 - size_t(row)];
        const QString cells[] = {FormatDayDate(change.Day), PercentText(change.Rate),
                                 change.User ? QStringLiteral("eigener")
                                             : QStringLiteral("mitgeliefert")};
        for (int column = 0; column < 3; ++column) {
            auto *item = new QTableWidgetItem(cells[column]);
            if (column == 1) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Rates->setItem(row, column, item);
        }
    }
    Reach->setText(
        QStringLiteral("Bekannt bis %1; § 456 UGB reicht bis %2, § 352 UGB a. F. bis %3.")
            .arg(FormatDayDate(FRates.KnownThrough()),
                 FormatDayDate(FRates.HalfYears(hrFirstDay).Reach()),
                 FormatDayDate(FRates.HalfYears(hrLastDayBefore).Reach())));
    RowPicked(Rates->currentRow());
    if (error) Status->setText(ErrorText(error));
}

void TAtRateDialog::RowPicked(int row) {
    const std::vector<TBaseRateChange> &changes = FRates.Changes();
    const bool valid = row >= 0 && size_t(row) < changes.size();
    const TBaseRateChange *change = valid ? &changes[changes.size() - 1 - size_t(row)] : nullptr;
    DeleteButton->setEnabled(change && change->User);
    if (!change) return;
    Day->SetDateValue(change->Day);
    Rate->setText(GermanRate(change->Rate));
}

void TAtRateDialog::SetRate() {
    if (!Day->HasDateText())
        return Refuse(QStringLiteral("Bitte den Tag eingeben, ab dem der Satz gilt."), Day);
    TDateTime day = EmptyDate;
    try {
        day = WholeDay(Day->StrictDateValue());
    } catch (const EConvertError &error) {
        return Refuse(error.Message(), Day);
    }
    const std::optional<TBasisPoints> rate = ParseBasisPoints(Rate->text());
    if (!rate)
        return Refuse(QStringLiteral("„%1“ ist kein Zinssatz; erwartet wird eine Zahl mit "
                                     "höchstens zwei Nachkommastellen, etwa 2,03.")
                          .arg(Rate->text().trimmed()),
                      Rate);
    if (TEngineError error = SetAtUserRate(FPath, {day, *rate, true})) {
        Refresh();
        return Refuse(ErrorText(error), error.Code == ecRate ? Rate : nullptr);
    }
    Refresh();
    Status->setText(QStringLiteral("Basiszinssatz ab %1 eingetragen: %2 %.")
                        .arg(FormatDayDate(day), GermanRate(*rate)));
    emit RatesChanged();
}

void TAtRateDialog::DeleteRate() {
    const std::vector<TBaseRateChange> &changes = FRates.Changes();
    const int row = Rates->currentRow();
    if (row < 0 || size_t(row) >= changes.size()) return;
    const TBaseRateChange change = changes[changes.size() - 1 - size_t(row)];
    if (!change.User) return;
    if (TEngineError error = RemoveAtUserRate(FPath, change.Day)) {
        Refresh();
        return Refuse(ErrorText(error), nullptr);
    }
    Refresh();
    Status->setText(
        QStringLiteral("Eigener Basiszinssatz ab %1 gelöscht.").arg(FormatDayDate(change.Day)));
    emit RatesChanged();
}

void TAtRateDialog::Refuse(const QString &message, QWidget *field) {
    Desktop().ShowMessage(Caption, message);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(field)) edit->selectAll();
}
