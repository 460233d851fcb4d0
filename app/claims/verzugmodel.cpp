#include "app/claims/verzugmodel.h"

#include "report/statement.h"

void TStatementModel::SetStatement(const TDefaultInterestStatement &value) {
    beginResetModel();
    FStatement = value;
    endResetModel();
}

int TStatementModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FStatement.Result.Rows.size());
}

int TStatementModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : StatementColumns;
}

QVariant TStatementModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const TInterestRow &row = FStatement.Result.Rows[size_t(index.row())];
    const bool userRate = index.column() == colBaseRate && row.UserBaseRate;
    switch (role) {
    case Qt::DisplayRole:
        return PeriodCell(row, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter | (IsNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (userRate) return UserRateNote(FStatement.Result).mid(2);
        return {};
    default:
        return {};
    }
}

QVariant TStatementModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return StatementHeader()[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (IsNumberColumn(section) ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}
