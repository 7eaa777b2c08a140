#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"
#include "exchange/NavigatorLines.h"

#include "common/TextHelpers.h"

namespace {

// Child elements of the given name, names compared as numbered path items compare them (without regard to
// letter case), so that line k stands for "Name#k".
QList<pugi::xml_node> ChildrenNamed(pugi::xml_node parent, const char* name) {
    QList<pugi::xml_node> out;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element &&
            QString::fromUtf8(c.name()).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            out << c;
    return out;
}

void Add(QList<TNavigatorLine>& lines, int kind, const QString& caption, const QString& tag = QString(),
         const QString& district = QString()) {
    lines.append({kind, caption, tag, district});
}

} // namespace

TNavigatorLines BuildNavigatorLines(const ExchangeDocument& document) {
    TNavigatorLines out;
    QList<TNavigatorLine>& lines = out.Lines;
    Add(lines, NavKind::Editor, QStringLiteral("Редактор XML файлу"));
    Add(lines, NavKind::Map, QStringLiteral("Мапа"));
    Add(lines, NavKind::FileView, QStringLiteral("Перегляд файлу у блокноті"));
    Add(lines, NavKind::ServiceInfo, QStringLiteral("Розділ: Службові дані"));
    Add(lines, NavKind::Licensee, QStringLiteral("Розділ: Ліцензіат"));
    Add(lines, NavKind::MetricInfo, QStringLiteral("Розділ: Метрична інформація"));

    const pugi::xml_node root = document.DocumentElement();
    const pugi::xml_node zone = root.child("InfoPart").child("TerritorialZoneInfo");
    const pugi::xml_node block = zone.child("Objects").child("Lands").child("NormativValuation");
    if (!block) return out;

    if (zone.child("TerritorialZoneNumber"))
        Add(lines, NavKind::TerritoryNumber, QStringLiteral("Розділ: Опис території"));
    if (zone.child("Externals"))
        Add(lines, NavKind::TerritoryObject, QStringLiteral("Розділ: Об'єкт території"));

    Add(lines, NavKind::Plot, QStringLiteral("Розділ: НГО Оціночна ділянка"));
    out.RegionName = ElementText(block.child("DescriptionOfTerritory").child("Region").child("Name"))
                         .remove(QStringLiteral(" область"))
                         .trimmed();

    if (block.child("DescriptionOfTerritory"))
        Add(lines, NavKind::Location, QStringLiteral("Розділ: НГО Місцерозташування"));
    if (block.child("Population"))
        Add(lines, NavKind::Coefficients, QStringLiteral("Розділ: НГО Коефіціенти"));

    if (const pugi::xml_node districts = block.child("ValuationDistricts")) {
        Add(lines, NavKind::ValuationDistricts, QStringLiteral("Розділ: НГО Оціночний район"));
        const QList<pugi::xml_node> list = ChildrenNamed(districts, "ValuationDistrict");
        for (int k = 1; k <= list.size(); ++k)
            Add(lines, NavKind::ValuationDistrict, QStringLiteral("    блок #") + QString::number(k),
                RandomDigits(5));
    }

    if (block.child("NaturalAgriculturalsDistrict")) {
        Add(lines, NavKind::AgrDistricts, QStringLiteral("Розділ: НГО ПСГ район"));
        const QList<pugi::xml_node> list = ChildrenNamed(block, "NaturalAgriculturalsDistrict");
        for (int k = 1; k <= list.size(); ++k) {
            const QString ks = QString::number(k);
            Add(lines, NavKind::AgrDistrict, QStringLiteral("    блок #") + ks, RandomDigits(5));
            const pugi::xml_node groups = list[k - 1].child("AgroGroups");
            if (!groups) continue;
            const QList<pugi::xml_node> agro = ChildrenNamed(groups, "AgroGroup");
            for (int j = 1; j <= agro.size(); ++j)
                Add(lines, NavKind::AgroGroup,
                    QStringLiteral("    блок #") + ks + QStringLiteral(" агрогрупа #") + QString::number(j),
                    RandomDigits(5), ks);
        }
    }

    if (zone.child("Executor")) Add(lines, NavKind::Executor, QStringLiteral("Розділ: Виконавець техдок"));
    if (zone.child("Chief")) Add(lines, NavKind::Chief, QStringLiteral("Розділ: Відповідальний техдок"));
    if (zone.child("TechDocumentation"))
        Add(lines, NavKind::TechDocumentation, QStringLiteral("Розділ: Реквізити документації"));
    return out;
}

QStringList ElementPathAtLine(const ExchangeDocument& document, int line) {
    pugi::xml_node found;
    struct Walker : pugi::xml_tree_walker {
        const ExchangeDocument* doc;
        int line;
        pugi::xml_node* found;
        bool for_each(pugi::xml_node& node) override {
            if (node.type() != pugi::node_element) return true;
            const int at = doc->SourceLine(node);
            if (at == line) *found = node;
            return at <= line || at == 0;
        }
    } walker;
    walker.doc = &document;
    walker.line = line;
    walker.found = &found;
    pugi::xml_node root = document.Dom();
    root.traverse(walker);
    // Numbered items ("Name#k") so that the path tells repeated elements apart.
    QStringList path;
    for (pugi::xml_node n = found; n && n.parent() && n.parent().type() == pugi::node_element; n = n.parent()) {
        int k = 0;
        for (pugi::xml_node c : ChildrenNamed(n.parent(), n.name())) {
            ++k;
            if (c == n) break;
        }
        path.prepend(ElementName(n) + QLatin1Char('#') + QString::number(k));
    }
    return path;
}
