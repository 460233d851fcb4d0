#include "app/claims/verzug.h"

#include "app/artwork/artwork.h"
#include "app/claims/children.h"
#include "app/claims/printing.h"
#include "app/claims/verzugexport.h"
#include "engine/atuserrates.h"
#include "engine/fixedtext.h"
#include "platform/base/exceptions.h"
#include "platform/core/desktop.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/application.h"
#include "platform/gui/screens.h"
#include "report/amounts.h"
#include "report/errortext.h"
#include "report/ruletexts.h"
#include "report/statement.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString Caption = QStringLiteral("Verzugszinsen");
constexpr QSize FirstSize(720, 600);
// Beside the bar the window keeps at least this much; where there is less room, it stays
// where it fits on the screen.
constexpr QSize LeastSize(400, 300);
// Forderung, Zinsen, Pauschale, Gesamt, Zinsen je weiteren Tag.
constexpr int MostSums = 5;

TDateEdit *DateField(QWidget *form, const QString &title) {
    auto *field = new TDateEdit(nullptr, form);
    field->SetYearDigits(TYearDigits::dyFour);
    field->SetDialogTitle(title);
    field->setAccessibleName(title);
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) +
                           field->ButtonWidth() + 12);
    return field;
}

QString NativePath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

QString IsoDate(TDateTime day) {
    return day == EmptyDate ? QString() : FormatIsoDate(day);
}

bool UsesTypedRate(int kind) {
    return kind == rkFixed || kind == rkMargin;
}

// The rules each law offers, in the order of TRateKind, as the window names them.
QList<std::pair<QString, TRateKind>> RuleItems(TLaw law) {
    switch (law) {
    case lwAustria:
        return {{QStringLiteral("unternehmerisches Geschäft (§ 456 UGB)"), rkNoConsumer},
                {QStringLiteral("gesetzlicher Zinssatz 4 % (§ 1000 Abs. 1 ABGB)"), rkStatutory},
                {QStringLiteral("fester Zinssatz"), rkFixed},
                {QStringLiteral("Aufschlag auf den Basiszinssatz"), rkMargin}};
    case lwSwitzerland:
        return {{QStringLiteral("Verzugszins 5 % (Art. 104 Abs. 1 OR)"), rkStatutory},
                {QStringLiteral("fester Zinssatz (vertraglich)"), rkFixed}};
    case lwGermany:
        break;
    }
    return {{QStringLiteral("Verbraucher beteiligt"), rkConsumer},
            {QStringLiteral("kein Verbraucher beteiligt"), rkNoConsumer},
            {QStringLiteral("gesetzlicher Zinssatz 4 % (§ 246 BGB)"), rkStatutory},
            {QStringLiteral("Handelsgeschäft 5 % (§ 352 HGB)"), rkCommercial},
            {QStringLiteral("fester Zinssatz"), rkFixed},
            {QStringLiteral("Aufschlag auf den Basiszinssatz"), rkMargin}};
}

QList<std::pair<QString, TDayCount>> DayCountItems(TLaw law) {
    if (law == lwSwitzerland)
        return {{QStringLiteral("30/360 (Schweizer Usanz)"), dc30360Swiss},
                {QStringLiteral("act/360"), dcActual360},
                {QStringLiteral("act/365"), dcActual365}};
    return {{QStringLiteral("taggenau (act/365)"), dcActual365},
            {QStringLiteral("act/act"), dcActualActual},
            {QStringLiteral("act/360"), dcActual360},
            {QStringLiteral("30/360"), dc30360}};
}

// The combo box's items anew; the choice stays where the new items have it, else the first.
template <typename T> void Refill(QComboBox *box, const QList<std::pair<QString, T>> &items) {
    const QSignalBlocker quiet(box);
    const QVariant chosen = box->currentData();
    box->clear();
    for (const auto &[text, value] : items)
        box->addItem(text, int(value));
    box->setCurrentIndex(std::max(0, box->findData(chosen)));
}

} // namespace

TVerzugForm::TVerzugForm(QWidget *parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Verzugszinsen – Tarvo"));
    setWindowIcon(LoadProgramIcon());
    setAttribute(Qt::WA_QuitOnClose, false);
    FModel = new TStatementModel(this);
    auto *inputs = new QGridLayout;
    BuildInputs(inputs);
    Reason = new QLabel(this);
    Reason->setAccessibleName(QStringLiteral("Keine Aufstellung"));
    Reason->setWordWrap(true);
    Reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Reason->hide();
    Table = new QTableView(this);
    Table->setModel(FModel);
    Table->setAccessibleName(QStringLiteral("Zinsaufstellung"));
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setTabKeyNavigation(false);
    Table->setAlternatingRowColors(true);
    Table->setWordWrap(false);

    // Scrolled where a small screen or a large scale leaves less room than the controls need,
    // so that the window always fits the screen.
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("Content"));
    auto *layout = new QVBoxLayout(content);
    layout->addLayout(inputs);
    layout->addSpacing(6);
    layout->addWidget(BuddyLabel(QStringLiteral("A&ufstellung:"), Table));
    layout->addWidget(Reason);
    layout->addWidget(Table, 1);
    layout->addLayout(BuildSums());
    layout->addLayout(BuildButtons());
    auto *scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("Scroller"));
    scroller->setWidget(content);
    scroller->setWidgetResizable(true);
    scroller->setFrameShape(QFrame::NoFrame);
    auto *outer = new QVBoxLayout(this);
    // The window's own margins go round the controls, not round the scrolled area.
    layout->setContentsMargins(outer->contentsMargins());
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroller);
    SetTabOrder();
    NameChildren(*this, {{FModel, "StatementModel"},
                         {Law, "Law"},
                         {Amount, "Amount"},
                         {FirstDay, "FirstDay"},
                         {LastDay, "LastDay"},
                         {RateRule, "RateRule"},
                         {Before29072014, "Before29072014"},
                         {RateLabel, "RateLabel"},
                         {Rate, "Rate"},
                         {FlatFee, "FlatFee"},
                         {DayCount, "DayCount"},
                         {PaymentDay, "PaymentDay"},
                         {CalculateButton, "CalculateButton"},
                         {Reason, "Reason"},
                         {Table, "Table"},
                         {Rules, "Rules"},
                         {Note, "Note"},
                         {Reach, "Reach"},
                         {RatesButton, "RatesButton"},
                         {CopyButton, "CopyButton"},
                         {CsvButton, "CsvButton"},
                         {PdfButton, "PdfButton"},
                         {PrintButton, "PrintButton"},
                         {ClaimsButton, "ClaimsButton"},
                         {CloseButton, "CloseButton"}});
    AddShortcut(
        *this, {Qt::CTRL | Qt::SHIFT | Qt::Key_C}, QStringLiteral("Strg+Umschalt+C"),
        [this] { CopyStatement(); }, CopyButton);

    FSettings.Load();
    RestoreSettings();
    RestoreGeometry();
    // Only now: the stored check box must not give way to the preset of the stored first day.
    FirstDay->OnChange = [this](TObject *) {
        FirstDayChanged();
        Recalculate();
    };
    Amount->OnChange = [this](TObject *) { Recalculate(); };
    LastDay->OnChange = [this](TObject *) { Recalculate(); };
    const auto ruleChanged = [this] {
        RuleChanged();
        Recalculate();
    };
    connect(Law, &QComboBox::currentIndexChanged, this, [this] {
        LawChanged();
        Recalculate();
    });
    connect(RateRule, &QComboBox::currentIndexChanged, this, ruleChanged);
    connect(Before29072014, &QCheckBox::toggled, this, ruleChanged);
    connect(Before29072014, &QCheckBox::clicked, this, [this] { FBeforeTouched = true; });
    connect(Rate, &QLineEdit::textChanged, this, [this] { Recalculate(); });
    connect(FlatFee, &QCheckBox::toggled, this, [this](bool checked) { FlatFeeToggled(checked); });
    connect(DayCount, &QComboBox::currentIndexChanged, this, [this] { Recalculate(); });
    connect(PaymentDay, &QCheckBox::toggled, this, [this] { Recalculate(); });
    ShowReach();
    // Stored as the window closes, and once more as the program ends, open or not.
    if (TApplication *app = TApplication::Instance())
        connect(app, &TApplication::Ending, this, [this] { SaveSettings(); });
}

void TVerzugForm::BuildInputs(QGridLayout *grid) {
    Law = new QComboBox(this);
    // In the order of TLaw.
    Law->addItem(QStringLiteral("Deutschland"), int(lwGermany));
    Law->addItem(QStringLiteral("Österreich"), int(lwAustria));
    Law->addItem(QStringLiteral("Schweiz"), int(lwSwitzerland));
    Law->setAccessibleName(QStringLiteral("Recht"));
    Amount = new TCurrencyEdit(nullptr, this);
    Amount->setAccessibleName(QStringLiteral("Forderung in Euro"));
    FirstDay = DateField(this, QStringLiteral("Erster Zinstag"));
    LastDay = DateField(this, QStringLiteral("Letzter Zinstag"));
    LastDay->SetDefaultToday(true);
    RateRule = new QComboBox(this);
    Refill(RateRule, RuleItems(lwGermany));
    RateRule->setAccessibleName(QStringLiteral("Zinssatz"));
    Before29072014 =
        new QCheckBox(QStringLiteral("Forderung &vor dem 29.07.2014 entstanden"), this);
    Rate = new QLineEdit(this);
    Rate->setMaximumWidth(Rate->fontMetrics().horizontalAdvance(QStringLiteral("000,00 %")) + 24);
    RateLabel = BuddyLabel(QString(), Rate);
    FlatFee = new QCheckBox(QStringLiteral("&Pauschale nach § 288 Abs. 5 BGB (40 €)"), this);
    DayCount = new QComboBox(this);
    Refill(DayCount, DayCountItems(lwGermany));
    DayCount->setAccessibleName(QStringLiteral("Tageszählung"));
    // Courts differ on whether the day of payment still bears interest.
    PaymentDay = new QCheckBox(QStringLiteral("Zahlungstag zählt &mit"), this);
    PaymentDay->setChecked(true);
    CalculateButton = new QPushButton(QStringLiteral("&Berechnen"), this);
    CalculateButton->setAutoDefault(true);
    connect(CalculateButton, &QPushButton::clicked, this, [this] { Calculate(); });

    grid->addWidget(BuddyLabel(QStringLiteral("&Recht:"), Law), 0, 0);
    grid->addWidget(Law, 0, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Forderung:"), Amount), 1, 0);
    grid->addWidget(Amount, 1, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Erster Zinstag:"), FirstDay), 2, 0);
    grid->addWidget(FirstDay, 2, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Letzter Zinstag:"), LastDay), 2, 2);
    grid->addWidget(LastDay, 2, 3);
    grid->addWidget(BuddyLabel(QStringLiteral("Zins&satz:"), RateRule), 3, 0);
    grid->addWidget(RateRule, 3, 1, 1, 3);
    grid->addWidget(Before29072014, 4, 1, 1, 3);
    grid->addWidget(RateLabel, 5, 0);
    grid->addWidget(Rate, 5, 1);
    grid->addWidget(FlatFee, 6, 1, 1, 3);
    grid->addWidget(BuddyLabel(QStringLiteral("&Tageszählung:"), DayCount), 7, 0);
    grid->addWidget(DayCount, 7, 1);
    grid->addWidget(PaymentDay, 7, 2);
    grid->addWidget(CalculateButton, 7, 3, Qt::AlignRight);
    grid->setColumnStretch(4, 1);
}

QLayout *TVerzugForm::BuildSums() {
    Rules = new QLabel(this);
    Note = new QLabel(this);
    Reach = new QLabel(this);
    for (QLabel *label : {Rules, Note, Reach}) {
        label->setWordWrap(label != Reach);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    RatesButton = new QPushButton(QStringLiteral("Basis&zinssätze …"), this);
    RatesButton->setAutoDefault(true);
    connect(RatesButton, &QPushButton::clicked, this, [this] { OpenRates(); });
    auto *reach = new QHBoxLayout;
    reach->addWidget(Reach);
    reach->addSpacing(12);
    reach->addWidget(RatesButton);
    reach->addStretch(1);
    auto *left = new QVBoxLayout;
    left->addWidget(Rules);
    left->addWidget(Note);
    left->addStretch(1);
    left->addLayout(reach);

    auto *sums = new QGridLayout;
    for (int i = 0; i < MostSums; ++i) {
        SumLabels.append(new QLabel(this));
        SumValues.append(new QLabel(this));
        SumLabels[i]->setObjectName(QStringLiteral("SumLabel%1").arg(i + 1));
        SumValues[i]->setObjectName(QStringLiteral("SumValue%1").arg(i + 1));
        SumValues[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        SumValues[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        sums->addWidget(SumLabels[i], i, 0);
        sums->addWidget(SumValues[i], i, 1);
    }
    sums->setColumnMinimumWidth(1,
                                fontMetrics().horizontalAdvance(QStringLiteral("0.000.000,00 €")));
    auto *row = new QHBoxLayout;
    row->addLayout(left, 1);
    row->addSpacing(24);
    row->addLayout(sums);
    return row;
}

QLayout *TVerzugForm::BuildButtons() {
    CopyButton = new QPushButton(QStringLiteral("&Kopieren"), this);
    CsvButton = new QPushButton(QStringLiteral("&CSV speichern …"), this);
    PdfButton = new QPushButton(QStringLiteral("P&DF speichern …"), this);
    // Alt+R is the law's.
    PrintButton = new QPushButton(QStringLiteral("Drucke&n …"), this);
    ClaimsButton = new QPushButton(QStringLiteral("Forderun&gsaufstellung …"), this);
    ClaimsButton->setToolTip(QStringLiteral("Die Forderung als erste einer Forderungsaufstellung "
                                            "mit Kosten und Teilzahlungen"));
    ClaimsButton->hide();
    CloseButton = new QPushButton(QStringLiteral("Schl&ießen"), this);
    connect(ClaimsButton, &QPushButton::clicked, this, [this] {
        if (FOpenClaims && Calculate()) FOpenClaims(Statement().Input);
    });
    connect(CopyButton, &QPushButton::clicked, this, [this] { CopyStatement(); });
    connect(CsvButton, &QPushButton::clicked, this, [this] { SaveCsv(); });
    connect(PdfButton, &QPushButton::clicked, this, [this] { SavePdf(); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { PrintStatement(); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    auto *row = new QHBoxLayout;
    for (QPushButton *button : {CopyButton, CsvButton, PdfButton, PrintButton, ClaimsButton}) {
        button->setAutoDefault(true);
        row->addWidget(button);
    }
    row->addStretch(1);
    CloseButton->setAutoDefault(true);
    row->addWidget(CloseButton);
    return row;
}

void TVerzugForm::SetTabOrder() {
    QWidget *const order[] = {
        Law,       Amount,    FirstDay,    LastDay,         RateRule,   Before29072014, Rate,
        FlatFee,   DayCount,  PaymentDay,  CalculateButton, Table,      RatesButton,    CopyButton,
        CsvButton, PdfButton, PrintButton, ClaimsButton,    CloseButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

TLaw TVerzugForm::CurrentLaw() const {
    return TLaw(Law->currentData().toInt());
}

TRateKind TVerzugForm::CurrentRule() const {
    return TRateKind(RateRule->currentData().toInt());
}

void TVerzugForm::LawChanged() {
    const TLaw law = CurrentLaw();
    Refill(RateRule, RuleItems(law));
    Refill(DayCount, DayCountItems(law));
    // Switzerland counts by its usance; its other counts are the user's choice.
    if (law == lwSwitzerland) DayCount->setCurrentIndex(0);
    {
        const QSignalBlocker quiet(Before29072014);
        Before29072014->setText(law == lwAustria
                                    ? QStringLiteral("Vertrag &vor dem 16.03.2013 geschlossen")
                                    : QStringLiteral("Forderung &vor dem 29.07.2014 entstanden"));
        Before29072014->setVisible(law != lwSwitzerland);
    }
    FlatFee->setText(law == lwAustria ? QStringLiteral("&Pauschale nach § 458 UGB (40 €)")
                                      : QStringLiteral("&Pauschale nach § 288 Abs. 5 BGB (40 €)"));
    FlatFee->setVisible(law != lwSwitzerland);
    Amount->setAccessibleName(law == lwSwitzerland ? QStringLiteral("Forderung in Franken")
                                                   : QStringLiteral("Forderung in Euro"));
    // The box means another date now: the first day presets it afresh.
    FBeforeTouched = false;
    FirstDayChanged();
    // Switzerland has no base rate to keep.
    RatesButton->setEnabled(law != lwSwitzerland);
    RuleChanged();
}

// Only the rule's own inputs take part; the others stay in place, greyed and out of the tab
// order.
void TVerzugForm::RuleChanged() {
    const int kind = CurrentRule();
    const TLaw law = CurrentLaw();
    Before29072014->setEnabled(kind == rkNoConsumer);
    Rate->setEnabled(UsesTypedRate(kind));
    RateLabel->setEnabled(UsesTypedRate(kind));
    const bool margin = kind == rkMargin;
    RateLabel->setText(margin ? QStringLiteral("&Höhe in Prozentpunkten:")
                              : QStringLiteral("&Höhe in %:"));
    Rate->setAccessibleName(margin ? QStringLiteral("Aufschlag in Prozentpunkten")
                                   : QStringLiteral("Fester Zinssatz in Prozent"));
    // A flat fee that is not due shows as not chosen; the user's choice comes back with it.
    TRateRule rule{TRateKind(kind), Before29072014->isChecked(), 0};
    rule.ContractBefore16032013 = Before29072014->isChecked();
    const bool offered = FlatFeeOffered(rule, law);
    FlatFee->setEnabled(offered);
    {
        const QSignalBlocker quiet(FlatFee);
        FlatFee->setChecked(offered && FFlatFeeChoice);
    }
    // Austria's two rules read their base rates on different days.
    ShowReach();
}

void TVerzugForm::FlatFeeToggled(bool checked) {
    if (FlatFee->isEnabled()) FFlatFeeChoice = checked;
    Recalculate();
}

void TVerzugForm::FirstDayChanged() {
    const TDateTime first = FirstDay->DateValue();
    if (first != EmptyDate && !FBeforeTouched)
        Before29072014->setChecked(CurrentLaw() == lwAustria ? ContractBefore16032013Preset(first)
                                                             : ClaimBefore29072014Preset(first));
}

bool TVerzugForm::ReadDay(TDateEdit *field, const QString &missing, TDateTime &day,
                          TOutcome &fault) {
    if (!field->HasDateText() && !field->DefaultToday()) {
        fault.Reason = missing;
        fault.Field = field;
        return false;
    }
    try {
        day = field->StrictDateValue();
        return true;
    } catch (const EConvertError &error) {
        fault.Reason = error.Message();
        fault.Field = field;
        return false;
    }
}

bool TVerzugForm::ReadInputs(TDefaultInterestInput &input, TOutcome &fault) {
    const auto refuse = [&](const QString &reason, QWidget *field) {
        fault.Reason = reason;
        fault.Field = field;
        return false;
    };
    const std::optional<TCents> claim = CentsFromAmount(Amount->Value());
    if (!claim) return refuse(ErrorText(TEngineError(ecClaim, TErrorText::ClaimTooLarge)), Amount);
    input.Claim = *claim;
    if (!ReadDay(FirstDay, QStringLiteral("Bitte den ersten Zinstag eingeben."), input.FirstDay,
                 fault) ||
        !ReadDay(LastDay, QString(), input.LastDay, fault))
        return false;
    input.Law = CurrentLaw();
    input.Rule.Kind = CurrentRule();
    input.Rule.ClaimBefore29072014 = input.Law == lwGermany && Before29072014->isChecked();
    input.Rule.ContractBefore16032013 = input.Law == lwAustria && Before29072014->isChecked();
    if (UsesTypedRate(input.Rule.Kind)) {
        if (const TEngineError error = ReadTypedRate(Rate->text(), input.Rule.Value))
            return refuse(ErrorText(error), Rate);
    }
    input.DayCount = TDayCount(DayCount->currentData().toInt());
    input.LastDayCounts = PaymentDay->isChecked();
    input.FlatFee = FlatFeeOffered(input.Rule, input.Law) && FFlatFeeChoice;
    return true;
}

void TVerzugForm::Refuse(const QString &message, QWidget *field) {
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto *combo = dynamic_cast<TCustomComboEdit *>(field))
            combo->SelectAll();
        else if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
    }
    Desktop().ShowMessage(Caption, message);
}

// The engine names the fault; the window takes the user to the input that can mend it.
void TVerzugForm::ReportEngineError(const TEngineError &error) {
    switch (error.Code) {
    case ecMissingHalfYear: {
        // Austria's rate of a half-year is the change in force on its first day, under the older
        // rule on the last day before it.
        const bool olderAustrian = CurrentLaw() == lwAustria && CurrentRule() == rkNoConsumer &&
                                   Before29072014->isChecked();
        if (Desktop().Ask(Caption, ErrorText(error), QStringLiteral("Basiszinssatz eintragen …")))
            OpenRates(error.HalfYear - (olderAustrian ? 1 : 0));
        return;
    }
    case ecClaim:
        return Refuse(ErrorText(error), Amount);
    case ecDates:
        return Refuse(ErrorText(error), LastDay);
    case ecRate:
        return Refuse(ErrorText(error), Rate);
    case ecNoBaseRate:
        return Refuse(ErrorText(error), FirstDay);
    case ecFlatFee:
        return Refuse(ErrorText(error), FlatFee);
    case ecRule:
        return Refuse(ErrorText(error), RateRule);
    case ecDayCount:
        return Refuse(ErrorText(error), DayCount);
    default:
        return Refuse(ErrorText(error), nullptr);
    }
}

TVerzugForm::TOutcome TVerzugForm::Evaluate() {
    TOutcome outcome;
    TDefaultInterestInput input;
    if (!ReadInputs(input, outcome)) return outcome;
    const TDefaultInterest result = CalculateDefaultInterest(input, FRates.Table(), FAtRates);
    if (result.Error) {
        outcome.Error = result.Error;
        outcome.Reason = ErrorText(result.Error);
        return outcome;
    }
    outcome.Statement = {input, result, LawRates().Reach()};
    return outcome;
}

void TVerzugForm::ShowOutcome(const TOutcome &outcome) {
    ShowStatement(outcome.Statement);
    Reason->setText(outcome.Reason);
    Reason->setVisible(!outcome.Reason.isEmpty());
}

bool TVerzugForm::Calculate() {
    const TOutcome outcome = Evaluate();
    ShowOutcome(outcome);
    if (outcome.Reason.isEmpty()) return true;
    if (outcome.Error)
        ReportEngineError(outcome.Error);
    else
        Refuse(outcome.Reason, outcome.Field);
    return false;
}

void TVerzugForm::Recalculate() {
    ShowOutcome(Evaluate());
}

void TVerzugForm::ShowStatement(const TDefaultInterestStatement &statement) {
    FModel->SetStatement(statement);
    const bool calculated = !statement.Result.Rows.empty();
    const std::vector<TSum> sums = calculated ? Sums(statement.Result) : std::vector<TSum>();
    for (int i = 0; i < MostSums; ++i) {
        const bool shown = size_t(i) < sums.size();
        const TLaw law = statement.Input.Law;
        SumLabels[i]->setText(shown ? SumLabel(sums[size_t(i)].Kind, law) + u':' : QString());
        SumValues[i]->setText(shown ? MoneyText(sums[size_t(i)].Amount, law) : QString());
        // The interest is what the user came for.
        QFont font = SumValues[i]->font();
        font.setBold(shown && sums[size_t(i)].Kind == TSumKind::Interest);
        SumLabels[i]->setFont(font);
        SumValues[i]->setFont(font);
    }
    Rules->setText(calculated ? RulesText(statement.Input) : QString());
    const QString note = UserRateNote(statement.Result);
    Note->setText(note);
    Note->setVisible(!note.isEmpty());
}

const TBaseRateTable &TVerzugForm::LawRates() const {
    TRateRule rule{CurrentRule(), false, 0};
    rule.ContractBefore16032013 = Before29072014->isChecked();
    return HalfYearRates(CurrentLaw(), rule, FRates.Table(), FAtRates);
}

void TVerzugForm::ShowReach() {
    Reach->setText(ReachText(LawRates().Reach(), CurrentLaw()));
}

void TVerzugForm::LoadRates() {
    const TEngineError error = FRates.Load();
    // Rates changed meanwhile by another program (tarvo-zins, another copy) show at once.
    FRates.OnChanged = [this] {
        ShowReach();
        if (FRatesDialog) FRatesDialog->Refresh();
    };
    FRates.Watch();
    TEngineError austrian;
    FAtRates = AtRatesWithUsers(AtUserRatesPath(), austrian);
    ShowReach();
    Recalculate();
    if (FRatesDialog) FRatesDialog->Refresh();
    if (error) Desktop().ShowMessage(Caption, ErrorText(error));
    if (austrian) Desktop().ShowMessage(Caption, ErrorText(austrian));
}

void TVerzugForm::OpenRates(TDateTime halfYear) {
    if (CurrentLaw() == lwAustria) {
        if (!FAtRatesDialog) {
            FAtRatesDialog = new TAtRateDialog(AtUserRatesPath(), this);
            connect(FAtRatesDialog, &TAtRateDialog::RatesChanged, this, [this] {
                TEngineError ignored; // the dialog shows it
                FAtRates = AtRatesWithUsers(AtUserRatesPath(), ignored);
                ShowReach();
                Recalculate();
            });
        }
        FAtRatesDialog->Open(halfYear);
        return;
    }
    if (!FRatesDialog) {
        FRatesDialog = new TBaseRateDialog(FRates, this);
        connect(FRatesDialog, &TBaseRateDialog::RatesChanged, this, [this] {
            ShowReach();
            Recalculate();
        });
    }
    FRatesDialog->Open(halfYear);
}

void TVerzugForm::CopyStatement() {
    if (!Calculate()) return;
    Desktop().SetClipboardHtml(StatementText(Statement()), StatementHtml(Statement()));
}

QString TVerzugForm::AskExportPath(const QString &caption, const QString &suffix,
                                   const QString &filter) {
    QString folder = FSettings.Value(Setting::VerzugOrdner);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString chosen = Desktop().SaveFileName(
        caption, folder + QStringLiteral("/Zinsaufstellung.") + suffix, filter);
    if (chosen.isEmpty()) return {};
    QString path = chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += u'.' + suffix;
    // The dialog asked about the name it gave; the name with the suffix is another file.
    if (path != chosen && QFileInfo::exists(path) &&
        !Desktop().Ask(Caption,
                       QStringLiteral("Die Datei „%1“ gibt es schon. Soll sie ersetzt werden?")
                           .arg(NativePath(path)),
                       QStringLiteral("Ersetzen")))
        return {};
    return path;
}

void TVerzugForm::Export(const QString &path, const QByteArray &data) {
    if (const QString error = WriteExportFile(path, data); !error.isEmpty()) {
        Desktop().ShowMessage(Caption, error);
        return;
    }
    FSettings.SetValue(Setting::VerzugOrdner, QFileInfo(path).absolutePath());
}

void TVerzugForm::SaveCsv() {
    SaveAs(QStringLiteral("CSV"), QStringLiteral("CSV-Dateien (*.csv)"), StatementCsv);
}

void TVerzugForm::SavePdf() {
    SaveAs(QStringLiteral("PDF"), QStringLiteral("PDF-Dateien (*.pdf)"), StatementPdf);
}

void TVerzugForm::SaveAs(const QString &kind, const QString &filter,
                         QByteArray (*render)(const TDefaultInterestStatement &)) {
    if (!Calculate()) return;
    const QString path = AskExportPath(QStringLiteral("Zinsaufstellung als %1 speichern").arg(kind),
                                       kind.toLower(), filter);
    if (!path.isEmpty()) Export(path, render(Statement()));
}

void TVerzugForm::SetOpenClaims(std::function<void(const TDefaultInterestInput &)> open) {
    FOpenClaims = std::move(open);
    ClaimsButton->setVisible(bool(FOpenClaims));
}

void TVerzugForm::PrintStatement() {
    if (!Calculate()) return;
    PrintPages(
        this, QStringLiteral("Zinsaufstellung drucken"), QStringLiteral("Zinsaufstellung"),
        [this](QPagedPaintDevice &device) { PaintStatement(Statement(), device); },
        [this](const QString &path, const QByteArray &pdf) { Export(path, pdf); }, FChoosePrinter);
}

void TVerzugForm::keyPressEvent(QKeyEvent *event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        modifiers == Qt::NoModifier) {
        Calculate();
        return;
    }
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Each opening starts in the amount with the last day on today, inside the screen and clear
// of the bar, and reads the user's rates afresh, after the window is up, so that a message
// about a broken file stands in front of it.
void TVerzugForm::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    LastDay->SetDateValue(CurrentDateSerial());
    PlaceOnScreen();
    Amount->setFocus(Qt::OtherFocusReason);
    QMetaObject::invokeMethod(
        this, [this] { LoadRates(); }, Qt::QueuedConnection);
}

void TVerzugForm::closeEvent(QCloseEvent *event) {
    if (FRatesDialog) FRatesDialog->close();
    if (FAtRatesDialog) FAtRatesDialog->close();
    SaveSettings();
    QWidget::closeEvent(event);
}

void TVerzugForm::RestoreSettings() {
    bool read = false;
    const double amount = FSettings.Value(Setting::VerzugForderung).toDouble(&read);
    Amount->SetValue(read ? amount : 0);
    if (const auto day = ParseDayDate(FSettings.Value(Setting::VerzugErsterTag)))
        FirstDay->SetDateValue(*day);
    const int law = FSettings.Value(Setting::VerzugRecht);
    Law->setCurrentIndex(std::max(0, Law->findData(law)));
    LawChanged();
    RateRule->setCurrentIndex(
        std::max(0, RateRule->findData(int(FSettings.Value(Setting::VerzugZinsregel)))));
    Before29072014->setChecked(FSettings.Value(Setting::VerzugVor29072014));
    Rate->setText(FSettings.Value(Setting::VerzugZinssatz));
    FFlatFeeChoice = FSettings.Value(Setting::VerzugPauschale);
    DayCount->setCurrentIndex(
        std::max(0, DayCount->findData(FSettings.Value(Setting::VerzugTageszaehlung))));
    PaymentDay->setChecked(FSettings.Value(Setting::VerzugZahlungstag));
    RuleChanged();
}

// The stored size and place when there are; else the first size, in the middle of the screen
// (PlaceOnScreen fits either to the screen as the window opens).
void TVerzugForm::RestoreGeometry() {
    const bool stored =
        FSettings.Stored(Setting::VerzugBreite) && FSettings.Stored(Setting::VerzugHoehe);
    if (stored)
        resize(FSettings.Value(Setting::VerzugBreite), FSettings.Value(Setting::VerzugHoehe));
    else
        resize(FirstSize.expandedTo(minimumSizeHint()));
    if (stored && FSettings.Stored(Setting::VerzugLinks)) {
        move(FSettings.Value(Setting::VerzugLinks), FSettings.Value(Setting::VerzugOben));
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        CentreWindow(*this, screen->availableGeometry());
    }
}

// The window manager's frame once the window has been shown; before that the style's title bar
// stands in for it.
QMargins TVerzugForm::FrameMargins() const {
    if (const QWindow *native = windowHandle(); native && !native->frameMargins().isNull())
        return native->frameMargins();
    return QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
}

void TVerzugForm::PlaceOnScreen() {
    const QMargins margins = FrameMargins();
    const QSize frameExtra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QList<QRect> areas = AvailableScreenAreas();
    QRect frame = FitInside(QRect(pos(), size() + frameExtra), areas);
    if (FKeepClearOf && FKeepClearOf->isVisible()) {
        QRect area = frame;
        for (const QRect &candidate : areas)
            if (candidate.contains(frame)) area = candidate;
        frame = PlaceClearOf(frame, FKeepClearOf->frameGeometry(), area,
                             (LeastSize + frameExtra).boundedTo(area.size()));
    }
    move(frame.topLeft());
    resize(frame.size() - frameExtra);
}

void TVerzugForm::SaveSettings() {
    FSettings.SetValue(Setting::VerzugForderung,
                       PlainCents(CentsFromAmount(Amount->Value()).value_or(0), u'.'));
    FSettings.SetValue(Setting::VerzugErsterTag, IsoDate(FirstDay->DateValue()));
    FSettings.SetValue(Setting::VerzugRecht, int(CurrentLaw()));
    FSettings.SetValue(Setting::VerzugZinsregel, CurrentRule());
    FSettings.SetValue(Setting::VerzugVor29072014, Before29072014->isChecked());
    FSettings.SetValue(Setting::VerzugZinssatz, Rate->text());
    FSettings.SetValue(Setting::VerzugPauschale, FFlatFeeChoice);
    FSettings.SetValue(Setting::VerzugTageszaehlung, DayCount->currentData().toInt());
    FSettings.SetValue(Setting::VerzugZahlungstag, PaymentDay->isChecked());
    FSettings.SetValue(Setting::VerzugLinks, pos().x());
    FSettings.SetValue(Setting::VerzugOben, pos().y());
    FSettings.SetValue(Setting::VerzugBreite, width());
    FSettings.SetValue(Setting::VerzugHoehe, height());
    try {
        FSettings.Save();
    } catch (const std::exception &error) {
        ReportException(error);
    }
}
