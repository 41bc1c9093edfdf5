#include "ConnectionListModel.h"

ConnectionListModel::ConnectionListModel(QObject* parent) : QAbstractTableModel(parent) {
    for (int c = 0; c < kColumns; ++c)
        m_captions << QString();
}

void ConnectionListModel::setRows(int rowCount, TextAt textAt, Utf8At utf8At) {
    beginResetModel();
    m_textAt = std::move(textAt);
    m_utf8At = std::move(utf8At);
    m_order.resize(size_t(std::max(0, rowCount)));
    for (size_t i = 0; i < m_order.size(); ++i)
        m_order[i] = int(i);
    endResetModel();
}

void ConnectionListModel::clear() {
    beginResetModel();
    m_order.clear();
    m_textAt = nullptr;
    m_utf8At = nullptr;
    endResetModel();
}

void ConnectionListModel::setCaptions(const QStringList& captions) {
    m_captions = captions;
    while (m_captions.size() < kColumns)
        m_captions << QString();
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

QString ConnectionListModel::text(int displayRow, int column) const {
    if (!m_textAt || displayRow < 0 || displayRow >= int(m_order.size()) || column < 0 ||
        column >= kColumns)
        return QString();
    return m_textAt(m_order[size_t(displayRow)], column);
}

void ConnectionListModel::sortByClick(ConnectionSorter& sorter, int column) {
    if (!m_textAt) {
        // An empty list still turns the column's direction, as a click does.
        std::vector<int> none;
        sorter.columnClick(column, none, [](int, int) { return QString(); });
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Selection and current item follow their rows to the new places.
    const QModelIndexList before = persistentIndexList();
    std::vector<int> rowsBefore;
    rowsBefore.reserve(size_t(before.size()));
    for (const QModelIndex& i : before)
        rowsBefore.push_back(m_order[size_t(i.row())]);
    if (m_utf8At)
        sorter.columnClick(column, m_order, m_utf8At);
    else
        sorter.columnClick(column, m_order, m_textAt);
    if (!before.isEmpty()) {
        std::vector<int> placeOf(m_order.size());
        for (size_t i = 0; i < m_order.size(); ++i)
            placeOf[size_t(m_order[i])] = int(i);
        QModelIndexList after;
        for (qsizetype k = 0; k < before.size(); ++k)
            after << index(placeOf[size_t(rowsBefore[size_t(k)])], before[k].column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ConnectionListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_order.size());
}

int ConnectionListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

Qt::Alignment ConnectionListModel::alignment(int column) {
    const bool right = column >= 2 && column <= 5;
    return (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QVariant ConnectionListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return int(alignment(index.column()));
    case Qt::DecorationRole:
        return index.column() == 0 && !m_icon.isNull() ? QVariant(m_icon) : QVariant();
    default:
        return {};
    }
}

QVariant ConnectionListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::DisplayRole)
        return m_captions.at(section);
    if (role == Qt::TextAlignmentRole)
        return int(alignment(section));
    return {};
}
