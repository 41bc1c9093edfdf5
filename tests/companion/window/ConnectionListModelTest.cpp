// The connection list's model: cells as read, alignment per column, captions,
// and the selection following its row through a sort.

#include "ConnectionListModel.h"
#include "TestFormats.h"

#include <QItemSelectionModel>

#include <gtest/gtest.h>

#include <array>

namespace {

using Row = std::array<QString, 7>;

class ListModelTest : public ::testing::Test {
protected:
    ListModelTest() : sorter(TestFormats::svSE(), QLocale(QStringLiteral("sv_SE"))) {
        rows = {{"bob", "2001-02-04 11:00:00", "30", "6,60", "1,50", "2,50", "Home"},
                {"anna", "2001-02-03 10:00:00", "12", "3.40", "1,00", "2,00", "Office"},
                {"carl", "2001-02-05 12:00:00", "7", "1,00", "0,50", "0,70", "Home"}};
        model.setRows(int(rows.size()),
                      [this](int r, int c) { return rows[size_t(r)][size_t(c)]; });
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < model.rowCount(); ++r)
            out << model.data(model.index(r, c), Qt::DisplayRole).toString();
        return out;
    }

    std::vector<Row> rows;
    ConnectionListModel model;
    ConnectionSorter sorter;
};

TEST_F(ListModelTest, CellsAreTheRowsTextsInTheirOwnOrder) {
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 7);
    EXPECT_EQ(column(0), QStringList({"bob", "anna", "carl"}));
    EXPECT_EQ(column(3), QStringList({"6,60", "3.40", "1,00"})); // not reformatted
    EXPECT_EQ(model.text(9, 0), QString());
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.text(0, 0), QString());
}

TEST_F(ListModelTest, NumbersAreRightAlignedAndTextsLeftAligned) {
    const Qt::Alignment expected[] = {Qt::AlignLeft,  Qt::AlignLeft,  Qt::AlignRight,
                                      Qt::AlignRight, Qt::AlignRight, Qt::AlignRight,
                                      Qt::AlignLeft};
    for (int c = 0; c < 7; ++c) {
        const auto cell =
            Qt::Alignment(model.data(model.index(0, c), Qt::TextAlignmentRole).toInt());
        EXPECT_TRUE(cell & expected[c]) << c;
        const auto header =
            Qt::Alignment(model.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole).toInt());
        EXPECT_TRUE(header & expected[c]) << c;
    }
}

TEST_F(ListModelTest, CaptionsAreTheHeaders) {
    model.setCaptions({"User", "Connection", "Length", "Cost", "Send", "Recvd", "Connected to"});
    EXPECT_EQ(model.headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), "Connected to");
    EXPECT_FALSE(model.headerData(0, Qt::Vertical, Qt::DisplayRole).isValid());
}

TEST_F(ListModelTest, TheSelectedRowStaysSelectedWhenTheListIsSorted) {
    QItemSelectionModel selection(&model);
    selection.setCurrentIndex(model.index(1, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model.sortByClick(sorter, 2); // Length ascending: carl, anna, bob
    EXPECT_EQ(column(0), QStringList({"carl", "anna", "bob"}));
    EXPECT_EQ(selection.currentIndex().row(), 1);
    model.sortByClick(sorter, 0); // User descending: carl, bob, anna
    EXPECT_EQ(column(0), QStringList({"carl", "bob", "anna"}));
    EXPECT_EQ(selection.currentIndex().row(), 2);
    EXPECT_TRUE(selection.isRowSelected(2, QModelIndex()));
    EXPECT_FALSE(selection.isRowSelected(1, QModelIndex()));
}

TEST_F(ListModelTest, AClickOnAnEmptyListStillTurnsTheDirection) {
    model.clear();
    model.sortByClick(sorter, 3);
    EXPECT_TRUE(sorter.nextClickDescending(3));
}

} // namespace
