#pragma once

#include "map/MapFeature.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

// The expressions of computed fields: field names, number and text literals,
// + - * / and brackets, and the functions Chr$, Str$, Round, Left$, Right$, Mid$,
// UCase$, LCase$, Area, Perimeter, ObjectLen, CentroidX and CentroidY (the
// geometry functions take obj and an optional unit such as "sq m" or "m").
// Names are not case-sensitive. "+" adds numbers and joins texts (a number joined
// to a text is written in the general form).
class TMapExpression {
public:
    struct Node;

    // Parses the text. fieldIndex maps a field name to its index (-1 when there is
    // no such field). Anything outside the language is refused with TMapError.
    static std::shared_ptr<const TMapExpression> Parse(const QString& text,
                                                       const std::function<int(const QString&)>& fieldIndex);

    // The value for one feature: a double or a QString. fieldValue gives the value
    // of the field with the given index.
    QVariant Evaluate(const TMapFeature& feature, const std::function<QVariant(int)>& fieldValue) const;

    const QString& Text() const { return text_; }

private:
    QString text_;
    std::shared_ptr<Node> root_;
};
