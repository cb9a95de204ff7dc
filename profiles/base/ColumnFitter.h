// Columns of a profile's list kept wide enough for their headers and their values.
#pragma once

#include <QObject>
#include <vector>

class QTreeWidget;

// Each column of a list is at least its given width, widened to its header or its longest value: at
// once, and again whenever a header or a value changes. The last column does not stretch. A column is never
// narrowed behind the user's back: one the user made wider stays so until Fit is called again.
class ColumnFitter : public QObject {
    Q_OBJECT
public:
    // Gives the columns of list their minimum widths (columns past the end of minimumWidths: none)
    // and keeps them fitted. A later call for the same list replaces its widths.
    static void Fit(QTreeWidget* list, std::vector<int> minimumWidths);

private:
    explicit ColumnFitter(QTreeWidget* list);
    void Widen();

    QTreeWidget* m_list; // the parent
    std::vector<int> m_minimumWidths;
};
