#include "tools/cli/TextGrid.h"

#include "base/DisplayText.h"

#include <algorithm>

namespace orvan::cli {

namespace {

// The East Asian wide and full-width blocks a terminal draws two columns wide.
bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF)
        || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F)
        || (c >= 0x20000 && c <= 0x3FFFD);
}

QString padded(const TextGrid::Cell& cell, int width)
{
    const QString blanks(std::max(0, width - displayWidth(cell.text)), QLatin1Char(' '));
    return cell.number ? blanks + cell.text : cell.text + blanks;
}

} // namespace

int displayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_Enclosing:
        case QChar::Other_Format:
            break;
        default:
            width += isWide(c) ? 2 : 1;
        }
    }
    return width;
}

TextGrid::Cell TextGrid::Cell::numeric(const QString& text)
{
    Cell c(text);
    c.number = true;
    return c;
}

TextGrid& TextGrid::row(std::vector<Cell> cells)
{
    // A name from a record or a logger may hold a tab or a line break; it must not break the grid.
    for (Cell& c : cells)
        c.text = oneLineText(c.text);
    m_lines.push_back({false, std::move(cells)});
    return *this;
}

TextGrid& TextGrid::heading(const QString& text)
{
    m_lines.push_back({true, {Cell(oneLineText(text))}});
    return *this;
}

QString TextGrid::text() const
{
    std::vector<int> widths;
    for (const Line& line : m_lines) {
        if (line.heading)
            continue;
        if (widths.size() < line.cells.size())
            widths.resize(line.cells.size(), 0);
        for (size_t i = 0; i < line.cells.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(line.cells[i].text));
    }
    QString out;
    for (const Line& line : m_lines) {
        QString s;
        if (line.heading) {
            s = line.cells.front().text;
        } else {
            for (size_t i = 0; i < line.cells.size(); ++i) {
                if (i > 0)
                    s += QStringLiteral("  ");
                s += padded(line.cells[i], widths[i]);
            }
        }
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        out += s + QLatin1Char('\n');
    }
    return out;
}

} // namespace orvan::cli
