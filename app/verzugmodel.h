#pragma once
// The table model that shows the default-interest statement's rows in the window.

#include "engine/statement.h"

#include <QAbstractTableModel>

class TStatementModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    const TStatement &Statement() const { return FStatement; }
    void SetStatement(const TStatement &value);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TStatement FStatement;
};
