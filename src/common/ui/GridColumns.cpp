#include "common/ui/GridColumns.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>

#include <QVector>

#include <algorithm>

namespace {
// As TWrapHeaderView pads its captions.
constexpr int kHeaderPad = 2 * 4 + 2;
constexpr int kCellPad = 10;
constexpr int kCheckWidth = 26;
constexpr int kRowsMeasured = 300;

int LongestWord(const QFontMetrics& fm, const QString& caption) {
    int w = 0;
    // Lines break at spaces and after hyphens.
    static const QRegularExpression breaks(QStringLiteral("\\s+|(?<=-)"));
    for (const QString& word : caption.split(breaks, Qt::SkipEmptyParts))
        w = std::max(w, fm.horizontalAdvance(word));
    return w + kHeaderPad;
}

} // namespace

int CaptionLines(const QFontMetrics& fm, const QString& caption, int width) {
    if (caption.isEmpty()) return 0;
    const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, width - kHeaderPad), 100000),
                                    Qt::AlignCenter | Qt::TextWordWrap, caption);
    return std::max(1, (r.height() + fm.lineSpacing() / 2) / fm.lineSpacing());
}

int CaptionWidthForLines(const QFontMetrics& fm, const QString& caption, int lines, int maxWidth) {
    const int least = LongestWord(fm, caption);
    if (least >= maxWidth) return least;
    if (CaptionLines(fm, caption, maxWidth) > lines) return maxWidth;
    int lo = least, hi = maxWidth; // hi always fits
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (CaptionLines(fm, caption, mid) <= lines)
            hi = mid;
        else
            lo = mid + 1;
    }
    return hi;
}

void FitGridColumns(QTableView* view, const TGridFit& fit) {
    QAbstractItemModel* model = view->model();
    if (!model) return;
    const int columns = model->columnCount();
    const QFontMetrics header = view->horizontalHeader()->fontMetrics();
    const QFontMetrics cells = view->fontMetrics();
    const int rows = std::min(model->rowCount(), kRowsMeasured);
    const auto caption = [model](int c) { return model->headerData(c, Qt::Horizontal).toString(); };

    // The header's lines: at least MinLines, and as many as a caption breaks into by itself.
    int lines = fit.MinLines;
    for (int c = 0; c < columns; ++c)
        lines = std::max(lines, static_cast<int>(caption(c).count(QLatin1Char('\n'))) + 1);

    // Each column between its least width (caption in the header's lines, no word of a cell broken) and
    // its natural width (every cell on one line).
    QVector<int> least(columns, 0), natural(columns, 0);
    for (int c = 0; c < columns; ++c) {
        if (c == fit.CheckColumn) {
            least[c] = natural[c] = kCheckWidth;
            continue;
        }
        int content = 0, word = 0;
        for (int r = 0; r < rows; ++r) {
            const QString text = model->index(r, c).data().toString();
            content = std::max(content, cells.horizontalAdvance(text));
            word = std::max(word, LongestWord(cells, text) - kHeaderPad);
        }
        if (c == fit.WideColumn) {
            least[c] = std::max({fit.WideMinimum, LongestWord(header, caption(c)), word + kCellPad});
            natural[c] = std::max(least[c], content + kCellPad);
            continue;
        }
        least[c] = std::max(CaptionWidthForLines(header, caption(c), lines, fit.MaxColumnWidth),
                            std::min(word + kCellPad, fit.MaxColumnWidth));
        natural[c] = std::max(least[c], std::min(content + kCellPad, fit.MaxColumnWidth));
    }

    int room = view->width() - 2 * view->frameWidth() - 2;
    if (view->verticalHeader()->isVisible()) room -= view->verticalHeader()->width();
    room -= view->verticalScrollBar()->sizeHint().width();
    room = std::min(room, view->width() - fit.Slack);

    // Narrow columns give up what they must, in proportion to what they have beyond their least width.
    int sumLeast = 0, sumSpare = 0;
    for (int c = 0; c < columns; ++c) {
        sumLeast += least[c];
        if (c != fit.WideColumn) sumSpare += natural[c] - least[c];
    }
    const double share =
        sumSpare <= 0 ? 1.0 : std::clamp(static_cast<double>(room - sumLeast) / sumSpare, 0.0, 1.0);
    int used = 0;
    for (int c = 0; c < columns; ++c) {
        if (c == fit.WideColumn) continue;
        const int w = least[c] + static_cast<int>((natural[c] - least[c]) * share);
        view->setColumnWidth(c, w);
        used += w;
    }
    if (fit.WideColumn >= 0 && fit.WideColumn < columns)
        view->setColumnWidth(fit.WideColumn, std::max(least[fit.WideColumn], room - used));
    view->resizeRowsToContents();
}
