#include "app/claims/baseratesmodel.h"

#include "engine/fixedtext.h"
#include "report/amounts.h"

#include <algorithm>

namespace {

// Beyond this many rows to change, one reset is cheaper for the view than row by row.
constexpr int MostSingleChanges = 64;

bool newer(const TBaseRate &a, const TBaseRate &b) {
    return a.From > b.From;
}

} // namespace

QString BaseRateOrigin(const TBaseRate &rate) {
    if (!rate.User) return QStringLiteral("mitgeliefert");
    return rate.Imported ? QStringLiteral("Bundesbank") : QStringLiteral("eigener");
}

void TBaseRateModel::SetRates(const std::vector<TBaseRate> &ascending) {
    const std::vector<TBaseRate> rates(ascending.rbegin(), ascending.rend());
    // Both lists run from the newest down; walked side by side, a half-year only in the old
    // list goes, one only in the new comes, and one in both may change.
    int changes = 0;
    for (std::size_t i = 0, j = 0;
         (i < FRates.size() || j < rates.size()) && changes <= MostSingleChanges;) {
        if (j == rates.size() || (i < FRates.size() && newer(FRates[i], rates[j]))) {
            ++i;
            ++changes;
        } else if (i == FRates.size() || newer(rates[j], FRates[i])) {
            ++j;
            ++changes;
        } else {
            changes += FRates[i++] != rates[j++];
        }
    }
    if (changes == 0) return;
    if (FRates.empty() || changes > MostSingleChanges) {
        beginResetModel();
        FRates = rates;
        endResetModel();
        return;
    }
    std::size_t row = 0, j = 0;
    while (row < FRates.size() || j < rates.size()) {
        if (j == rates.size() || (row < FRates.size() && newer(FRates[row], rates[j]))) {
            beginRemoveRows({}, int(row), int(row));
            FRates.erase(FRates.begin() + std::ptrdiff_t(row));
            endRemoveRows();
        } else if (row == FRates.size() || newer(rates[j], FRates[row])) {
            beginInsertRows({}, int(row), int(row));
            FRates.insert(FRates.begin() + std::ptrdiff_t(row), rates[j++]);
            endInsertRows();
            ++row;
        } else {
            if (FRates[row] != rates[j]) {
                FRates[row] = rates[j];
                emit dataChanged(index(int(row), 0), index(int(row), ColumnCount - 1));
            }
            ++row, ++j;
        }
    }
}

int TBaseRateModel::RowOf(TDateTime from) const {
    const auto at =
        std::lower_bound(FRates.begin(), FRates.end(), TBaseRate{from},
                         [](const TBaseRate &a, const TBaseRate &b) { return newer(a, b); });
    return at != FRates.end() && at->From == from ? int(at - FRates.begin()) : -1;
}

int TBaseRateModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FRates.size());
}

int TBaseRateModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TBaseRateModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    const TBaseRate &rate = FRates[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == cmRate ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                        : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    switch (index.column()) {
    case cmHalfYear:
        return FormatDayDate(rate.From);
    case cmRate:
        return PercentText(rate.Rate);
    default:
        return BaseRateOrigin(rate);
    }
}

QVariant TBaseRateModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case cmHalfYear:
        return QStringLiteral("Halbjahr ab");
    case cmRate:
        return QStringLiteral("Basiszinssatz");
    case cmOrigin:
        return QStringLiteral("Herkunft");
    default:
        return {};
    }
}
