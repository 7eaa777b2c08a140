#include "shell/TFormLogDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QVBoxLayout>

TFormLogDlg::TFormLogDlg(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TFormLogDlg"));
    setWindowTitle(QStringLiteral("Лог дій:"));
    setSizeGripEnabled(true);
    resize(550, 200);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(2, 2, 2, 2);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListBoxLog"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    list_->setUniformItemSizes(true);
    lay->addWidget(list_);

    copy_ = new QAction(QStringLiteral("Копіювати текст"), this);
    copy_->setObjectName(QStringLiteral("POPUP_COPY"));
    copy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    copy_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    find_ = new QAction(QStringLiteral("Знайти у редакторі"), this);
    find_->setObjectName(QStringLiteral("POPUP_FIND"));
    find_->setShortcut(QKeySequence(Qt::Key_F5));
    find_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    list_->addAction(copy_);
    list_->addAction(find_);
    connect(copy_, &QAction::triggered, this, &TFormLogDlg::CopySelectedLine);
    connect(find_, &QAction::triggered, this, &TFormLogDlg::FindSelectedInEditor);
    connect(list_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem*) { FindSelectedInEditor(); });
}

void TFormLogDlg::Clear() {
    list_->clear();
}

void TFormLogDlg::AddLine(const QString& text) {
    list_->addItem(text);
    SelectRow(list_->count() - 1);
}

void TFormLogDlg::SetLines(const QStringList& lines) {
    list_->clear();
    list_->addItems(lines);
}

QStringList TFormLogDlg::Lines() const {
    QStringList out;
    out.reserve(list_->count());
    for (int i = 0; i < list_->count(); ++i)
        out << list_->item(i)->text();
    return out;
}

QString TFormLogDlg::SelectedLine(int* row) const {
    const QList<QListWidgetItem*> sel = list_->selectedItems();
    if (sel.isEmpty()) {
        if (row) *row = -1;
        return QString();
    }
    if (row) *row = list_->row(sel.first());
    return sel.first()->text();
}

void TFormLogDlg::SelectRow(int row) {
    if (row < 0 || row >= list_->count()) return;
    list_->setCurrentRow(row);
    list_->scrollToItem(list_->item(row));
}

void TFormLogDlg::CopySelectedLine() {
    int row = -1;
    const QString line = SelectedLine(&row);
    if (row < 0) return;
    QApplication::clipboard()->setText(line);
}

void TFormLogDlg::FindSelectedInEditor() {
    int row = -1;
    const QString line = SelectedLine(&row);
    if (row < 0 || !onFinding_) return;
    onFinding_(line, row);
}
