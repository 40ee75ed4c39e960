#include <gtest/gtest.h>

#include "support/qt_printers.h"

#include "book/position_list_model.h"
#include "positions/positions_file.h"

namespace {

// A model holding three loaded lines, one of them with a character that Windows-1252 codes
// apart from Latin-1.
struct LoadedModel {
    LoadedModel() { model.setLines(positions_file::decode("AEX; Put\r\n; comment\r\nAEX; Call \x80\r\nAX1; Put")); }
    QStringList shown() const
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.data(model.index(row), Qt::DisplayRole).toString();
        return texts;
    }
    PositionListModel model;
};

} // namespace

TEST(PositionListModel, LoadedAndOwnRowsStayInOrderThroughEdits)
{
    LoadedModel m;
    const QString euroLine = QString::fromUtf8("AEX; Call €");
    EXPECT_EQ(m.shown(), QStringList({"AEX; Put", euroLine, "AX1; Put"}));

    m.model.appendLine("new");
    m.model.removeLine(0);
    m.model.setLine(1, "AX1; Put; changed");
    m.model.removeLine(7);  // no such row: nothing happens
    const QStringList expected({euroLine, "AX1; Put; changed", "new"});
    EXPECT_EQ(m.model.lines(), expected);
    EXPECT_EQ(m.shown(), expected);
    EXPECT_EQ(m.model.line(0), euroLine);
    EXPECT_EQ(m.model.line(3), QString());
    EXPECT_FALSE(m.model.data(m.model.index(0), Qt::ToolTipRole).isValid());

    m.model.setLines(positions_file::decode("only"));
    EXPECT_EQ(m.shown(), QStringList({"only"}));
    // Every row removed: none of the loaded lines comes back.
    m.model.removeLine(0);
    EXPECT_EQ(m.model.rowCount(), 0);
    m.model.appendLine("added");
    EXPECT_EQ(m.shown(), QStringList({"added"}));
}

TEST(PositionListModel, OnlyAChangedTextIsAnnounced)
{
    LoadedModel m;
    QList<int> changedRows;
    QObject::connect(&m.model, &QAbstractItemModel::dataChanged, [&](const QModelIndex &from, const QModelIndex &to) {
        EXPECT_EQ(from, to);
        changedRows << from.row();
    });
    m.model.setLine(1, QString::fromUtf8("AEX; Call €"));  // the loaded text again
    m.model.setLine(5, "no such row");
    m.model.setLine(2, "AX1; Call");
    m.model.setLine(2, "AX1; Call");  // its own text again
    EXPECT_EQ(changedRows, QList<int>({2}));
}
