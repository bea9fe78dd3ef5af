// A block input over plain lines for tests and the fuzz target: lines are already in compiled
// form (keyword code characters written by the helpers below), parameters are plain numbers.
#pragma once

#include "anime/AnimeBlockInput.h"
#include "common/Numbers.h"
#include "script/KestoCodes.h"

#include <QStringList>
#include <vector>

inline QString kindCode(int kind) { return QString(QChar(char16_t(code::KindFirst + kind))); }
inline QString settingCode(int setting) { return QString(QChar(char16_t(code::SettingFirst + setting))); }
inline QString attrCode(int attribute) { return QString(QChar(char16_t(code::AttrFirst + attribute))); }

class PlainBlockInput : public AnimeBlockInput {
public:
    explicit PlainBlockInput(QStringList lines, QString base = QString())
        : lines_(std::move(lines)), base_(std::move(base)) {}

    std::optional<QString> nextStatement() override {
        while (next_ < lines_.size()) {
            const QString& line = lines_[next_++];
            if (line.trimmed().isEmpty() || line.startsWith(u'\'') || line.startsWith(u':')) continue;
            current_ = next_ - 1;
            look_ = next_;
            return line;
        }
        return std::nullopt;
    }
    std::optional<QString> nextDataLine() override {
        while (look_ < lines_.size()) {
            const QString& line = lines_[look_++];
            if (line.startsWith(u'\'') || line.startsWith(u':')) continue;
            return line;
        }
        return std::nullopt;
    }
    std::optional<double> evaluate(const QString& field) override {
        // '#' stands for an evaluated number in compiled text
        const QString text = field.startsWith(u'#') ? field.mid(1) : field;
        qsizetype used = 0;
        const double v = parseLeadingNumber(text, &used);
        if (used == 0 || !text.mid(used).trimmed().isEmpty()) {
            status_ = -1;
            return std::nullopt;
        }
        return v;
    }
    QString nameText(const QString& field) override { return field.trimmed(); }
    QString programBase() const override { return base_; }
    int lineNumber() const override { return int(current_) + 1; }
    QString lineText() const override { return current_ < lines_.size() ? lines_[current_] : QString(); }
    int status() const override { return status_; }
    void setStatus(int status) override { status_ = status; }
    bool readData(const QString& params) override {
        dataParams.push_back(params);
        return true;
    }

    std::vector<QString> dataParams;

private:
    QStringList lines_;
    QString base_;
    qsizetype next_ = 0, current_ = 0, look_ = 0;
    int status_ = 0;
};
