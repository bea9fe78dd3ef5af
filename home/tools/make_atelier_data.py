#!/usr/bin/env python3
"""Writes the Atelier's command reference home/atelier/help_cmd.txt (code page 932, CR LF).

The keyword list comes from the six tables in src/script/KeywordTables.cpp, so a keyword added
there without a description here stops this script instead of leaving a blank row.
A description's '|' starts a further line; a line that begins with 'r' is drawn right-aligned.
Run from anywhere: python3 home/tools/make_atelier_data.py
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TABLES = ["attributes", "kinds", "settings", "blocks", "functions", "controls"]

AXIS = {"X": "横（右が正）", "Y": "縦（上が正）", "Z": "奥行き（手前が正）"}

def axis_set(stem, text):
    return {stem + a: text.format(axis=AXIS[a], a=a) for a in "XYZ"}

DESCRIPTIONS = [
    # 0: attributes (character.attribute = value)
    dict(
        **axis_set("", "=値|キャラクターの{axis}の位置。単位は 1/10 ピクセル"),
        **axis_set("v", "=値|{axis}方向の速度。毎フレーム位置に加わります"),
        **axis_set("a", "=値|{axis}方向の加速度。毎フレーム速度に加わります"),
        **axis_set("angle", "=度|{a}軸まわりの回転角度"),
        angle="=度|画面の中での回転角度（Z軸まわり）",
        **axis_set("rota", "=度|{a}軸まわりの角速度。毎フレーム角度に加わります"),
        rota="=度|画面の中での角速度。毎フレーム角度に加わります",
        **axis_set("zoom", "=百分率|{a}方向の拡大率。100 で原寸"),
        **axis_set("mult", "=個数|{a}方向に同じ絵を並べて繰り返す数"),
        **axis_set("min", "=値|{axis}の動ける範囲の下限|r範囲の端では反発係数で跳ね返ります"),
        **axis_set("max", "=値|{axis}の動ける範囲の上限|r範囲の端では反発係数で跳ね返ります"),
        **axis_set("e", "=百分率|{a}方向の範囲の端での反発係数。100 で同じ速さで跳ね返ります"),
        **axis_set("ghost", "=個数|{a}方向に残す残像の数"),
        ghost="=個数|動いた跡に残す残像の数",
        **axis_set("balloon", "=百分率|{a}方向に膨らんだり縮んだりする割合"),
        balloon="=百分率|全体が膨らんだり縮んだりする割合",
        dir="=番号|絵の向き（フレーム番号の選び方）",
        disp="=0/1|表示するか（1）隠すか（0）",
        reverse="=0/1|絵を左右に反転して表示します",
        mode="=番号|キャラクターの種類ごとの動作モード",
        text="=\"文字\"|メッセージとして表示する文字列",
        **axis_set("goto", "=値|{axis}の目的地。そこへ向かって進みます"),
        **axis_set("r", "=百分率|{a}方向の空気抵抗。速度が毎フレーム少しずつ減ります"),
        **axis_set("rsft", "=値|回転の軸を{axis}にずらす量"),
        Maze="=値|迷路の盤に値を渡します",
        Chaser="=値|追いかけっこの鬼の動きを決めます",
        Sudoku="=値|数独の盤に値を渡します",
        Nikaku="=値|二角取りの盤に値を渡します",
        Soukoban="=値|倉庫番の盤に値を渡します",
        NumLink="=値|数リンクの盤に値を渡します",
        SetVal="=番号,値|キャラクターの値の欄（0～31）に書き込みます",
        LifeTime="=フレーム数|この数だけ表示したあと消えます",
        Charge="=値|クーロン力で使う電荷。正と負で引き合います",
        Color="=色番号|キャラクターの色。パレットの番号で指定します",
        bgColor="=色番号|キャラクターの背景の色",
        Font="=大きさ|メッセージの文字の大きさ",
        Center="=0/1|絵の中心を位置に合わせます",
        max="=値|値の上限",
        dim="(番号)=値|キャラクターの配列の値（0～31）",
        colorSft="=値|色番号を毎フレームずらして色を巡らせます",
        pitman="=値|ピットマンの盤に値を渡します",
    ),
    # 1: kinds of character (declared in the ANIME_SET block)
    dict(
        BitMap=":名前,ファイル名,枚数|BMP画像のフレームでできたキャラクター|r左上の色が透明色になります",
        DotPtn=":名前,幅,高さ|16進数の行で描くドット絵のキャラクター|r次の行から点の並びを書きます",
        Maze=":名前,幅,高さ|迷路の盤。追いかけっこもできます",
        Sudoku=":名前|数独の盤。次の行から問題を書きます",
        Nikaku=":名前|二角取り（牌をつなげて取るゲーム）の盤",
        Soukoban=":名前|倉庫番の盤。次の行から面の地図を書きます|r実演のあとで遊べます",
        NumLink=":名前|数リンク（同じ数を線で結ぶパズル）の盤",
        Message=":名前,\"文字\"|文字を表示するキャラクター",
        MetaBall=":名前|溶け合う玉（メタボール）",
        MetaCube=":名前|立方体の立体図形",
        Molecule=":名前|分子の模型",
        Coulomb=":名前|電荷をもつ粒子。引き合い反発し合います",
        nebu=":名前,フォルダー|ファイルの宇宙（NEBU）の窓をアニメの中に開きます",
        startrek=":名前,フォルダー|ファイルの宇宙を旅するスタートレックの窓",
        metaRing=":名前|輪の立体図形",
        pitman=":名前|ピットマン（金を集めるゲーム）の盤",
    ),
    # 2: canvas settings
    dict(
        AcmdTime=":ミリ秒|命令を１行ずつ実行する間隔（10～10000）",
        AnimeTime=":ミリ秒|アニメのフレームの間隔",
        BgColor=":赤,緑,青|キャンバスの背景色（各 0～255）",
        Camera=":属性=値,…|カメラの位置と向き",
        Canvas=":左,上,幅,高さ|キャンバスの位置と大きさ|r center,幅,高さ で中央、max で最大",
        Color=":色番号,赤,緑,青|パレットの色を決めます",
        Frame=":幅,赤,緑,青|額縁の幅と色",
        FramePtn=":幅,高さ|額縁の模様。次の行から点の並びを書きます",
        Load=":ファイル名|アニメデータ（.anim）を読み込みます",
        Theme=":\"題名\"|作品の題名",
        TimeFlow=":ミリ秒|時間の流れる速さ（アニメ時間と同じ）",
        ViewPoint=":距離|遠近法の視点までの距離",
        Wait=":ミリ秒|しばらく待ちます",
        WallColor=":赤,緑,青|ギャラリーの壁の色",
        Window=":左,上,幅,高さ|表示窓の位置と大きさ（キャンバスと同じ書式）",
        WinRotation=":属性=値,…|窓全体の回転",
        Wzoom=":倍率|ドットを拡大して表示します",
        Data=":個数,ファイル名|read で読むデータ。ファイル名がなければ次の行から",
        metaChart=":番号,ファイル名|作品のメタチャート",
        Music=":回数,ファイル名|作品の音楽を流します",
    ),
    # 3: setting commands (blocks)
    dict(
        Anime_Set="アニメ設定の始まり。SET_END: までにキャラクターを並べます",
        Set_End="アニメ設定の終わり",
        Acmd_Run="ここから Acmd_End: までを実行します",
        Acmd_End="実行の終わり",
        Anime_Add="キャラクターを追加する設定の始まり",
        Add_End="追加の設定の終わり",
        NonStop_Set="ここから止まらずに続けて実行します",
        NonStop_End="止まらない実行の終わり",
    ),
    # 4: functions
    dict(
        abs="(x)|絶対値（整数に切り捨ててから）",
        sin="(度)|正弦",
        cos="(度)|余弦",
        tan="(度)|正接",
        sqr="(x)|平方根",
        int="(x)|小数点以下を切り捨てた整数",
        rand="(x)|0 から x までの乱数",
        getval="(番号)|値の欄（0～16）の値",
        read="(番号)|Data で読んだ値",
    ),
    # 5: control statements
    dict(
        **{"for": " $i=1 to 10 step 1|繰り返しの始まり",
           "to": " 終わりの値|for の繰り返しの終わりの値",
           "step": " 増分|for の１回ごとの増分（省略すると 1）",
           "next": "繰り返しの終わり。for に戻ります",
           "if": " 条件 then|条件が成り立つときだけ実行します",
           "then": "if の条件のあとに書きます",
           "else": "if の条件が成り立たないときの始まり",
           "endif": "if の終わり"}),
]


def keywords():
    text = open(os.path.join(ROOT, "src/script/KeywordTables.cpp"), encoding="utf-8").read()
    result = []
    for name in TABLES:
        body = re.search(r"KeywordEntry " + name + r"\[\] = \{(.*?)\n\};", text, re.S).group(1)
        result.append(re.findall(r'\{u"([^"]+)"', body))
    return result


def main():
    lines = []
    missing = []
    for table, names in enumerate(keywords()):
        for name in names:
            description = DESCRIPTIONS[table].get(name)
            if description is None:
                missing.append(f"{table}:{name}")
                continue
            separator = "" if description[:1] in "(:= " else " "
            lines.append(f"{table},{name}{separator}{description}")
    if missing:
        sys.exit("no description for " + ", ".join(missing))
    path = os.path.join(ROOT, "home/atelier/help_cmd.txt")
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp932"))
    print(f"{len(lines)} keywords written to {path}")


if __name__ == "__main__":
    main()
