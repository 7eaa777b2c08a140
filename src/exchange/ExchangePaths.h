#pragma once
// Element paths of exchange files and the operations every module reads and writes elements with.
//
// A path is a list of element names, shown joined by "\". A name may end with "#n" (n from 1): the n-th
// child of that name, names compared without regard to letter case ("ValuationDistrict#2"). A plain name is
// the first child with exactly that name. Paths start at a given element (usually the document element);
// the prefix only appears in failure texts.
//
// All operations clear LastErrorText first and report failure by an empty result plus LastErrorText:
//   FindNodeAtPath   "<prefix>\<path>: Неможливо считування блоку"
//   ReadValuesAtPath "<prefix>\<path>\<leaf+leaf>: Неможливо считування блоку"
//   WriteValueAtPath "<prefix>\<path>: Помилка запису блоку"
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

// "A\B\C" -> {"A", "B", "C"} (empty items dropped).
QStringList SplitPath(const QString& text);
// Prefix and path joined by "\" as they appear in failure texts.
QString JoinPath(const QStringList& prefix, const QStringList& path);

// The element reached by walking the path from start, or a null node.
pugi::xml_node FindNodeAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path);

// Walks the path, then takes the text of each leaf child in order. A missing leaf is skipped unless its
// name starts with "-" (then it counts as an empty text); with skipEmpty empty texts are skipped. Every value
// taken is preceded by the separator unless its leaf is the first of the list.
QString ReadValuesAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path,
                         const QStringList& leaves, const QString& separator, bool skipEmpty);

// Walks the path and sets the text of the element reached, which it returns. "E#n" with fewer than n
// elements E appends one deep copy of the first E after the last E (one copy per call) and walks into it.
pugi::xml_node WriteValueAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path,
                                const QString& value);

// Names of the element and its ancestors from just below the document element down to it; empty for the
// document element.
QStringList ElementPathOf(pugi::xml_node element);

// The n-th (from 1) child element whose name equals name without regard to letter case; null if none.
pugi::xml_node NthChildNamed(pugi::xml_node parent, const QString& name, int n);
// Number of child elements whose name equals name without regard to letter case.
int CountChildrenNamed(pugi::xml_node parent, const QString& name);

// Text content of an element: all text below it, concatenated.
QString ElementText(pugi::xml_node element);
// The number in a leaf element's text ("." decimal separator, surrounding whitespace allowed), read straight
// from the DOM without going through QString: for bulk reads such as the points of a large file.
bool ElementDouble(pugi::xml_node element, double* value);
// Replaces everything inside the element by the text (an empty text leaves it empty).
void SetElementText(pugi::xml_node element, const QString& text);
// The element's name as QString.
QString ElementName(pugi::xml_node element);
