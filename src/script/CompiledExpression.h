// A field of a compiled statement made only of items, the six operators and parentheses ("#a",
// "#a+#b*#c", "(#a-#b)/#c"), turned once into postfix order so that a statement run again and
// again values it without copying or reducing its text. The value and the temporaries it leaves
// are those the evaluator gives the same field inside its statement.
#pragma once

#include <QStringView>

#include <vector>

class kestoBasInfo;

class CompiledExpression {
public:
    // Compiles `field`; false (and nothing kept) for any other text: an empty field, a function,
    // a sign or a literal '#' without an item, a quote, unbalanced parentheses, two items or two
    // operators side by side, nesting deeper than kMaxDepth. Cost: linear in the field.
    bool compile(QStringView field);

    // Temporaries one valuation may add to the item table: one per operator. Cost: constant.
    int operatorCount() const { return operators_; }

    // The value, the operators taken by level ('^' '%', '*' '/', '+' '-'), leftmost first, each
    // result stored as a temporary would be. The caller has reset the temporaries and leaves room
    // for operatorCount() more, so no valuation grows the table. Throws ScriptFault for a
    // remainder by zero. Cost: linear in the field; no allocation.
    double value(kestoBasInfo& interpreter) const;

    // Values waiting at once while a field is valued: a bound that real fields stay far below.
    static constexpr int kMaxDepth = 32;

private:
    std::vector<char16_t> postfix_; // item handles (0x100 and above) and operator characters
    int operators_ = 0;
};
