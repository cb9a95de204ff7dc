#include "profiles/base/ColumnFitter.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

void ColumnFitter::Fit(QTreeWidget* list, std::vector<int> minimumWidths) {
    if (!list)
        return;
    auto* fitter = list->findChild<ColumnFitter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!fitter)
        fitter = new ColumnFitter(list);
    fitter->m_minimumWidths = std::move(minimumWidths);
    list->header()->setStretchLastSection(false); // a stretched column takes what is left, not what it needs
    for (int column = 0; column < list->columnCount(); ++column)
        list->setColumnWidth(column, 0);
    fitter->Widen();
}

ColumnFitter::ColumnFitter(QTreeWidget* list) : QObject(list), m_list(list) {
    QAbstractItemModel* model = list->model();
    connect(model, &QAbstractItemModel::dataChanged, this, &ColumnFitter::Widen);
    connect(model, &QAbstractItemModel::headerDataChanged, this, &ColumnFitter::Widen);
    connect(model, &QAbstractItemModel::rowsInserted, this, &ColumnFitter::Widen);
    connect(model, &QAbstractItemModel::columnsInserted, this, &ColumnFitter::Widen);
}

void ColumnFitter::Widen() {
    for (int column = 0; column < m_list->columnCount(); ++column) {
        const size_t index = static_cast<size_t>(column);
        const int minimum = index < m_minimumWidths.size() ? m_minimumWidths[index] : 0;
        const int width = m_list->columnWidth(column);
        m_list->resizeColumnToContents(column); // the header's or the longest value's width
        m_list->setColumnWidth(column, std::max({minimum, width, m_list->columnWidth(column)}));
    }
}
