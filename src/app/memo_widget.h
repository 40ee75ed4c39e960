#pragma once
// A read-only, borderless block of text lines in the button face colour, as the small dialogs
// use it to show a message. It keeps the lines it was given, and counts the lines it shows once
// long ones have wrapped at its width, so that a dialog can size itself to the text.

#include <QPlainTextEdit>
#include <QStringList>

class MemoWidget : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MemoWidget(QWidget *parent = nullptr);

    void clearLines();
    void addLine(const QString &line);
    void setLines(const QStringList &lines);
    QStringList lines() const { return m_lines; }

    // Centred text sits in the middle of the memo both ways while it fits; a scroll bar is
    // balanced by as much room on the other side.
    void setCentred(bool centred);

    // Lines shown at the memo's current width: every given line takes at least one, a long one
    // as many as it wraps into; a memo without lines counts 0. Worked out from the geometry
    // alone, so it holds before the memo is first shown.
    int shownLineCount() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refresh();
    void updateMargins();
    int scrollBarRoom() const;
    int textWidth() const;

    QStringList m_lines;
    bool m_centred = false;
};
