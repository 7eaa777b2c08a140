#include "valuation/KatottgTree.h"

#include "common/Messages.h"
#include "data/DataQuery.h"
#include "data/SqlHelpers.h"
#include "valuation/TerritoryId.h"

#include <QList>

const QString kKatottgPlaceholder = QStringLiteral("завантаження...");

namespace {

struct TChildRow {
    QString Cat;
    QString Code;
    QString Title;
};

// Children of a node of that cat: the statement and the column of the children's own codes.
bool ChildQuery(const QString& cat, const QString& code, QString* statement, QString* childColumn) {
    const QString c = SqlQuote(code);
    if (cat == QLatin1String("O")) {
        *statement = QStringLiteral("SELECT * FROM кодифікатор WHERE code1='") + c +
                     QStringLiteral("' and (cat='P') ORDER BY id");
        *childColumn = QStringLiteral("code2");
    } else if (cat == QLatin1String("P")) {
        *statement = QStringLiteral("SELECT * FROM кодифікатор WHERE code2='") + c +
                     QStringLiteral("' and (cat='H') ORDER BY id");
        *childColumn = QStringLiteral("code3");
    } else if (cat == QLatin1String("H")) {
        *statement = QStringLiteral("SELECT * FROM кодифікатор WHERE code3='") + c +
                     QStringLiteral("' and (cat='C' or cat='X' or cat='M') ORDER BY id");
        *childColumn = QStringLiteral("code4");
    } else if (cat == QLatin1String("M")) {
        *statement = QStringLiteral("SELECT * FROM кодифікатор WHERE code4='") + c +
                     QStringLiteral("' and (cat='B') ORDER BY id");
        *childColumn = QStringLiteral("code5");
    } else {
        return false;
    }
    return true;
}

bool ReadRows(TDataQuery& query, const QString& statement, const QString& codeColumn,
              QList<TChildRow>* rows) {
    if (!RunSql(query, statement, true, false)) return false;
    for (bool row = !query.Eof(); row; row = query.Next())
        rows->append({query.FieldText(QStringLiteral("cat")), query.FieldText(codeColumn),
                      query.FieldText(QStringLiteral("title"))});
    query.Close();
    return true;
}

} // namespace

TKatottgTreeModel::TKatottgTreeModel(TDataQuery* query, QObject* parent)
    : QAbstractItemModel(parent), query_(query) {
    setObjectName(QStringLiteral("TreeViewDistrModel"));
}

TKatottgTreeModel::~TKatottgTreeModel() = default;

QString TKatottgTreeModel::MakeNodeText(const QString& cat, const QString& code, const QString& title) {
    return QStringLiteral("(") + cat + QStringLiteral(")") + code + QStringLiteral(" - ") + title;
}

bool TKatottgTreeModel::ParseNodeText(const QString& text, QString* cat, QString* code) {
    const qsizetype dash = text.indexOf(QStringLiteral(" - "));
    const QString head = dash < 0 ? text : text.left(dash);
    if (head.size() < 3 || head[0] != '(' || head[2] != ')') return false;
    if (cat) *cat = head.mid(1, 1);
    if (code) *code = head.mid(3);
    return true;
}

void TKatottgTreeModel::AddPlaceholder(TNode* node) {
    auto p = std::make_unique<TNode>();
    p->Text = kKatottgPlaceholder;
    p->Placeholder = true;
    p->Parent = node;
    node->Children.push_back(std::move(p));
}

bool TKatottgTreeModel::Fill() {
    beginResetModel();
    root_.Children.clear();
    QList<TChildRow> rows;
    const bool ok =
        query_ && ReadRows(*query_, QStringLiteral("SELECT * FROM кодифікатор WHERE cat='O' ORDER BY id"),
                           QStringLiteral("code1"), &rows);
    if (ok) {
        for (const TChildRow& r : rows) {
            auto n = std::make_unique<TNode>();
            n->Cat = r.Cat;
            n->Code = r.Code;
            n->Text = MakeNodeText(r.Cat, r.Code, r.Title);
            n->Parent = &root_;
            AddPlaceholder(n.get());
            root_.Children.push_back(std::move(n));
        }
    }
    endResetModel();
    if (!ok) {
        if (!query_) LastErrorText = kNoConnectionText;
        ShowError(CommandFailureText(QStringLiteral("Операція: Запит кодів"), LastErrorText));
    }
    return ok;
}

bool TKatottgTreeModel::HasPlaceholder(const QModelIndex& index) const {
    const TNode* n = NodeOf(index);
    return n && n != &root_ && n->Children.size() == 1 && n->Children[0]->Placeholder;
}

bool TKatottgTreeModel::ExpandNode(const QModelIndex& index) {
    TNode* node = NodeOf(index);
    if (!node || node == &root_ || !HasPlaceholder(index)) return true;
    QString statement, childColumn;
    QList<TChildRow> rows;
    // Read every child before asking which M children have children of their own: the same query serves
    // both.
    bool ok = query_ && ChildQuery(node->Cat, node->Code, &statement, &childColumn) &&
              ReadRows(*query_, statement, childColumn, &rows);
    QList<bool> expandable;
    for (int i = 0; ok && i < rows.size(); ++i) {
        const QString& cat = rows[i].Cat;
        bool has = cat == QLatin1String("P") || cat == QLatin1String("H");
        if (cat == QLatin1String("M")) {
            QString sub, subColumn;
            ChildQuery(cat, rows[i].Code, &sub, &subColumn);
            ok = RunSql(*query_, sub, true, false);
            has = ok && !query_->Eof();
            query_->Close();
        }
        expandable << has;
    }
    if (!ok) {
        if (!query_) LastErrorText = kNoConnectionText;
        ShowError(CommandFailureText(QStringLiteral("Операція: Запит кодів коатуу"), LastErrorText));
        return false;
    }
    beginRemoveRows(index, 0, 0);
    node->Children.clear();
    endRemoveRows();
    if (rows.isEmpty()) return true;
    beginInsertRows(index, 0, int(rows.size()) - 1);
    for (int i = 0; i < rows.size(); ++i) {
        auto n = std::make_unique<TNode>();
        n->Cat = rows[i].Cat;
        n->Code = rows[i].Code;
        n->Text = MakeNodeText(rows[i].Cat, rows[i].Code, rows[i].Title);
        n->Parent = node;
        if (expandable[i]) AddPlaceholder(n.get());
        node->Children.push_back(std::move(n));
    }
    endInsertRows();
    return true;
}

QString TKatottgTreeModel::NodeText(const QModelIndex& index) const {
    const TNode* n = NodeOf(index);
    return n && n != &root_ ? n->Text : QString();
}

QString TKatottgTreeModel::NodeCat(const QModelIndex& index) const {
    const TNode* n = NodeOf(index);
    return n && n != &root_ ? n->Cat : QString();
}

QString TKatottgTreeModel::NodeCode(const QModelIndex& index) const {
    const TNode* n = NodeOf(index);
    return n && n != &root_ ? n->Code : QString();
}

QString TKatottgTreeModel::ChooseId(const QModelIndex& selected) const {
    const TNode* n = NodeOf(selected);
    if (!selected.isValid() || !n || n == &root_ || n->Placeholder) {
        ShowWarning(QStringLiteral("Не обрано запис."));
        return {};
    }
    if (n->Cat == QLatin1String("O") || n->Cat == QLatin1String("P")) {
        ShowWarning(QStringLiteral("Деталізуйте вибір до НП або ТГ."));
        return {};
    }
    return TerritoryIdOfCode(n->Code);
}

QModelIndex TKatottgTreeModel::FindById(const QString& searchText) {
    const QString id = searchText.trimmed();
    bool digits = id.size() == 6;
    for (const QChar c : id)
        if (c < '0' || c > '9') digits = false;
    if (!digits) {
        ShowWarning(QStringLiteral("ID повинен мати 6 цифр"));
        return {};
    }
    if (!query_) return {};
    const QString like = SqlQuote(id);
    const QString statement =
        QStringLiteral("SELECT * from кодифікатор where (code1 like '%") + like +
        QStringLiteral("') or (code2 like '%") + like + QStringLiteral("') or (code3 like '%") + like +
        QStringLiteral("') or (code4 like '%") + like + QStringLiteral("') or (code5 like '%") + like +
        QStringLiteral("') order by id");
    if (!RunSql(*query_, statement, true, true)) {
        if (LastErrorText == kNoRecordsText)
            ShowWarning(QStringLiteral("ID \"") + id + QStringLiteral("\" не знайдено."));
        else
            ShowError(CommandFailureText(QStringLiteral("Операція: Запит кодів коатуу"), LastErrorText));
        return {};
    }
    QString codes[5];
    for (int i = 0; i < 5; ++i)
        codes[i] = query_->FieldText(QStringLiteral("code%1").arg(i + 1));
    query_->Close();

    TNode* level = &root_;
    for (int i = 0; i < 5; ++i) {
        TNode* hit = nullptr;
        for (const auto& child : level->Children) {
            if (!child->Placeholder && child->Code.contains(codes[i])) {
                hit = child.get();
                break;
            }
        }
        if (!hit) return {};
        const QModelIndex idx = IndexOf(hit);
        if (TerritoryIdOfCode(hit->Code) == id) return idx;
        if (!ExpandNode(idx)) return {};
        level = hit;
    }
    return {};
}

TKatottgTreeModel::TNode* TKatottgTreeModel::NodeOf(const QModelIndex& index) const {
    if (!index.isValid()) return const_cast<TNode*>(&root_);
    return static_cast<TNode*>(index.internalPointer());
}

QModelIndex TKatottgTreeModel::IndexOf(const TNode* node) const {
    if (!node || node == &root_ || !node->Parent) return {};
    const auto& siblings = node->Parent->Children;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == node) return createIndex(int(i), 0, const_cast<TNode*>(node));
    return {};
}

QModelIndex TKatottgTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TNode* p = NodeOf(parent);
    if (!p || column != 0 || row < 0 || row >= int(p->Children.size())) return {};
    return createIndex(row, 0, p->Children[size_t(row)].get());
}

QModelIndex TKatottgTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    const TNode* n = NodeOf(child);
    return IndexOf(n->Parent);
}

int TKatottgTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() && parent.column() != 0) return 0;
    const TNode* p = NodeOf(parent);
    return p ? int(p->Children.size()) : 0;
}

int TKatottgTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TKatottgTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole) return {};
    return NodeOf(index)->Text;
}

Qt::ItemFlags TKatottgTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
