#include "KeywordTables.h"

#include <array>

namespace {

KeywordEntry attributes[] = {
    {u"X", u"位置X"}, {u"Y", u"位置Y"}, {u"Z", u"位置Z"},
    {u"vX", u"速度X"}, {u"vY", u"速度Y"}, {u"vZ", u"速度Z"},
    {u"aX", u"加速度X"}, {u"aY", u"加速度Y"}, {u"aZ", u"加速度Z"},
    {u"angleX", u"角度X"}, {u"angleY", u"角度Y"}, {u"angleZ", u"角度Z"}, {u"angle", u"角度"},
    {u"rotaX", u"角速度X"}, {u"rotaY", u"角速度Y"}, {u"rotaZ", u"角速度Z"}, {u"rota", u"角速度"},
    {u"zoomX", u"拡大X"}, {u"zoomY", u"拡大Y"}, {u"zoomZ", u"拡大Z"},
    {u"multX", u"繰返X"}, {u"multY", u"繰返Y"}, {u"multZ", u"繰返Z"},
    {u"minX", u"最小X"}, {u"minY", u"最小Y"}, {u"minZ", u"最小Z"},
    {u"maxX", u"最大X"}, {u"maxY", u"最大Y"}, {u"maxZ", u"最大Z"},
    {u"eX", u"反発X"}, {u"eY", u"反発Y"}, {u"eZ", u"反発Z"},
    {u"ghostX", u"ゴーストX"}, {u"ghostY", u"ゴーストY"}, {u"ghostZ", u"ゴーストZ"}, {u"ghost", u"ゴースト"},
    {u"balloonX", u"バルーンX"}, {u"balloonY", u"バルーンY"}, {u"balloonZ", u"バルーンZ"},
    {u"balloon", u"バルーン", 0},
    {u"dir", u"方向"}, {u"disp", u"表示"}, {u"reverse", u"反転"}, {u"mode", u"モード"}, {u"text", u"テキスト"},
    {u"gotoX", u"目的X"}, {u"gotoY", u"目的Y"}, {u"gotoZ", u"目的Z"},
    {u"rX", u"抵抗X"}, {u"rY", u"抵抗Y"}, {u"rZ", u"抵抗Z"},
    {u"rsftX", u"軸シフトX"}, {u"rsftY", u"軸シフトY"}, {u"rsftZ", u"軸シフトZ"},
    {u"Maze", u"迷路"}, {u"Chaser", u"追いかけっこ"}, {u"Sudoku", u"数独"}, {u"Nikaku", u"二角取り"},
    {u"Soukoban", u"倉庫番"}, {u"NumLink", u"数リンク"}, {u"SetVal", u"値設定"}, {u"LifeTime", u"生存時間"},
    {u"Charge", u"電荷"}, {u"Color", u"色"}, {u"bgColor", u"背景色"}, {u"Font", u"フォント"},
    {u"Center", u"中央"}, {u"max", u"最大"}, {u"dim", u"配列"}, {u"colorSft", u"色シフト"},
    {u"pitman", u"ピットマン"},
};

KeywordEntry kinds[] = {
    {u"BitMap", u"ビットマップ"}, {u"DotPtn", u"ドットパタン"}, {u"Maze", u"迷路"}, {u"Sudoku", u"数独"},
    {u"Nikaku", u"二角取り"}, {u"Soukoban", u"倉庫番"}, {u"NumLink", u"数リンク"}, {u"Message", u"メッセージ"},
    {u"MetaBall", u"メタボール"}, {u"MetaCube", u"メタキューブ"}, {u"Molecule", u"分子"}, {u"Coulomb", u"クーロン"},
    {u"nebu", u"ネブ"}, {u"startrek", u"スタートレック"}, {u"metaRing", u"メタリング"}, {u"pitman", u"ピットマン"},
};

KeywordEntry settings[] = {
    {u"AcmdTime", u"コマンド時間"}, {u"AnimeTime", u"アニメ時間"}, {u"BgColor", u"背景色"},
    {u"Camera", u"カメラ"}, {u"Canvas", u"キャンバス"}, {u"Color", u"色"}, {u"Frame", u"額縁"},
    {u"FramePtn", u"額縁パタン"}, {u"Load", u"読込"}, {u"Theme", u"題"}, {u"TimeFlow", u"時間流"},
    {u"ViewPoint", u"視点"}, {u"Wait", u"時間待"}, {u"WallColor", u"壁色"}, {u"Window", u"表示窓"},
    {u"WinRotation", u"ウィンドウ回転"}, {u"Wzoom", u"全拡大"}, {u"Data", u"データ"},
    {u"metaChart", u"メタチャート"}, {u"Music", u"ミュージック"},
};

KeywordEntry blocks[] = {
    {u"Anime_Set", u"アニメ設定"}, {u"Set_End", u"設定終了"}, {u"Acmd_Run", u"Acmd実行"},
    {u"Acmd_End", u"Acmd終了"}, {u"Anime_Add", u"アニメ追加"}, {u"Add_End", u"追加終了"},
    {u"NonStop_Set", u"無停止開始"}, {u"NonStop_End", u"無停止終了"},
};

KeywordEntry functions[] = {
    {u"abs", {}}, {u"sin", {}}, {u"cos", {}}, {u"tan", {}}, {u"sqr", {}},
    {u"int", {}}, {u"rand", {}}, {u"getval", {}}, {u"read", {}},
};

KeywordEntry controls[] = {
    {u"for", {}}, {u"to", {}}, {u"step", {}}, {u"next", {}},
    {u"if", {}}, {u"then", {}}, {u"else", {}}, {u"endif", {}},
};

static_assert(std::size(attributes) == Attr::Count && std::size(kinds) == Kind::Count &&
              std::size(settings) == Setting::Count);

const std::array<std::span<KeywordEntry>, KeywordTableCount> tables = {
    std::span<KeywordEntry>(attributes), std::span<KeywordEntry>(kinds), std::span<KeywordEntry>(settings),
    std::span<KeywordEntry>(blocks), std::span<KeywordEntry>(functions), std::span<KeywordEntry>(controls),
};

} // namespace

std::span<KeywordEntry> keywordTable(int table) {
    if (table < 0 || table >= KeywordTableCount) return {};
    return tables[table];
}

char16_t keywordCode(int table, int index) {
    if (table == TableFunctions) return static_cast<char16_t>(code::FunctionFirst + index);
    if (table == TableControls) return static_cast<char16_t>(code::For + index);
    return static_cast<char16_t>(code::AttrFirst + table * 0x100 + index);
}

const KeywordEntry* keywordOfCode(char16_t c) {
    int table = -1;
    int index = 0;
    if (c >= code::For && c <= code::Endif) {
        table = TableControls;
        index = c - code::For;
    } else if (isFunctionCode(c)) {
        table = TableFunctions;
        index = c - code::FunctionFirst;
    } else if (c >= code::AttrFirst && c < code::BlockFirst + 0x100) {
        table = (c - code::AttrFirst) >> 8;
        index = c & 0xFF;
    }
    if (table < 0 || index >= static_cast<int>(tables[table].size())) return nullptr;
    return &tables[table][index];
}
