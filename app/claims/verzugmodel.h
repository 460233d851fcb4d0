#pragma once
// The table model of the default-interest window: one row a period of the typed statement, its
// cells, alignment and tool tip made from the row's data, never from its text.

#include "engine/defaultinterest.h"

#include <QAbstractTableModel>

class TStatementModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    const TDefaultInterestStatement &Statement() const { return FStatement; }
    void SetStatement(const TDefaultInterestStatement &value);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TDefaultInterestStatement FStatement;
};
