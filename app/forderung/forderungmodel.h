#pragma once
// The table model of the claims statement: one row a booking of the typed statement, its cells
// as the renderer writes them.

#include "report/claims.h"

#include <QAbstractTableModel>

class TClaimsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    const TClaimsReport &Report() const { return FReport; }
    void SetReport(const TClaimsReport &value);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TClaimsReport FReport;
};
