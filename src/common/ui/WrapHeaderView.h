#pragma once
// A grid header whose captions are centred and word-wrapped, growing in height to show the longest
// caption in full (the coefficient grids have long column titles in narrow columns).
#include <QHeaderView>

class TWrapHeaderView : public QHeaderView {
    Q_OBJECT
public:
    explicit TWrapHeaderView(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

    // The lowest height the header may take (the default is one line of text).
    void SetMinimumLines(int lines) {
        minimumLines_ = lines;
        emit geometriesChanged();
    }
    // Height the header needs for the captions at the current column widths.
    int WrappedHeight() const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    QString Caption(int logicalIndex) const;
    int minimumLines_ = 1;
};
