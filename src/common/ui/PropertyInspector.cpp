#include "common/ui/PropertyInspector.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>

#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QDate kNoDate(1900, 1, 1);
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// A text box with a "..." button beside it.
class TButtonEdit : public QWidget {
public:
    TButtonEdit(QWidget* parent, bool editable) : QWidget(parent) {
        auto* lay = new QHBoxLayout(this);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        edit = new QLineEdit(this);
        edit->setFrame(false);
        edit->setReadOnly(!editable);
        button = new QToolButton(this);
        button->setText(QStringLiteral("..."));
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        lay->addWidget(edit, 1);
        lay->addWidget(button);
        setFocusProxy(edit);
        setAutoFillBackground(true);
    }
    QLineEdit* edit;
    QToolButton* button;
};

class TInspectorDelegate : public QStyledItemDelegate {
public:
    explicit TInspectorDelegate(TPropertyInspector* owner) : QStyledItemDelegate(owner), owner_(owner) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(owner_->RowHeight());
        return s;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        TInspectorRow* row = RowOf(index);
        if (row && row->Kind() == TInspectorKind::Header) opt.font.setBold(true);
        if (row && (!row->Enabled() || (row->ReadOnly() && index.column() == 1)))
            opt.palette.setColor(QPalette::Text, option.palette.color(QPalette::Disabled, QPalette::Text));
        QStyledItemDelegate::paint(painter, opt, index);
        // Grid lines between rows and between the two columns.
        painter->save();
        painter->setPen(QColor(0xd6, 0xdb, 0xe2));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        if (index.column() == 0) painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        TInspectorRow* row = RowOf(index);
        if (!row || index.column() != 1 || row->ReadOnly() || !row->Enabled()) return nullptr;
        switch (row->Kind()) {
        case TInspectorKind::Header:
            return nullptr;
        case TInspectorKind::Text: {
            auto* e = new QLineEdit(parent);
            e->setFrame(false);
            return e;
        }
        case TInspectorKind::Combo:
        case TInspectorKind::FixedList: {
            auto* c = new QComboBox(parent);
            c->setEditable(row->Kind() == TInspectorKind::Combo);
            c->setInsertPolicy(QComboBox::NoInsert);
            c->setMaxVisibleItems(row->DropDownCount());
            c->addItems(row->Items());
            QObject::connect(c, &QComboBox::activated, owner_, [this, c, row](int) {
                row->SetValue(c->currentText());
                emit owner_->ListClosed(row);
            });
            return c;
        }
        case TInspectorKind::Date: {
            auto* d = new QDateEdit(parent);
            d->setDisplayFormat(kDateFormat);
            d->setCalendarPopup(true);
            d->setMinimumDate(kNoDate);
            d->setSpecialValueText(owner_->EmptyDateText());
            return d;
        }
        case TInspectorKind::Memo:
        case TInspectorKind::Button: {
            auto* b = new TButtonEdit(parent, row->Kind() == TInspectorKind::Button);
            QObject::connect(b->button, &QToolButton::clicked, owner_, [this, row, b] {
                if (row->Kind() == TInspectorKind::Memo) {
                    if (owner_->EditMemo(row)) b->edit->setText(FirstLine(row->Value()));
                } else {
                    row->SetValue(b->edit->text());
                    emit owner_->ButtonClicked(row);
                    b->edit->setText(row->Value());
                }
            });
            return b;
        }
        }
        return nullptr;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        TInspectorRow* row = RowOf(index);
        if (!row) return;
        if (auto* e = qobject_cast<QLineEdit*>(editor)) {
            e->setText(row->Value());
        } else if (auto* c = qobject_cast<QComboBox*>(editor)) {
            const int i = c->findText(row->Value());
            if (c->isEditable())
                c->setEditText(row->Value());
            else
                c->setCurrentIndex(i);
        } else if (auto* d = qobject_cast<QDateEdit*>(editor)) {
            const QDate date = InspectorDate(row->Value());
            d->setDate(date.isValid() ? date : kNoDate);
        } else if (auto* b = dynamic_cast<TButtonEdit*>(editor)) {
            b->edit->setText(row->Kind() == TInspectorKind::Memo ? FirstLine(row->Value()) : row->Value());
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        TInspectorRow* row = RowOf(index);
        if (!row) return;
        if (auto* e = qobject_cast<QLineEdit*>(editor)) {
            row->SetValue(e->text());
        } else if (auto* c = qobject_cast<QComboBox*>(editor)) {
            row->SetValue(c->currentText());
        } else if (auto* d = qobject_cast<QDateEdit*>(editor)) {
            row->SetValue(d->date() == kNoDate ? QString() : InspectorDateText(d->date()));
        } else if (auto* b = dynamic_cast<TButtonEdit*>(editor)) {
            if (row->Kind() == TInspectorKind::Button) row->SetValue(b->edit->text());
        }
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override {
        editor->setGeometry(option.rect.adjusted(0, 0, 0, -1));
    }

    static QString FirstLine(const QString& text) {
        const QString t =
            QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
        const int nl = t.indexOf('\n');
        return nl < 0 ? t : t.left(nl) + QStringLiteral(" ...");
    }

private:
    TInspectorRow* RowOf(const QModelIndex& index) const {
        return owner_->RowOfItem(owner_->itemFromIndex(index));
    }
    TPropertyInspector* owner_;
};

} // namespace

QString InspectorDateText(const QDate& date) {
    return date.isValid() ? date.toString(kDateFormat) : QString();
}

QDate InspectorDate(const QString& text) {
    return QDate::fromString(text.trimmed(), kDateFormat);
}

// ---- Rows -------------------------------------------------------------------------------------------

TInspectorRow::TInspectorRow(TPropertyInspector* owner, TInspectorKind kind, const QString& caption)
    : QObject(owner), kind_(kind), caption_(caption) {}

TPropertyInspector* TInspectorRow::Inspector() const {
    return static_cast<TPropertyInspector*>(parent());
}

void TInspectorRow::SetValue(const QString& value) {
    const bool changed = value != value_;
    value_ = value;
    Refresh();
    Inspector()->RowValueSet(this, changed);
}

void TInspectorRow::SetItems(const QStringList& items) {
    items_ = items;
}

void TInspectorRow::SetReadOnly(bool on) {
    readOnly_ = on;
    Refresh();
}

void TInspectorRow::SetEnabled(bool on) {
    enabled_ = on;
    Refresh();
}

bool TInspectorRow::Visible() const {
    return item_ && !item_->isHidden();
}

void TInspectorRow::SetVisible(bool on) {
    if (item_) item_->setHidden(!on);
}

void TInspectorRow::SetHint(const QString& hint) {
    hint_ = hint;
    Refresh();
}

void TInspectorRow::Refresh() {
    if (!item_) return;
    item_->setText(0, caption_);
    item_->setText(1, Inspector()->DisplayText(this));
    item_->setToolTip(0, hint_);
    item_->setToolTip(1, hint_.isEmpty() ? value_ : hint_);
    Qt::ItemFlags f = Qt::ItemIsSelectable;
    if (enabled_) f |= Qt::ItemIsEnabled;
    if (enabled_ && !readOnly_ && kind_ != TInspectorKind::Header) f |= Qt::ItemIsEditable;
    item_->setFlags(f);
}

// ---- Inspector --------------------------------------------------------------------------------------

TPropertyInspector::TPropertyInspector(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setIndentation(12);
    setUniformRowHeights(true);
    setAlternatingRowColors(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new TInspectorDelegate(this));
    header()->setStretchLastSection(true);
    setColumnWidth(0, 150);
    rowHeight_ = qMax(21, fontMetrics().height() + 6);
    // A click on a row's caption edits its value.
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int) {
        TInspectorRow* row = RowOfItem(item);
        if (row && row->Kind() != TInspectorKind::Header) EditRow(row);
    });
}

TInspectorRow* TPropertyInspector::AddRow(const QString& name, const QString& caption, TInspectorKind kind,
                                          const QString& value, const QStringList& items) {
    auto* row = new TInspectorRow(this, kind, caption);
    row->setObjectName(name);
    row->items_ = items;
    row->value_ = value;
    if (kind == TInspectorKind::Header) {
        row->item_ = new QTreeWidgetItem(this);
        const QBrush shade(QColor(0xe4, 0xea, 0xf2));
        row->item_->setBackground(0, shade);
        row->item_->setBackground(1, shade);
        currentHeader_ = row->item_;
    } else if (currentHeader_) {
        row->item_ = new QTreeWidgetItem(currentHeader_);
        currentHeader_->setExpanded(true);
    } else {
        row->item_ = new QTreeWidgetItem(this);
    }
    row->item_->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<QObject*>(row)));
    rows_.append(row);
    row->Refresh();
    return row;
}

int TPropertyInspector::CaptionsWidth() const {
    constexpr int kPad = 12; // the delegate's text margins and the grid line
    int width = 0;
    for (const TInspectorRow* r : rows_) {
        const QTreeWidgetItem* item = r->item_;
        if (!item || item->isFirstColumnSpanned()) continue;
        int depth = rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            ++depth;
        QFont f = font();
        if (r->Kind() == TInspectorKind::Header) f.setBold(true);
        width =
            std::max(width, indentation() * depth + QFontMetrics(f).horizontalAdvance(item->text(0)) + kPad);
    }
    return width;
}

TInspectorRow* TPropertyInspector::Row(const QString& name) const {
    for (TInspectorRow* r : rows_)
        if (r->objectName() == name) return r;
    return nullptr;
}

TInspectorRow* TPropertyInspector::RowOfItem(const QTreeWidgetItem* item) const {
    if (!item) return nullptr;
    return qobject_cast<TInspectorRow*>(item->data(0, Qt::UserRole).value<QObject*>());
}

QString TPropertyInspector::Value(const QString& name) const {
    const TInspectorRow* r = Row(name);
    return r ? r->Value() : QString();
}

void TPropertyInspector::SetValue(const QString& name, const QString& value) {
    if (TInspectorRow* r = Row(name)) r->SetValue(value);
}

TInspectorRow* TPropertyInspector::CurrentRow() const {
    return RowOfItem(currentItem());
}

void TPropertyInspector::SetCurrentRow(TInspectorRow* row) {
    if (row && row->Item()) setCurrentItem(row->Item(), 1);
}

void TPropertyInspector::SetRowHeight(int height) {
    rowHeight_ = height;
    doItemsLayout();
}

QString TPropertyInspector::DisplayText(const TInspectorRow* row) const {
    if (row->Kind() == TInspectorKind::Date && row->Value().trimmed().isEmpty()) return emptyDate_;
    if (row->Kind() == TInspectorKind::Memo) return TInspectorDelegate::FirstLine(row->Value());
    return row->Value();
}

void TPropertyInspector::EditRow(TInspectorRow* row) {
    if (!row || !row->Item() || row->ReadOnly() || !row->Enabled()) return;
    if (currentItem() != row->Item() || currentColumn() != 1) setCurrentItem(row->Item(), 1);
    if (state() != QAbstractItemView::EditingState) editItem(row->Item(), 1);
}

bool TPropertyInspector::EditMemo(TInspectorRow* row) {
    QDialog dlg(this);
    dlg.setObjectName(QStringLiteral("MemoDialog"));
    dlg.setWindowTitle(row->Caption());
    auto* lay = new QVBoxLayout(&dlg);
    auto* text = new QPlainTextEdit(&dlg);
    text->setObjectName(QStringLiteral("MemoText"));
    text->setPlainText(QString(row->Value()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    lay->addWidget(text);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Скасувати"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    lay->addWidget(buttons);
    dlg.resize(420, 220);
    if (dlg.exec() != QDialog::Accepted) return false;
    row->SetValue(text->toPlainText());
    return true;
}

void TPropertyInspector::RowValueSet(TInspectorRow* row, bool changed) {
    if (changed) emit ValueChanged(row);
}
