#pragma once
// Column widths for grids with long, word-wrapped captions (TWrapHeaderView): every column is made just
// wide enough for its caption to fit in the header's number of lines and for its cells to fit on one line
// (up to a limit); one wide text column takes the width that remains.
#include <QFontMetrics>
#include <QString>

class QTableView;

struct TGridFit {
    int CheckColumn = -1;     // a check-box column without caption: kept narrow
    int WideColumn = -1;      // takes the rest of the grid's width; -1: none
    int WideMinimum = 0;      // the wide column's least width
    int Slack = 35;           // the least room kept beside the columns (row numbers, scroll bar)
    int MaxColumnWidth = 220; // other columns never grow beyond this for their cells
    int MinLines = 3;         // the header has at least this many caption lines to wrap into
};

// Lines a caption takes when word-wrapped into a section of the given width (header padding included).
int CaptionLines(const QFontMetrics& fm, const QString& caption, int width);
// The least width (up to maxWidth) at which the caption takes no more than the given lines; never less
// than its longest word.
int CaptionWidthForLines(const QFontMetrics& fm, const QString& caption, int lines, int maxWidth);
// Sets the widths of every column of the view, then fits the rows to their wrapped text.
void FitGridColumns(QTableView* view, const TGridFit& fit);
