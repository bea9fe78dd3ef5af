#include "common/Texts.h"
#include "TestSupport.h"
#include "common/Numbers.h"
#include "common/Platform.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "common/TextFile.h"

#include <QProcess>

#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <thread>

TEST(SizeText, FiveCharacterForms) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "    0"},          {1023, " 1023"},       {1536, "1.50k"},         {1048576, "1.00m"},
        {1024000, "1000k"},    {2ULL << 40, "2.00t"}, {512ULL << 20, " 512m"}, {15872, "15.5k"},
        {5ULL << 50, "5120t"}, {UINT64_MAX, "1677t"}, // 16 million terabytes: the leading digits, never a
                                                      // wrapped int
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}

TEST(CommaText, GroupsAndCuts) {
    EXPECT_EQ(commaText("1234567", 10), " 1,234,567");
    EXPECT_EQ(commaText("1234567", 5), "4,567");
    EXPECT_EQ(commaText("123", 5), "  123");
    EXPECT_EQ(commaText("1234", 5), "1,234");
}

TEST(PackedTime, ReadAndShow) {
    EXPECT_EQ(dateNumber("2010/05/03 12:30:00"), 20100503123000ULL);
    EXPECT_EQ(dateNumber("2010/5/3"), 20100503ULL);
    EXPECT_EQ(dateText(20100503123000ULL), "2010/05/03 12:30:00");
}

TEST(CutField, SplitsAtFirstSeparator) {
    QString text = "a , b";
    auto rest = cutField(text);
    ASSERT_TRUE(rest);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(*rest, " b");
    QString plain = "abc";
    EXPECT_FALSE(cutField(plain));
    EXPECT_EQ(plain, "abc");
    QString blank = " ;x";
    ASSERT_TRUE(cutField(blank));
    EXPECT_EQ(blank, " "); // the field's first character is never cleared
}

TEST(Cp932, BackslashStaysAndInvalidBytesAreReplaced) {
    EXPECT_EQ(decodeCp932("a\\b"), "a\\b");
    EXPECT_EQ(decodeCp932("\x82\xA0"), QString::fromUtf8("あ"));
    EXPECT_EQ(decodeCp932("x\x82"), QString::fromUtf8("x\xEF\xBF\xBD"));
    EXPECT_TRUE(cp932RoundTrips(QString::fromUtf8("ヴィモラ～")));
    EXPECT_FALSE(cp932RoundTrips(QString::fromUtf8("한국")));
}

// The ASCII shortcut must give what the conversion gives, and a descriptor kept between calls
// must not carry anything from a failed call into the next one, in any thread.
TEST(Cp932, AsciiShortcutAndReusedConversionsAgreeWithFreshOnes) {
    QByteArray ascii;
    for (int b = 0; b < 128; ++b) ascii.append(static_cast<char>(b));
    const QString asciiText = QString::fromLatin1(ascii);
    const QString a = QString::fromUtf8("あ");
    EXPECT_EQ(decodeCp932(ascii), asciiText);
    EXPECT_EQ(decodeCp932(ascii + "\x82\xA0"), asciiText + a) << "iconv maps ASCII the same way";
    EXPECT_EQ(encodeCp932(asciiText), ascii);
    EXPECT_EQ(encodeCp932(asciiText + a), ascii + "\x82\xA0");
    EXPECT_EQ(ansiLength(asciiText), 128);
    EXPECT_EQ(ansiLength(asciiText + a), 130);

    struct Case {
        QByteArray bytes;
        QString text;
    };
    const std::vector<Case> cases = {
        {"\x82", QString(QChar(0xFFFD))},                      // truncated at the end
        {"\x82\xA0", a},                                        // right after a truncated one
        {"a\\b\x83\x94", QString::fromUtf8("a\\bヴ")},
        {"\xFF\x82\xA0", QString(QChar(0xFFFD)) + a},
    };
    auto allAgree = [&] {
        for (int round = 0; round < 50; ++round) {
            for (const Case& c : cases) {
                if (decodeCp932(c.bytes) != c.text) return false;
                bool lossless = false;
                const QByteArray back = encodeCp932(c.text, &lossless);
                if (lossless != !c.text.contains(QChar(0xFFFD))) return false;
                if (lossless && back != c.bytes) return false;
                if (encodeCp932(QString::fromUtf8("한") + a) != "?\x82\xA0") return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(allAgree());
    std::vector<char> results(4, 0);
    std::vector<std::thread> threads;
    for (char& r : results) threads.emplace_back([&r, &allAgree] { r = allAgree(); });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(results, std::vector<char>(4, 1));
}

TEST(ShowCheck, NestedRequestAnswersMinusOne) {
    struct Nesting : CheckSink {
        int inner = 99;
        int show(const QString&, const QString&, int) override {
            inner = showCheck("inner", "c", 1);
            return 1;
        }
    } sink;
    ScopedCheckSink scoped(&sink);
    EXPECT_EQ(showCheck("outer", "c", 1), 1);
    EXPECT_EQ(sink.inner, -1);
    EXPECT_EQ(checkNesting(), 0);
}

// The command line is process-wide: each case sets its own and clears it afterwards.
class SettingLookup : public testing::Test {
  protected:
    void TearDown() override { setCommandLine({}); }
};

TEST_F(SettingLookup, KeysWithAndWithoutEquals) {
    const struct {
        QStringList commandLine;
        const char* key;
        std::optional<QString> value;
    } cases[] = {
        {{"wide=0"}, "wide=", QString("0")},
        {{"wide"}, "wide=", std::nullopt},
        {{"wide"}, "wide", QString("")},
        {{"wide=1"}, "wide", QString("=1")},               // why callers ask for "wide=" first
        {{"--HOME=/w/art/"}, "home=", QString("/w/art/")}, // dashes dropped, any case
        {{"\"alldisp=2\""}, "alldisp=", QString("2\"")},   // a leading quote is dropped, a trailing one kept
        {{"home=/a b"}, "home=", QString("/a")},           // a space ends the word
    };
    for (const auto& c : cases) {
        setCommandLine(c.commandLine);
        EXPECT_EQ(findSetting(c.key), c.value) << c.commandLine.join(' ').toStdString() << " / " << c.key;
    }
}

TEST_F(SettingLookup, CommandLineWinsOverSettingsLines) {
    const QStringList lines{"  home=/from/file/", "wide=1", "alldisp=3"};
    setCommandLine({"home=/from/command/"});
    EXPECT_EQ(findSetting("home=", &lines), QString("/from/command/"));
    EXPECT_EQ(findSetting("wide=", &lines), QString("1"));
    EXPECT_EQ(findSetting("ALLDISP=", &lines), QString("3"));
    EXPECT_EQ(findSetting("missing=", &lines), std::nullopt);
    EXPECT_EQ(findSetting("wide="), std::nullopt); // no settings text given
}

TEST_F(SettingLookup, AtMostSixteenWords) {
    QStringList words;
    for (int i = 0; i < 17; ++i)
        words.append(QStringLiteral("k%1=%1").arg(i, 2, 10, QChar('0')));
    setCommandLine(words);
    EXPECT_EQ(findSetting("k15="), QString("15"));
    EXPECT_EQ(findSetting("k16="), std::nullopt);
}

TEST(ImageKind, ExtensionAndSignature) {
    TempFolder tmp;
    const QString fakePng = tmp.write("x.png", QByteArray("BM\x36\x00\x00\x00\x00\x00", 8));
    const QString realPng = tmp.write("y.PNG", QByteArray("\x89PNG\r\n\x1A\n\x00\x00", 10));
    const QString bmp = tmp.write("z.bmp", QByteArray("BM\x36\x00\x00\x00\x00\x00\x00", 9));
    const QString shortBmp = tmp.write("s.bmp", "BM");
    const struct {
        QString path;
        bool verify;
        const char* kind;
    } cases[] = {
        {fakePng, true, "non"},        {fakePng, false, "png"},
        {realPng, true, "png"},        {bmp, true, "bmp"},
        {shortBmp, true, "non"},       {tmp.file("missing.gif"), true, "non"},
        {"photo.JPEG", false, "jpeg"}, {"a.tiff2", false, "tiff2"},
        {"noext", false, "non"},       {"dir.png/file", false, "non"},
        {"a.png.txt", false, "non"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(imageKind(c.path, c.verify), c.kind) << c.path.toStdString();
}

TEST(TextFileReader, ByteOrderMarksAndLineEnds) {
    TempFolder tmp;
    const QString text = QStringLiteral("一\r二\n三\r\n\r\n四");
    const QStringList expected{QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"), "",
                               QStringLiteral("四")};
    auto utf16 = [&](bool little) {
        QByteArray out(little ? "\xFF\xFE" : "\xFE\xFF", 2);
        for (QChar c : text) {
            const char lo = static_cast<char>(c.unicode() & 0xFF), hi = static_cast<char>(c.unicode() >> 8);
            out.append(little ? lo : hi);
            out.append(little ? hi : lo);
        }
        return out;
    };
    const struct {
        const char* name;
        QByteArray bytes;
        TextEncoding encoding;
    } cases[] = {
        {"cp932.txt", encodeCp932(text), TextEncoding::Cp932},
        {"utf8.txt", "\xEF\xBB\xBF" + text.toUtf8(), TextEncoding::Utf8Bom},
        {"le.txt", utf16(true), TextEncoding::Utf16LE},
        {"be.txt", utf16(false), TextEncoding::Utf16BE},
    };
    for (const auto& c : cases) {
        QStringList lines;
        TextEncoding found = TextEncoding::Cp932;
        ASSERT_TRUE(readTextLines(tmp.write(c.name, c.bytes), lines, &found)) << c.name;
        EXPECT_EQ(lines, expected) << c.name;
        EXPECT_EQ(found, c.encoding) << c.name;
    }
    QStringList untouched{"keep"};
    EXPECT_FALSE(readTextLines(tmp.file("missing.txt"), untouched));
    EXPECT_EQ(untouched, QStringList{"keep"});
}

// The line reader reads a piece at a time: a CR LF, a CR alone or a double-byte character
// that straddles a piece boundary must give the same lines as reading the file whole.
TEST(TextFileReader, LinesAcrossPieceBoundariesMatchTheWholeFile) {
    TempFolder tmp;
    constexpr qsizetype kPiece = TextLineReader::kPiece;
    auto filler = [](qsizetype length) { return QByteArray(length, 'x'); };
    const QByteArray kanji = encodeCp932(QStringLiteral("星座"));
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"crlf.txt", filler(kPiece - 1) + "\r\nnext\r\n"},
        {"cr.txt", filler(kPiece - 1) + "\rnext\r" + filler(kPiece) + "\rlast"},
        {"kanji.txt", "a\n" + filler(kPiece - 3) + kanji + "\n" + kanji},
        {"utf8.txt", "\xEF\xBB\xBF" + filler(kPiece - 5) + QStringLiteral("星\r\n座").toUtf8()},
        {"le.txt", QByteArray("\xFF\xFE") + QByteArray("a\0\r\0\n\0b\0", 8)},
        {"empty.txt", QByteArray()},
    };
    for (const auto& c : cases) {
        const QString path = tmp.write(c.name, c.bytes);
        QStringList whole;
        ASSERT_TRUE(readTextLines(path, whole)) << c.name;
        TextLineReader reader(path);
        ASSERT_TRUE(reader.ok()) << c.name;
        QStringList streamed;
        QStringView line;
        while (reader.next(line)) streamed.append(line.toString());
        EXPECT_FALSE(reader.failed()) << c.name;
        EXPECT_EQ(streamed, whole) << c.name;
    }
    EXPECT_FALSE(TextLineReader(tmp.file("missing.txt")).ok());
    EXPECT_FALSE(TextLineReader(tmp.path()).ok()) << "a folder is no text file";
}

TEST(TextFileWriter, CodePage932OrUtf8WithByteOrderMark) {
    TempFolder tmp;
    TextEncoding used = TextEncoding::Utf16LE;
    const QStringList japanese{QStringLiteral("作品"), "a\\b"};
    ASSERT_TRUE(writeTextLines(tmp.file("j.txt"), japanese, true, &used));
    EXPECT_EQ(used, TextEncoding::Cp932);
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(tmp.file("j.txt"), bytes));
    EXPECT_EQ(bytes, encodeCp932(QStringLiteral("作品")) + "\r\na\\b\r\n");

    const QStringList korean{QStringLiteral("한국어"), QStringLiteral("作品")};
    ASSERT_TRUE(writeTextLines(tmp.file("k.txt"), korean, true, &used));
    EXPECT_EQ(used, TextEncoding::Utf8Bom);
    ASSERT_TRUE(readFileBytes(tmp.file("k.txt"), bytes));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList back;
    ASSERT_TRUE(readTextLines(tmp.file("k.txt"), back));
    EXPECT_EQ(back, korean);

    // Refusing the fallback leaves an existing file as it was.
    EXPECT_FALSE(writeTextLines(tmp.file("j.txt"), korean, false));
    ASSERT_TRUE(readTextLines(tmp.file("j.txt"), back));
    EXPECT_EQ(back, japanese);
}

TEST(MemoryError, ShowsTheSiteAndEndsThroughTheExitHandler) {
    struct Ended {
        int status;
    };
    RecordingCheckSink sink;
    ScopedCheckSink scoped(&sink);
    const ExitHandler previous = setExitHandler([](int status) { throw Ended{status}; });
    int status = -1;
    try {
        memoryError(114);
    } catch (const Ended& e) {
        status = e.status;
    }
    setExitHandler(previous);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text,
              QStringLiteral("メモリーエラーが発生しました！ ( 114 )　再起動してください。"));
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("ヴィモラアート"));
    EXPECT_EQ(sink.records[0].style, 0);
}

TEST(NumberText, WholeValuesAsIntegersOthersWithSixDecimals) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {3, "3"},
        {-2, "-2"},
        {0, "0"},
        {-0.0, "0"},
        {1.5, "1.500000"},
        {-0.25, "-0.250000"},
        {1234567890123.0, "1234567890123"},
        {0.0000004, "0.000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(numberText(c.value), c.text) << c.value;
}

// Switches the C library to a locale whose decimal separator is "," for one test, compiling
// one into a temporary folder when the machine has none installed.
class CommaLocale : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (std::setlocale(LC_NUMERIC, name)) return;
        const int built =
            QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", tmp_.file("de_DE.UTF-8")});
        if (built == 0) {
            qputenv("LOCPATH", tmp_.path().toLocal8Bit());
            if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return;
        }
        GTEST_SKIP() << "no locale with a decimal comma can be made here";
    }
    void TearDown() override {
        std::setlocale(LC_ALL, saved_.c_str());
        qunsetenv("LOCPATH");
    }

  private:
    std::string saved_;
    TempFolder tmp_;
};

TEST_F(CommaLocale, NumbersStillUseThePoint) {
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(std::strtod("1.5", nullptr), 1.0); // the C library now stops at the point
    qsizetype used = 0;
    EXPECT_EQ(parseLeadingNumber(u"1.5", &used), 1.5);
    EXPECT_EQ(used, 3);
    EXPECT_EQ(parseLeadingNumber(u"  -2.5e1xyz", &used), -25.0);
    EXPECT_EQ(used, 8);
    EXPECT_EQ(parseLeadingNumber(u"1,5", &used), 1.0);
    EXPECT_EQ(used, 1);
    EXPECT_EQ(numberText(1.5), "1.500000");
    EXPECT_EQ(sizeText(1536), "1.50k");
}
