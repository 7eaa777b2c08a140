#pragma once
// The catalogue of template fragments: deep copies of template elements, keyed by (parent name, element
// name), for the block editor's choice variants and for adding new objects to a file. The four SC63 zone
// variants are keyed "SC63 \"X\"", "SC63 \"C\"", "SC63 \"P\"" and "SC63 \"T\"".
#include <QString>

#include <pugixml.hpp>

#include <memory>
#include <vector>

class ExchangeDocument;

struct TNodeLibItem {
    QString ParentName;
    QString ElementName;
    std::shared_ptr<pugi::xml_document> Holder; // owns the copy
    pugi::xml_node Node() const { return Holder ? Holder->first_child() : pugi::xml_node(); }
};

class TNodeLibrary {
public:
    void Add(const QString& parentName, const QString& elementName, pugi::xml_node node);
    // The first entry whose names both match exactly; null when there is none.
    pugi::xml_node Find(const QString& parentName, const QString& elementName) const;
    const std::vector<TNodeLibItem>& Items() const { return items_; }
    bool IsEmpty() const { return items_.empty(); }
    void Clear() { items_.clear(); }

private:
    std::vector<TNodeLibItem> items_;
};

// The program's catalogue, built once per run from the template.
TNodeLibrary& NodeLibrary();
void NodeLibraryAdd(const QString& parentName, const QString& elementName, pugi::xml_node node);
pugi::xml_node NodeLibraryFind(const QString& parentName, const QString& elementName);

// Fills the library with the template's fragments in the fixed order; entries whose element the template
// lacks are skipped. False (reason in LastErrorText) when the template holds no exchange document.
bool BuildNodeLibrary(TNodeLibrary& library, const ExchangeDocument& templ);
