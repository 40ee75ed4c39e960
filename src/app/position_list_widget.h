#pragma once
// The main window's list of position lines: a list view on the positions book's lines, one
// entry per line, in the order the lines were loaded or added. Rows are reached by number, with
// the names that the rest of the program knows from a list of items (count, currentRow,
// setCurrentRow, currentRowChanged); the lines themselves change only through the book.

#include <QListView>
#include <QString>

class QAbstractListModel;

class PositionListWidget : public QListView
{
    Q_OBJECT
public:
    PositionListWidget(QAbstractListModel *lines, QWidget *parent = nullptr);

    int count() const;
    // The current row, -1 when there is none.
    int currentRow() const;
    // Makes the row current and the only one selected; -1 leaves none.
    void setCurrentRow(int row);

    // The line of a row; empty for a row that does not exist.
    QString line(int row) const;
    QString currentLine() const { return line(currentRow()); }

signals:
    // Raised when another row becomes current, by the user or by the program; blocking this
    // list's signals silences it, as it does for every other signal of the list.
    void currentRowChanged(int row);
    // Raised when the user presses on the row that is current already, which makes no row
    // current and so raises nothing above.
    void currentRowPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QAbstractListModel *m_lines;
};
