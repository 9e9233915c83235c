#pragma once
// The archive window's table: one row per archived record of the current search, sortable by
// any column on the values themselves (dates as dates, figures as numbers), the verdict as a
// coloured cell and a warning cell for a record whose file changed or went missing.

#include "archive/Archive.h"
#include "base/TextTable.h"
#include "base/Unit.h"

#include <QAbstractTableModel>
#include <QVector>

namespace orvan::archive::ui {

class ArchiveTable : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { State, Date, Serial, Exporter, Carrier, Samples, Min, Max, Mkt, MinutesOut, Verdict, ColumnCount };

    explicit ArchiveTable(QObject* parent = nullptr);

    // The rows of a new search, kept in the current sort order.
    void setRows(QVector<RecordRow> rows);
    const QVector<RecordRow>& rows() const { return m_rows; }
    // The language of the headers and cells (the table holds its texts), and the unit of the
    // temperatures.
    void setLanguage(const TextTable& texts, int idioma, Unit unit);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString cellText(const RecordRow& row, int column) const;
    QString temperature(const std::optional<double>& celsius) const;
    void sortRows();

    QVector<RecordRow> m_rows;
    QStringList m_headers;
    int m_idioma = 0;
    Unit m_unit = Unit::Celsius;
    int m_sortColumn = Date;
    Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};

// The verdict's word in the language, and the colours of its cell.
QString verdictText(views::Verdict v, int idioma);
QColor verdictColor(views::Verdict v);

} // namespace orvan::archive::ui
