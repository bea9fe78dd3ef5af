// An interpreter with the fake engine and a recorded message list.
#pragma once

#include "FakeAnimation.h"
#include "QStringPrinter.h"
#include "script/kestoBasInfo.h"

#include <QStringList>
#include <gtest/gtest.h>

class ScriptFixture : public testing::Test {
protected:
    ScriptFixture() {
        k.setAnimationHook(&animation);
        k.setMessageSink([this](const QString& text) { messages.append(text); });
    }

    // Prepares the lines as the Atelier does (no folder, no Load data).
    void prepare(const QStringList& lines) { k.prepareProgram(lines, QString()); }

    // The compiled statements, in order.
    std::vector<progInfo*> statementList() const {
        std::vector<progInfo*> list;
        for (progInfo* s = k.statements.first(); s; s = s->next) list.push_back(s);
        return list;
    }

    // Value of the variable `name` (0 when it does not exist).
    double variable(const QString& name) {
        for (int i = 0; i < k.items.count(); ++i)
            if (k.items.item(i).name == name) return k.items.item(i).value;
        return 0;
    }

    FakeAnimation animation;
    kestoBasInfo k;
    QStringList messages;
};
