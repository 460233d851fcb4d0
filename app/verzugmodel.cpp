#include "app/verzugmodel.h"

void TStatementModel::SetStatement(const TStatement &value) {
    beginResetModel();
    FStatement = value;
    endResetModel();
}

int TStatementModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FStatement.Rows.size());
}

int TStatementModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(StatementHeader().size());
}

QVariant TStatementModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const QString &cell = FStatement.Rows[index.row()][index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return cell;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter | (IsNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        if (index.column() == colBaseRate && cell.endsWith(UserRateMark()))
            return FStatement.UserRateNote.mid(2);
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
