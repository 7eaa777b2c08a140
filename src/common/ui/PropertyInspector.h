#pragma once
// A property inspector: a two-column list of named rows (caption, value) with a typed editor per row.
// Rows after a header row are grouped under it. Each row is a QObject child of the inspector carrying its
// name as object name (NxItem...), so that windows and tests find rows by name.
#include <QObject>
#include <QStringList>
#include <QTreeWidget>

class TPropertyInspector;

enum class TInspectorKind {
    Header,    // group heading; not editable, may show a value
    Text,      // one-line text
    Combo,     // drop-down list that also takes free text
    FixedList, // drop-down list of fixed choices
    Date,      // dd.mm.yyyy with a calendar; an empty value shows the inspector's empty-date text
    Memo,      // several lines, edited in a small text window
    Button,    // text with a "..." button
};

class TInspectorRow : public QObject {
    Q_OBJECT
public:
    TInspectorKind Kind() const { return kind_; }
    QString Caption() const { return caption_; }
    QString Value() const { return value_; }
    // Sets the value shown; a change emits the inspector's ValueChanged.
    void SetValue(const QString& value);
    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Visible() const;
    void SetVisible(bool on);
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    // A free text the owner binds the row with (the plot window keeps the column name here).
    QString Tag() const { return tag_; }
    void SetTag(const QString& tag) { tag_ = tag; }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n) { dropDownCount_ = n; }

    QTreeWidgetItem* Item() const { return item_; }
    TPropertyInspector* Inspector() const;

private:
    friend class TPropertyInspector;
    TInspectorRow(TPropertyInspector* owner, TInspectorKind kind, const QString& caption);
    void Refresh();

    TInspectorKind kind_;
    QString caption_;
    QString value_;
    QStringList items_;
    QString hint_;
    QString tag_;
    bool readOnly_ = false;
    bool enabled_ = true;
    int dropDownCount_ = 15;
    QTreeWidgetItem* item_ = nullptr;
};

class TPropertyInspector : public QTreeWidget {
    Q_OBJECT
public:
    explicit TPropertyInspector(QWidget* parent = nullptr);

    // Adds a row at the end (under the last header unless it is a header itself).
    TInspectorRow* AddRow(const QString& name, const QString& caption, TInspectorKind kind,
                          const QString& value = QString(), const QStringList& items = {});
    TInspectorRow* Row(const QString& name) const;
    QList<TInspectorRow*> Rows() const { return rows_; }
    TInspectorRow* RowOfItem(const QTreeWidgetItem* item) const;
    QString Value(const QString& name) const;
    void SetValue(const QString& name, const QString& value);
    TInspectorRow* CurrentRow() const;
    void SetCurrentRow(TInspectorRow* row);

    void SetNamesWidth(int width) { setColumnWidth(0, width); }
    // The names column's width at which every caption of a row (headers spanning both columns aside) is
    // shown in full, with its indentation.
    int CaptionsWidth() const;
    void SetRowHeight(int height);
    int RowHeight() const { return rowHeight_; }
    void SetEmptyDateText(const QString& text) { emptyDate_ = text; }
    QString EmptyDateText() const { return emptyDate_; }
    // The text a row shows in its value column.
    QString DisplayText(const TInspectorRow* row) const;

    // Opens the row's editor (the value column).
    void EditRow(TInspectorRow* row);
    // Memo rows: the small text window; true when the user confirmed a new text.
    bool EditMemo(TInspectorRow* row);

signals:
    void ValueChanged(TInspectorRow* row);
    void ButtonClicked(TInspectorRow* row);
    // A choice was taken from a row's drop-down list.
    void ListClosed(TInspectorRow* row);

private:
    friend class TInspectorRow;
    void RowValueSet(TInspectorRow* row, bool changed);

    QList<TInspectorRow*> rows_;
    QTreeWidgetItem* currentHeader_ = nullptr;
    int rowHeight_ = 21;
    QString emptyDate_ = QStringLiteral("Немає");
};

// Date values of the inspector are "dd.mm.yyyy" texts; these convert to and from QDate (invalid: empty).
QString InspectorDateText(const QDate& date);
QDate InspectorDate(const QString& text);
