#include "ScriptFixture.h"
#include "script/KeywordTables.h"
#include "script/StatementCompiler.h"

#include <gtest/gtest.h>

namespace {

// Builds an expected code from pieces: plain text, codes, and item tokens "#" + handle.
QString codes(std::initializer_list<QString> parts) {
    QString out;
    for (const QString& p : parts) out += p;
    return out;
}
QString c(char16_t code) { return QString(QChar(code)); }

class CompileTest : public ScriptFixture {
protected:
    // Compiles one statement as line 7 after `lastKeyword` was met.
    QString compile(const QString& text, char16_t lastKeyword = 0) {
        k.lastKeywordCode = lastKeyword;
        statement.lineNumber = 7;
        compileStatement(k, statement, text);
        return statement.code;
    }
    // Token of the variable or constant the compiler made for it.
    QString var(const QString& name) { return QStringLiteral("#") + QChar(k.items.findOrAdd(name, 0)); }
    QString num(double v) { return QStringLiteral("#") + QChar(k.items.findOrAdd({}, v)); }

    progInfo statement;
};

TEST_F(CompileTest, CodesKeywordsNamesControlWordsAndFunctions) {
    k.declareName(u":ball");
    const QString ball = c(code::NameFirst);
    struct Case {
        QString text;
        std::function<QString()> expected;
    };
    const std::vector<Case> cases = {
        // At the start the setting wins; after a name the attribute.
        {"COLOR: 1, 255, 0, 0", [&] { return codes({c(code::setting(Setting::Color)), ":", num(1), ",", num(255), ",", num(0), ",", num(0)}); }},
        {"ball: color=3", [&] { return codes({ball, ":", c(code::attr(Attr::Color)), "=", num(3)}); }},
        {"BALL:位置X=10,angleZ=-5", [&] { return codes({ball, ":", c(code::attr(Attr::X)), "=", num(10), ",", c(code::attr(Attr::angleZ)), "=", num(-5)}); }},
        {"for $i=1 to 5 step -1", [&] { return codes({c(code::For), var("i"), "=", num(1), c(code::To), num(5), c(code::Step), num(-1)}); }},
        // Every qualifying occurrence is coded, also after a longer name holding the word.
        {"for $total=1 to 5", [&] { return codes({c(code::For), var("total"), "=", num(1), c(code::To), num(5)}); }},
        {"$sint=sin(30)", [&] { return codes({var("sint"), "=", c(code::Sin), "(", num(30), ")"}); }},
        {"$a=abs(read(1))+int(2)", [&] { return codes({var("a"), "=", c(code::Abs), "(", c(code::Read), "(", num(1), "))+", c(code::Int), "(", num(2), ")"}); }},
        {"if $a<>-1 then", [&] { return codes({c(code::If), var("a"), "<>", num(-1), c(code::Then)}); }},
        {"$X=$x_1*2-$x", [&] { return codes({var("x"), "=", var("x_1"), "*", num(2), "-", var("x")}); }},
        // A minus after an operator is no literal; "1.5.2" reads as 1.5.
        {"$a=2*-3+1.5.2", [&] { return codes({var("a"), "=", num(2), "*-", num(3), "+", num(1.5)}); }},
        {"ANIME_SET:", [&] { return codes({c(code::AnimeSet), ":"}); }},
        {"アニメ設定:", [&] { return codes({c(code::AnimeSet), ":"}); }},
        {"ball:text=\"Hello World; X\"", [&] { return codes({ball, ":", c(code::attr(Attr::text)), "=\"Hello World; X\""}); }},
        {"ball:text=\"open", [&] { return codes({ball, ":", c(code::attr(Attr::text)), "=\"open\""}); }},
        {"題:タイトル", [&] { return codes({c(code::setting(Setting::Theme)), "タイトル"}); }},
        {"Theme", [&] { return c(code::setting(Setting::Theme)); }},
        {"\"quoted; text\" rest", [&] { return QString("quoted; text"); }},
        {"'single", [&] { return QString("single"); }},
        {"endif", [&] { return c(code::Endif); }},
    };
    for (const Case& cs : cases) EXPECT_EQ(compile(cs.text), cs.expected()) << cs.text.toStdString();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('|').toStdString();
}

TEST_F(CompileTest, DataRowsStayRawOnlyAfterKindsThatTakeThem) {
    struct Case {
        char16_t last;
        QString text;
        bool raw;
    };
    const Case cases[] = {
        {code::kind(Kind::DotPtn), "0F0F,0F0F", true},
        {code::kind(Kind::BitMap), "..ff  00", true},
        {code::setting(Setting::FramePtn), "1,2,3", true},
        {code::kind(Kind::Sudoku), "53..7....", true},
        {code::kind(Kind::Message), "1,2", false},
        {code::setting(Setting::Wait), "0F0F", false},
        {code::kind(Kind::DotPtn), "0G0F", false},
        {code::kind(Kind::DotPtn), "$a=1", false},
    };
    for (const Case& cs : cases) {
        messages.clear();
        const QString result = compile(cs.text, cs.last);
        EXPECT_EQ(result == cs.text && messages.isEmpty(), cs.raw) << cs.text.toStdString();
    }
}

TEST_F(CompileTest, UndeclaredIdentifierIsReportedAndKeepsTheCodedPart) {
    const QString result = compile("ball:X=10");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("該当する「acmd」が見当たりません！\r\n 007: ball "));
    EXPECT_EQ(result, QStringLiteral("ball:X=10"));
    messages.clear();
    const QString second = compile("Canvas:1,2;$a=foo");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("該当する「acmd」が見当たりません！\r\n 007: foo "));
    EXPECT_EQ(second, c(code::setting(Setting::Canvas)) + QStringLiteral(":1,2;$a=foo"));
}

TEST_F(CompileTest, NameDeclarations) {
    compile("BitMap:ball,\"ball.bmp\"");
    compile("DOTPTN,star,1");
    compile("BitMap: spaced");
    compile("ビットマップ:kana,1");
    compile("ドットパタン:dots");
    compile("BitMap:BALL,1");  // already declared: not added twice
    compile("BitMap:");        // nothing after the separator declares nothing
    compile("ビットマップ");
    EXPECT_EQ(k.names(), QStringList({"ball", "star", " spaced", "kana", "dots"}));
    EXPECT_EQ(k.findName(u"Ball"), 0);
    EXPECT_EQ(k.findName(u"spaced"), -1);
    EXPECT_EQ(k.nameOf(3), "kana");
    EXPECT_EQ(k.nameOf(9), QString());
    EXPECT_EQ(compile("kana:X=1"), codes({c(code::NameFirst + 3), ":", c(0x3000), "=", num(1)}));
    messages.clear();
    compile("spaced:X=1");
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(CompileTest, CollidingCharactersBecomeReplacementCharacters) {
    const QString text = QString("ball:text=\"a") + QChar(0x80) + QChar(0xA8) + QChar(0xA9) + "\"";
    k.declareName(u":ball");
    const QString result = compile(text);
    EXPECT_FALSE(result.contains(QChar(0x80)));
    EXPECT_FALSE(result.contains(QChar(0xA8)));
    EXPECT_TRUE(result.endsWith(QString("\"a") + QChar(0xFFFD) + QChar(0xFFFD) + QChar(0xA9) + "\""));
    EXPECT_EQ(compile(QString(QChar(0x83))), QString(QChar(0xFFFD)));
    // "$1" names no variable.
    compile("$a=$1");
    EXPECT_EQ(k.items.count(), 2);
}

} // namespace
