#include "CompiledExpression.h"

#include "Evaluator.h"
#include "KestoCodes.h"
#include "kestoBasInfo.h"

#include <array>

namespace {

// Binding strength of an operator, 0 for any other character. Within a level the evaluator
// applies the leftmost operator first, so every level binds to the left.
int levelOf(char16_t c) {
    switch (c) {
    case u'^': case u'%': return 3;
    case u'*': case u'/': return 2;
    case u'+': case u'-': return 1;
    default: return 0;
    }
}

} // namespace

bool CompiledExpression::compile(QStringView field) {
    postfix_.clear();
    operators_ = 0;
    std::array<char16_t, kMaxDepth> pending; // operators and '(' not yet written
    int pendingCount = 0;
    int depth = 0; // values waiting when the postfix text runs up to here
    bool operand = true; // an item or '(' comes next
    const auto fail = [this] {
        postfix_.clear();
        operators_ = 0;
        return false;
    };
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (operand) {
            if (c == u'(') {
                if (pendingCount == kMaxDepth) return fail();
                pending[size_t(pendingCount++)] = c;
            } else if (c == u'#' && i + 1 < field.size() && field[i + 1].unicode() >= code::HandleFirst) {
                if (++depth > kMaxDepth) return fail();
                postfix_.push_back(field[++i].unicode());
                operand = false;
            } else {
                return fail();
            }
            continue;
        }
        if (c == u')') {
            while (pendingCount > 0 && pending[size_t(pendingCount - 1)] != u'(') {
                postfix_.push_back(pending[size_t(--pendingCount)]);
                --depth;
            }
            if (pendingCount == 0) return fail();
            --pendingCount;
            continue;
        }
        const int level = levelOf(c);
        if (level == 0) return fail();
        while (pendingCount > 0 && levelOf(pending[size_t(pendingCount - 1)]) >= level) {
            postfix_.push_back(pending[size_t(--pendingCount)]);
            --depth;
        }
        if (pendingCount == kMaxDepth) return fail();
        pending[size_t(pendingCount++)] = c;
        ++operators_;
        operand = true;
    }
    if (operand) return fail();
    while (pendingCount > 0) {
        const char16_t c = pending[size_t(--pendingCount)];
        if (c == u'(') return fail();
        postfix_.push_back(c);
    }
    return true;
}

double CompiledExpression::value(kestoBasInfo& k) const {
    const char16_t* p = postfix_.data();
    // The two commonest fields, an item and "#a op #b", without the stack.
    if (postfix_.size() == 1) return k.items.value(p[0]);
    if (postfix_.size() == 3) return temporaryValue(k, operatorResult(p[2], k.items.value(p[0]), k.items.value(p[1])));
    std::array<double, kMaxDepth> stack;
    size_t top = 0;
    for (const char16_t c : postfix_) {
        if (c >= code::HandleFirst) {
            stack[top++] = k.items.value(c);
            continue;
        }
        --top;
        stack[top - 1] = temporaryValue(k, operatorResult(c, stack[top - 1], stack[top]));
    }
    return stack[0];
}
