#include "app/forderung/forderungmodel.h"

void TClaimsModel::SetReport(const TClaimsReport &value) {
    beginResetModel();
    FReport = value;
    endResetModel();
}

int TClaimsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(FReport.Statement.Bookings.size());
}

int TClaimsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ClaimsColumns;
}

QVariant TClaimsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
    const TBooking &booking = FReport.Statement.Bookings[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return BookingCell(FReport, booking, index.column());
    case Qt::ToolTipRole:
        // The allocation column is the widest; the whole of it on the pointer.
        if (index.column() == ccAllocation) return BookingCell(FReport, booking, ccAllocation);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(
            Qt::AlignVCenter |
            (IsClaimsNumberColumn(index.column()) ? Qt::AlignRight : Qt::AlignLeft));
    default:
        return {};
    }
}

QVariant TClaimsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return ClaimsHeader()[section];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            Qt::AlignVCenter | (IsClaimsNumberColumn(section) ? Qt::AlignRight : Qt::AlignLeft));
    return {};
}
