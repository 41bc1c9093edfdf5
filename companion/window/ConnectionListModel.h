#pragma once
// The connection list (`List`): one line per connection row of the last
// compile run, seven columns of text shown as read from the log. The rows
// stay where the compile run keeps them; the model holds only their display
// order, so a million rows cost a vector of numbers.

#include "ConnectionSorter.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include <functional>
#include <vector>

class ConnectionListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kColumns = ConnectionSorter::kColumns;
    using TextAt = ConnectionSorter::TextAt;
    using Utf8At = ConnectionSorter::Utf8At;

    explicit ConnectionListModel(QObject* parent = nullptr);

    // Shows rowCount rows read through textAt, in their own order; a sort
    // reads them through utf8At when given.
    void setRows(int rowCount, TextAt textAt, Utf8At utf8At = {});
    void clear();
    // The column captions, from the string table.
    void setCaptions(const QStringList& captions);
    void setIcon(const QIcon& icon) { m_icon = icon; }

    // The text of a cell by display position.
    QString text(int displayRow, int column) const;
    // Reorders the rows with sorter's column click; the selection is dropped.
    void sortByClick(ConnectionSorter& sorter, int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static Qt::Alignment alignment(int column);

private:
    TextAt m_textAt;
    Utf8At m_utf8At;
    std::vector<int> m_order;
    QStringList m_captions;
    QIcon m_icon;
};
