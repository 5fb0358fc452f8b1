#include "DataSource.h"

#include "Table.h"

TDataSource::TDataSource(TADOTable& dataSet, QObject* parent) : QObject(parent), dataSet_(dataSet) {
    connect(&dataSet, &TADOTable::DataSetChanged, this, &TDataSource::DataSetChanged);
    connect(&dataSet, &TADOTable::DataSetScrolled, this, &TDataSource::DataSetScrolled);
    connect(&dataSet, &TADOTable::RecordChanged, this, &TDataSource::RecordChanged);
    connect(&dataSet, &TADOTable::StateChanged, this, &TDataSource::StateChanged);
    connect(&dataSet, &TADOTable::UpdateData, this, &TDataSource::UpdateData);
}
