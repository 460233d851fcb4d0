#pragma once
// The table model of the base-rates dialog: the rates in force, the newest first, with where
// each comes from. A new list changes only the rows that differ, so that the view keeps its
// place, selection and column widths, and a change costs the rows it touches.

#include "engine/baserates.h"

#include <QAbstractTableModel>
#include <vector>

class TBaseRateModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    enum TColumn { cmHalfYear, cmRate, cmOrigin, ColumnCount };

    // The table's rates, ordered by date as TBaseRateTable keeps them.
    void SetRates(const std::vector<TBaseRate> &ascending);
    const TBaseRate &Rate(int row) const { return FRates[std::size_t(row)]; }
    // The row of the half-year starting on `from`; -1 when it has none.
    int RowOf(TDateTime from) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<TBaseRate> FRates; // the newest first
};

// "mitgeliefert", "eigener" or "Bundesbank".
QString BaseRateOrigin(const TBaseRate &rate);
