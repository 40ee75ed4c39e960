#pragma once
// The main window's list of position lines: a list view on a model of the lines, one entry per
// line, in the order the lines were loaded or added, with no item object per line, so that a
// list of many thousands of positions costs little more to make and to keep than the file's
// text itself. Rows are reached by number, with the names that the rest of the program knows
// from a list of items (count, currentRow, setCurrentRow, currentRowChanged).

#include <QListView>
#include <QStringList>

#include "positions/file_lines.h"

class PositionListModel;

class PositionListWidget : public QListView
{
    Q_OBJECT
public:
    explicit PositionListWidget(QWidget *parent = nullptr);

    int count() const;
    // The current row, -1 when there is none.
    int currentRow() const;
    // Makes the row current and the only one selected; -1 leaves none.
    void setCurrentRow(int row);

    // The line of a row; empty for a row that does not exist.
    QString line(int row) const;
    QString currentLine() const { return line(currentRow()); }
    QStringList lines() const;
    // The first row holding this line, -1 when none does.
    int indexOf(const QString &text) const;
    // Replaces the line of a row that exists. The same text again is no change, and nobody who
    // follows the model hears of it.
    void setLine(int row, const QString &text);
    void appendLine(const QString &text);
    void removeLine(int row);
    // Puts these lines in place of all the list holds.
    void setLines(const positions_file::FileLines &lines);

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
    PositionListModel *m_lines;
};
