// A stand-in for the animation engine: it reads a block the way the engine's block reader does
// (commands through readStatement, `Data` through readData) and records what it met.
#pragma once

#include "script/AnimationHook.h"
#include "script/KeywordTables.h"
#include "script/kestoBasInfo.h"

#include <QStringList>

#include <map>
#include <stdexcept>

class FakeAnimation : public AnimationHook {
public:
    void resetAnimation(kestoBasInfo&) override { ++resets; }
    void clearPendingCamera() override { ++cameraClears; }
    int runAnimeSet(kestoBasInfo& k, progInfo* first) override {
        ++runs;
        if (throwInBlock) throw std::runtime_error("engine fault");
        progInfo* current = first;
        QString command;
        while (k.readStatement(command, current) == 0) {
            const qsizetype skip = command.size() > 1 && (command[1] == u':' || command[1] == u',') ? 2 : 1;
            if (command[0] == code::setting(Setting::Data)) {
                if (k.readData(command.mid(skip), current) != 0) return -1;
                continue;
            }
            commands.append(command);
        }
        return blockResult;
    }
    void rebuildNameIndex(kestoBasInfo&) override { ++indexRebuilds; }
    bool setUserValue(QStringView name, int sameNameIndex, int index, double value) override {
        if (!knownNames.contains(name.toString())) return false;
        userValues[{name.toString(), sameNameIndex * 100 + index}] = value;
        return true;
    }
    bool userValue(QStringView name, int sameNameIndex, int index, double* value) const override {
        const auto it = userValues.find({name.toString(), sameNameIndex * 100 + index});
        if (it == userValues.end()) return false;
        *value = it->second;
        return true;
    }

    int resets = 0;
    int cameraClears = 0;
    int runs = 0;
    int indexRebuilds = 0;
    int blockResult = 0;
    bool throwInBlock = false;
    QStringList commands; // evaluated commands read from blocks
    QStringList knownNames;
    std::map<std::pair<QString, int>, double> userValues;
};
