#include "common/ui/WrapHeaderView.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace {
constexpr int kPadX = 4;
constexpr int kPadY = 3;
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
} // namespace

TWrapHeaderView::TWrapHeaderView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    setDefaultAlignment(Qt::AlignCenter);
    setSectionsClickable(true);
    setHighlightSections(false);
    connect(this, &QHeaderView::sectionResized, this, [this] { emit geometriesChanged(); });
}

QString TWrapHeaderView::Caption(int logicalIndex) const {
    if (!model()) return QString();
    return model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
}

QSize TWrapHeaderView::sectionSizeFromContents(int logicalIndex) const {
    QSize base = QHeaderView::sectionSizeFromContents(logicalIndex);
    if (orientation() != Qt::Horizontal) return base;
    const int width = qMax(sectionSize(logicalIndex), 20) - 2 * kPadX;
    const QRect r = fontMetrics().boundingRect(QRect(0, 0, width, 10000), kTextFlags, Caption(logicalIndex));
    base.setHeight(qMax(base.height(), r.height() + 2 * kPadY));
    return base;
}

int TWrapHeaderView::WrappedHeight() const {
    int h = fontMetrics().height() * minimumLines_ + 2 * kPadY;
    if (!model()) return h;
    for (int i = 0; i < count(); ++i)
        if (!isSectionHidden(i)) h = qMax(h, sectionSizeFromContents(i).height());
    return h;
}

QSize TWrapHeaderView::sizeHint() const {
    QSize s = QHeaderView::sizeHint();
    if (orientation() == Qt::Horizontal) s.setHeight(WrappedHeight());
    return s;
}

void TWrapHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.text.clear();
    opt.textAlignment = Qt::AlignCenter;
    style()->drawControl(QStyle::CE_HeaderSection, &opt, painter, this);
    painter->save();
    painter->setClipRect(rect);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->drawText(rect.adjusted(kPadX, kPadY, -kPadX, -kPadY), kTextFlags, Caption(logicalIndex));
    painter->restore();
}
