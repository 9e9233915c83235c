#pragma once
// The one table writer of `--format table`: rows of cells in columns as wide as their widest cell
// on a terminal, numbers right-aligned so that their digits line up, text left-aligned. Heading
// lines between rows name a group (the alarm list's low and high blocks) without widening a column.

#include <QString>
#include <QStringList>
#include <vector>

namespace orvan::cli {

// Columns a text takes on a terminal: a combining mark none, an East Asian wide or full-width
// character two, anything else one. Control characters must have been made blanks before.
int displayWidth(const QString& text);

class TextGrid {
public:
    struct Cell {
        Cell(const QString& text = {}) : text(text) {}
        Cell(const char* text) : text(QString::fromUtf8(text)) {}
        Cell(qint64 value) : text(QString::number(value)), number(true) {}
        Cell(int value) : Cell(qint64(value)) {}
        // A number already written as text ("35.6"): aligned as a number.
        static Cell numeric(const QString& text);
        QString text;
        bool number = false;
    };

    TextGrid& row(std::vector<Cell> cells);
    // A line of its own before the rows that follow, flush left.
    TextGrid& heading(const QString& text);
    bool isEmpty() const { return m_lines.empty(); }

    // Every line ends with a line break; columns are two blanks apart; no blanks at a line's end.
    QString text() const;

private:
    struct Line {
        bool heading = false;
        std::vector<Cell> cells;
    };
    std::vector<Line> m_lines;
};

} // namespace orvan::cli
