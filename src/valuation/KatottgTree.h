#pragma once
// The KATOTTG codifier as a tree that loads its levels when they are first expanded. Node text:
// "(" cat ")" code " - " title. A node that may have children holds one placeholder child
// "завантаження..." until then. The view calls ExpandNode when a node is expanded or selected.
#include <QAbstractItemModel>
#include <QString>

#include <memory>
#include <vector>

class TDataQuery;

extern const QString kKatottgPlaceholder; // "завантаження..."

class TKatottgTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    // The query runs on the reference database; it is not owned.
    explicit TKatottgTreeModel(TDataQuery* query = nullptr, QObject* parent = nullptr);
    ~TKatottgTreeModel() override;
    void SetQuery(TDataQuery* query) { query_ = query; }

    // One expandable root per oblast. A failure shows "Операція: Запит кодів" with the error and leaves
    // the tree empty.
    bool Fill();
    // Replaces the placeholder by the node's children (no-op for a loaded node or a leaf). A failure shows
    // "Операція: Запит кодів коатуу" with the error.
    bool ExpandNode(const QModelIndex& index);
    bool HasPlaceholder(const QModelIndex& index) const;

    QString NodeText(const QModelIndex& index) const;
    QString NodeCat(const QModelIndex& index) const;
    QString NodeCode(const QModelIndex& index) const;

    // "Обрати": the ID of the selected node, or "" after the warning "Не обрано запис." (nothing selected)
    // or "Деталізуйте вибір до НП або ТГ." (an oblast or a district).
    QString ChooseId(const QModelIndex& selected) const;
    // "Знайти по ID": the node whose code ends with the six digits, loading the levels on the way; invalid
    // after the warning "ID повинен мати 6 цифр" or the message that the ID is not there, and when the walk
    // finds no node on a level.
    QModelIndex FindById(const QString& searchText);

    static QString MakeNodeText(const QString& cat, const QString& code, const QString& title);
    // Cat and code of a node text (the part before " - "); false for the placeholder.
    static bool ParseNodeText(const QString& text, QString* cat, QString* code);

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct TNode {
        QString Text;
        QString Cat;
        QString Code;
        bool Placeholder = false;
        TNode* Parent = nullptr;
        std::vector<std::unique_ptr<TNode>> Children;
    };
    TNode* NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(const TNode* node) const;
    static void AddPlaceholder(TNode* node);

    TDataQuery* query_;
    TNode root_;
};
