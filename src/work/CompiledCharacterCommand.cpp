#include "CompiledCharacterCommand.h"

#include "anime/AnimeState.h"
#include "common/Numbers.h"
#include "script/KestoCodes.h"
#include "script/kestoBasInfo.h"

bool CompiledCharacterCommand::compile(QStringView t) {
    compiled_ = false;
    pairs_.clear();
    operators_ = 0;
    if (t.size() < 4 || t[0].unicode() < code::NameFirst) return false;
    nameCode_ = t[0].unicode();
    qsizetype pos = 1;
    hasNameIndex_ = t[pos] == u'[';
    if (hasNameIndex_) {
        const qsizetype close = t.indexOf(u']', pos);
        if (close < 0 || !nameIndex_.compile(t.mid(pos + 1, close - pos - 1))) return false;
        operators_ += nameIndex_.operatorCount();
        pos = close + 1;
    }
    if (pos >= t.size() || t[pos] != u':') return false;
    ++pos;
    for (;;) {
        if (pos >= t.size()) return false; // nothing, or a ',' at the end: the general path's
        // A keyword of any animation table counts by its low byte, the attribute number.
        const char16_t keyword = t[pos++].unicode();
        if (keyword < code::AttrFirst || keyword >= code::NameFirst) return false;
        Pair& pair = pairs_.emplace_back();
        pair.attribute = keyword & 0xFF;
        if (pair.attribute == Attr::text || pair.attribute == Attr::Chaser) return false;
        pair.hasIndex = pair.attribute == Attr::dim;
        if (pair.hasIndex) {
            const qsizetype close = t.indexOf(u']', pos);
            if (pos >= t.size() || t[pos] != u'[' || close < 0) return false;
            if (!pair.index.compile(t.mid(pos + 1, close - pos - 1))) return false;
            operators_ += pair.index.operatorCount();
            pos = close + 1;
        }
        if (pos >= t.size() || t[pos] != u'=') return false;
        ++pos;
        const qsizetype comma = t.indexOf(u',', pos);
        if (!pair.value.compile(t.mid(pos, comma < 0 ? -1 : comma - pos))) return false;
        operators_ += pair.value.operatorCount();
        if (comma < 0) break;
        pos = comma + 1;
    }
    compiled_ = true;
    return true;
}

AnimeInfo* CompiledCharacterCommand::lookUp(kestoBasInfo& k, AnimeState& state, int index) {
    const QString name = k.nameOf(nameCode_ - code::NameFirst);
    AnimeInfo* c = state.lookupCharacter(name, index);
    if (!c) {
        generation_ = 0;
        return state.findCharacter(name, index); // logs the missing character
    }
    generation_ = state.generation();
    lookedUpIndex_ = index;
    character_ = c;
    return c;
}

StepHost::Compiled CompiledCharacterCommand::run(kestoBasInfo& k, AnimeState& state) {
    if (!compiled_) return StepHost::Compiled::Declined;
    // As on the general path, every operator leaves a temporary; where they might not fit, the
    // general path grows the table (or reports it full).
    if (operators_ > 0 && int64_t(k.items.count()) + operators_ + 2 >= k.items.capacity())
        return StepHost::Compiled::Declined;
    k.items.resetTemporaries();
    const int nameIndex = hasNameIndex_ ? truncToInt(nameIndex_.value(k)) : 0;
    for (Pair& pair : pairs_) {
        if (pair.hasIndex) pair.indexValue = pair.index.value(k);
        pair.valueValue = pair.value.value(k);
    }
    AnimeInfo* c = generation_ == state.generation() && lookedUpIndex_ == nameIndex ? character_
                                                                                   : lookUp(k, state, nameIndex);
    if (!c) return StepHost::Compiled::Failed;
    for (const Pair& pair : pairs_) {
        if (pair.hasIndex)
            c->setUserValue(truncToInt(pair.indexValue), pair.valueValue); // outside 0 to 31 ignored
        else
            c->setAttribute(pair.attribute, pair.valueValue);
    }
    return StepHost::Compiled::Done;
}
