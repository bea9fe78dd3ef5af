// The sample charts of the bundled home folder are made here, by the chart edits and the
// program's own writer, so that their format is exactly what the program writes. The test builds
// them afresh and compares them byte for byte with the files in home/uchuu/nebu; with
// VIMORA_WRITE_SAMPLES=1 in the environment it writes them there instead.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/ChartEdits.h"
#include "universe/ChartList.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr uint64_t kStamp = 20261210090000; // fixed, so that the files do not change by the day

struct Node {
    int depth;
    bool galaxy;
    const char* name;
    const char* meta; // "" for none
};

// The tour of the gallery: its groups as galaxies, their works as stars with a page each. File
// names in pages are relative to the work folder (home/uchuu/).
const Node kGalleryTour[] = {
    {1, false, "ご案内", "420,150,0,text:ヴィモラアートの作品をグループごとにめぐります。名前の後ろの記号を押すと説明のページが開きます。「メタツアー」で順に見て回れます。"},
    {1, true, "はじめの一歩", "360,170,0,tbl0:2,4,FFFF80,またたく星,三こまの星,80FF80,ごあいさつ,日本語の命令語,80FFFF,はずむボール,重力と床,FF80FF,絵本の猫,二枚の絵で歩く"},
    {2, false, "またたく星", "360,110,0,text:三こまの星が夜空のあちこちでまたたきます。音楽も流れます。"},
    {2, false, "ごあいさつ", "360,110,0,text:日本語の命令語で書いた作品です。プログラムを開くと命令の形がわかります。"},
    {2, false, "はずむボール", "360,110,0,text:重力で落ちて床ではね、少しずつ弱まっていきます。"},
    {2, false, "絵本の猫", "240,200,0,2,imag:../hajime/neko1.bmp"},
    {1, true, "動きの部屋", "360,120,0,html:<body bgcolor='#102040'><font color='#ffffff'><b>動きの部屋</b><br/>目的地・回転・泳ぎ・奥行きの四つの動き方</font></body>"},
    {2, false, "目的地へ", "360,110,0,text:矢印が四すみの目的地を順にめぐります。"},
    {2, false, "回る風車", "360,110,0,text:羽根が速くなり、やがてゆっくり止まります。"},
    {2, false, "泳ぐ魚", "360,110,0,text:二こまの魚が水槽の端で向きを変え、泡をはきます。"},
    {2, false, "宇宙の旅", "360,110,0,text:星の設定を読み込み、カメラを流しながら奥行きを進みます。"},
    {1, true, "練習帳", "420,260,0,tbl0:2,9,FFFFFF,数え歌,一から十まで,FFFFFF,色の移り変わり,パレット,FFFFFF,データの点,Data 文,FFFF80,倉庫番,荷物を押す,FFFF80,ピットマン,金塊集め,FFFF80,迷路,左手と右手,80FFFF,数独,九つの枠,80FFFF,数リンク,線でつなぐ,80FFFF,二角取り,牌を取る"},
    {2, false, "倉庫番", "360,110,0,text:荷物を印の上まで押します。まず見本を見せ、そのあと「プレイ」で遊べます。"},
    {2, false, "迷路", "360,110,0,text:赤は左手、青は右手を壁につけて出口を探します。紫の鬼は赤を追いかけます。"},
    {2, false, "数独", "360,110,0,text:人形が答えを書き込んだあと、「プレイ」で自分で解けます。"},
    {1, true, "形と力", "360,150,0,html:<body bgcolor='#000040'><img src='../hajime/neko2.bmp' align='left'/><font color='#ffff40'>輪・立方体・電荷・分子・メタボールの五つの作品</font></body>"},
    {2, false, "輪の踊り", "360,110,0,text:輪と多角形とリサージュ図形が踊ります。"},
    {2, false, "回る立方体", "360,110,0,text:線だけの姿と陰のついた姿で回ります。"},
    {2, false, "引き合う電荷", "360,110,0,text:中心のマイナスの電荷に引かれて点がまわります。"},
    {2, false, "分子の玉突き", "360,110,0,text:重さのちがう分子がぶつかり合い、はね返ります。"},
    {2, false, "溶け合う玉", "360,110,0,3,text:近づいた玉の密度が足し合わされ、ひとつの形に溶け合います。"},
    {1, true, "ファイルの宇宙", ""},
    {2, false, "作品フォルダーの宇宙", "360,110,0,text:作品のフォルダーをファイル宇宙の木として見せます。"},
    {2, false, "星座データの宇宙", "360,110,0,text:作品といっしょに届いた星座データを読み込んで見せます。"},
};

// How charts are made: one page per command of the chart popup.
const Node kChartHowTo[] = {
    {1, false, "チャートとは", "420,130,0,text:ドライブを表さない星座データです。星や銀河は好きなものを表し、名前の後ろの記号からページを開きます。"},
    {1, true, "作り方", "420,210,0,tbl0:2,6,FFFF80,同階層,次の星を足す,FFFF80,下階層,中に星を足す,80FFFF,削除,星を中ごと消す,80FFFF,名の変更,名前を書き換える,FF80FF,変換,星と銀河を切り替える,FF80FF,階層の変更,中の星ごと動かす"},
    {2, false, "星の追加", "360,120,0,text:右クリックの「「星」の追加」で、今の星のすぐ後ろ（同階層）か中（下階層）に new という星ができます。"},
    {2, false, "階層の変更", "360,120,0,text:星は中の星ごと動きます。前の星より深すぎる階層は、置ける階層に直されます。"},
    {2, false, "保存", "360,120,0,text:変えたチャートは「S」で保存します。保存しないで閉じようとすると、保存するか尋ねます。"},
    {1, false, "チャート一覧", "360,120,0,text:nebu/chart.txt に「見出し,ファイル名」を一行ずつ、十六まで書くと一覧に並びます。"},
};

// Builds the chart from `nodes` through the chart edits alone (the metadata as the
// metadata editor leaves it), in list order.
template <std::size_t N> void buildChart(treeInfo& tree, const Node (&nodes)[N]) {
    fileInfo* previous = tree.root();
    for (const Node& n : nodes) {
        // A node at a shallower level follows the content of the galaxy it shares that level with.
        while (previous->depth > n.depth) previous = previous->parent;
        tree.current = previous;
        fileInfo* added = addChartStar(tree, n.depth > previous->depth ? ChartLevel::Below : ChartLevel::Same, kStamp);
        ASSERT_NE(added, nullptr) << n.name;
        tree.current = added;
        ASSERT_TRUE(renameChartNode(tree, QString::fromUtf8(n.name)));
        if (n.galaxy) ASSERT_TRUE(toggleChartGalaxy(tree));
        if (*n.meta) {
            added->meta = std::make_unique<metaInfo>(QString::fromUtf8(n.meta));
            ASSERT_EQ(added->meta->errors, 0u) << n.name;
            added->size = static_cast<uint64_t>(added->meta->text.size());
        }
        previous = added;
    }
    tree.sumSizes();
}

class ChartSampleTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    const QString home = QString::fromLocal8Bit(qgetenv("VIMORA_HOME"));
    const QString work = home + QStringLiteral("/uchuu/");
    const bool writing = qgetenv("VIMORA_WRITE_SAMPLES") == "1";
    TempFolder scratch;

    // Writes the chart to the home folder when asked to, else beside the test, and compares.
    template <std::size_t N> void makeChart(const QString& rootName, const Node (&nodes)[N], const QString& file) {
        treeInfo tree(rootName, QString());
        ASSERT_TRUE(tree.chartMode);
        buildChart(tree, nodes);
        const QString target = writing ? work + file : scratch.file(QStringLiteral("made.nebu"));
        if (writing) ASSERT_TRUE(makeFolders(work + QStringLiteral("nebu")));
        ASSERT_TRUE(writeConstellation(tree, target));
        QByteArray made, committed;
        ASSERT_TRUE(readFileBytes(target, made));
        ASSERT_TRUE(readFileBytes(work + file, committed)) << "set VIMORA_WRITE_SAMPLES=1 to write " << file.toStdString();
        EXPECT_EQ(made, committed) << file.toStdString() << " is not what the program writes";
    }
};

TEST_F(ChartSampleTest, TheBundledChartsAreWhatTheProgramWrites) {
    ASSERT_FALSE(home.isEmpty());
    makeChart(QStringLiteral("ギャラリーめぐり"), kGalleryTour, QStringLiteral("nebu/gallery.nebu"));
    makeChart(QStringLiteral("チャートの作り方"), kChartHowTo, QStringLiteral("nebu/howto.nebu"));

    const QStringList listLines{QStringLiteral("ギャラリーめぐり,nebu/gallery.nebu"), QStringLiteral("チャートの作り方,nebu/howto.nebu"),
                                QStringLiteral("星の図書館,seiza.nebu")};
    const QString listFile = writing ? work + ChartList::kFile : scratch.file(QStringLiteral("chart.txt"));
    ASSERT_TRUE(writeTextLines(listFile, listLines, false));
    QByteArray made, committed;
    ASSERT_TRUE(readFileBytes(listFile, made));
    ASSERT_TRUE(readFileBytes(work + ChartList::kFile, committed));
    EXPECT_EQ(made, committed);
    EXPECT_TRUE(sink.records.empty());
}

// Every chart of the bundled list opens as a chart, with pages whose files are in the home folder.
TEST_F(ChartSampleTest, EveryListedChartReadsAsAChartWithValidPages) {
    const ChartList list = ChartList::read(work);
    ASSERT_EQ(list.entries.size(), 3u);
    for (int i = 0; i < static_cast<int>(list.entries.size()); ++i) {
        treeInfo tree(QStringLiteral("x"), work);
        ASSERT_TRUE(readConstellation(tree, list.chartPath(i, work), nullptr)) << list.entries[i].file.toStdString();
        EXPECT_TRUE(tree.chartMode);
        for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
            if (!n->meta) continue;
            EXPECT_EQ(n->meta->errors, 0u) << n->name().toStdString();
            if (n->meta->dataKind == 5) EXPECT_TRUE(fileExists(work + n->meta->text.mid(n->meta->data + 5))) << n->name().toStdString();
        }
    }
    for (const RecordingCheckSink::Record& r : sink.records) ADD_FAILURE() << r.text.toStdString();
}

} // namespace
