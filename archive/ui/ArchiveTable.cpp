#include "archive/ui/ArchiveTable.h"

#include "archive/ui/ArchivePictures.h"
#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "base/TextTable.h"

#include <QBrush>
#include <QColor>
#include <QLocale>

#include <algorithm>

namespace orvan::archive::ui {

namespace {

// Which way a column sorts: every column by its own value, never by its text.
QVariant sortKey(const RecordRow& r, int column)
{
    switch (column) {
    case ArchiveTable::State: return int(r.state);
    case ArchiveTable::Date: return r.missionStart;
    case ArchiveTable::Serial: return r.serial;
    case ArchiveTable::Exporter: return r.exporter;
    case ArchiveTable::Carrier: return r.carrier;
    case ArchiveTable::Samples: return r.samples;
    // A record without a temperature sorts below every temperature.
    case ArchiveTable::Min: return r.min.value_or(-1e9);
    case ArchiveTable::Max: return r.max.value_or(-1e9);
    case ArchiveTable::Mkt: return r.mkt.value_or(-1e9);
    case ArchiveTable::MinutesOut: return r.minutesOut();
    case ArchiveTable::Verdict: return int(r.verdict);
    default: break;
    }
    return {};
}

bool less(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QString)
        return QString::localeAwareCompare(a.toString(), b.toString()) < 0;
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

} // namespace

QString verdictText(views::Verdict v, int idioma)
{
    switch (v) {
    case views::Verdict::Pass: return addedText(AddedText::VerdictPass, idioma);
    case views::Verdict::Fail: return addedText(AddedText::VerdictFail, idioma);
    case views::Verdict::NoData: break;
    }
    return addedText(AddedText::VerdictNoData, idioma);
}

QColor verdictColor(views::Verdict v)
{
    switch (v) {
    case views::Verdict::Pass: return QColor(0xc8, 0xef, 0xcf);
    case views::Verdict::Fail: return QColor(0xf6, 0xc2, 0xbf);
    case views::Verdict::NoData: break;
    }
    return QColor(0xdd, 0xe1, 0xe6);
}

ArchiveTable::ArchiveTable(QObject* parent) : QAbstractTableModel(parent) {}

void ArchiveTable::setRows(QVector<RecordRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    sortRows();
    endResetModel();
}

void ArchiveTable::setLanguage(const TextTable& texts, int idioma, Unit unit)
{
    m_idioma = idioma;
    m_unit = unit;
    const QString inUnitText = unit == Unit::Celsius ? QStringLiteral(" (\u00b0C)") : QStringLiteral(" (\u00b0F)");
    m_headers = QStringList{
        addedText(AddedText::ArchiveState, idioma),
        texts[Text::Date],
        addedText(AddedText::ArchiveSerialShort, idioma),
        addedText(AddedText::ArchiveExporterShort, idioma),
        addedText(AddedText::ArchiveCarrierShort, idioma),
        texts[Text::SampleQuantity],
        addedText(AddedText::ArchiveMinShort, idioma) + inUnitText,
        addedText(AddedText::ArchiveMaxShort, idioma) + inUnitText,
        addedText(AddedText::ArchiveMkt, idioma) + inUnitText,
        addedText(AddedText::ArchiveMinutesOutShort, idioma),
        addedText(AddedText::Verdict, idioma),
    };
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int ArchiveTable::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ArchiveTable::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString ArchiveTable::temperature(const std::optional<double>& celsius) const
{
    if (!celsius)
        return QStringLiteral("-");
    return QLocale().toString(inUnit(*celsius, m_unit), 'f', 1);
}

QString ArchiveTable::cellText(const RecordRow& r, int column) const
{
    switch (column) {
    case State:
        if (r.state == PlaceState::Changed)
            return addedText(AddedText::ArchivePlaceChanged, m_idioma);
        if (r.state == PlaceState::Missing)
            return addedText(AddedText::ArchivePlaceMissing, m_idioma);
        return {};
    case Date: return formatDate(r.missionStart);
    case Serial: return QString::number(r.serial);
    case Exporter: return r.exporter;
    case Carrier: return r.carrier;
    case Samples: return QLocale().toString(r.samples);
    case Min: return temperature(r.min);
    case Max: return temperature(r.max);
    case Mkt: return temperature(r.mkt);
    case MinutesOut: return QLocale().toString(r.minutesOut());
    case Verdict: return verdictText(r.verdict, m_idioma);
    default: break;
    }
    return {};
}

QVariant ArchiveTable::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const RecordRow& r = m_rows.at(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(r, column);
    case Qt::DecorationRole:
        if (column == State)
            return placeStatePicture(r.state);
        return {};
    case Qt::ToolTipRole:
        if (column == State && (r.state == PlaceState::Changed || r.state == PlaceState::Missing))
            return cellText(r, column) + QStringLiteral(": ") + r.path;
        if (column == Exporter || column == Carrier || column == Date)
            return r.path;
        return {};
    case Qt::BackgroundRole:
        if (column == Verdict)
            return QBrush(verdictColor(r.verdict));
        if (column == State && r.state == PlaceState::Changed)
            return QBrush(QColor(0xff, 0xec, 0xc2));
        if (column == State && r.state == PlaceState::Missing)
            return QBrush(QColor(0xf6, 0xc2, 0xbf));
        return {};
    case Qt::ForegroundRole:
        if (column == Verdict || column == State)
            return QBrush(QColor(0x1f, 0x2a, 0x36));
        return {};
    case Qt::TextAlignmentRole:
        switch (column) {
        case Serial: case Samples: case Min: case Max: case Mkt: case MinutesOut:
            return int(Qt::AlignRight | Qt::AlignVCenter);
        case Verdict:
            return int(Qt::AlignCenter);
        default:
            return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    default:
        return {};
    }
}

QVariant ArchiveTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < m_headers.size() ? QVariant(m_headers.at(section)) : QVariant();
}

void ArchiveTable::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortRows();
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ArchiveTable::sortRows()
{
    const int column = m_sortColumn;
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    // Stable, so that equal keys keep the search's order (the newest missions first).
    std::stable_sort(m_rows.begin(), m_rows.end(), [column, ascending](const RecordRow& a, const RecordRow& b) {
        const QVariant ka = sortKey(a, column), kb = sortKey(b, column);
        return ascending ? less(ka, kb) : less(kb, ka);
    });
}

} // namespace orvan::archive::ui
