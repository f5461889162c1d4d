#include "app/CommandTable.h"

#include <algorithm>
#include <array>

#include "resources/CommandIds.h"

namespace {

using enum CommandMark;

// Radio groups.
constexpr int FaceGroup = 1;
constexpr int ToolGroup = 2;
constexpr int PreviewGroup = 3;

// clang-format off
constexpr COMMAND_INFO Commands[] = {
    // File and application.
    {ID_FILE_NEW, u"新規作成(&N)\tCtrl+N", u"新しいドキュメントを作成", u"新規作成", "Ctrl+N"},
    {ID_FILE_OPEN, u"開く(&O)...\tCtrl+O", u"既存のドキュメントを開く", u"開く", "Ctrl+O"},
    {ID_FILE_SAVE, u"上書き保存(&S)\tCtrl+S", u"開いているドキュメントを上書き保存", u"上書き保存", "Ctrl+S"},
    {ID_FILE_SAVE_AS, u"名前を付けて保存(&A)...", u"開いているドキュメントに名前を付けて保存", u"名前を付けて保存"},
    {ID_GENERATE_MODEL, u"モデル生成(&G)...", u"PMDファイルを生成", u"モデル生成"},
    {ID_FILE_MRU_FILE1, u"最近使ったファイル", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 1, u"最近使ったファイル 2", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 2, u"最近使ったファイル 3", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 3, u"最近使ったファイル 4", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 4, u"最近使ったファイル 5", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 5, u"最近使ったファイル 6", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 6, u"最近使ったファイル 7", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 7, u"最近使ったファイル 8", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 8, u"最近使ったファイル 9", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_FILE_MRU_FILE1 + 9, u"最近使ったファイル 10", u"このドキュメントを開く", u"最近使ったファイル"},
    {ID_APP_EXIT, u"アプリケーションの終了(&X)", u"アプリケーションを終了し、ドキュメントの保存を確認", u"終了"},
    {ID_APP_ABOUT, u"バージョン情報(&A)...", u"プログラムの情報、バージョン番号を表示", u"バージョン情報"},

    // Edit.
    {ID_EDIT_UNDO, u"元に戻す(&U)\tCtrl+Z", u"直前の操作を元に戻す", u"元に戻す", "Ctrl+Z;Alt+Backspace"},
    {ID_EDIT_REDO, u"やり直し(&R)\tCtrl+Y", u"元に戻した操作をやり直す", u"やり直し", "Ctrl+Y"},
    {ID_EDIT_CUT, u"切り取り(&T)\tCtrl+X", u"選択範囲を切り取ってクリップボードに移動", u"切り取り", "Ctrl+X;Shift+Del"},
    {ID_EDIT_COPY, u"コピー(&C)\tCtrl+C", u"選択範囲をクリップボードにコピー", u"コピー", "Ctrl+C;Ctrl+Ins"},
    {ID_EDIT_PASTE, u"貼り付け(&P)\tCtrl+V", u"クリップボードの内容を貼り付け", u"貼り付け", "Ctrl+V;Shift+Ins"},
    // Delete has no accelerator: the views send it for their own Delete key.
    {ID_EDIT_CLEAR, u"削除(&D)\tDel", u"選択範囲を削除", u"削除"},
    {ID_EDIT_SELECT_ALL, u"すべて選択(&A)\tCtrl+A", u"スライス全体を選択", u"すべて選択", "Ctrl+A"},
    {ID_DOT_ROTATE_RIGHT, u"右回転(&R)", u"選択範囲を右に90度回転", u"右回転"},
    {ID_DOT_ROTATE_LEFT, u"左回転(&L)", u"選択範囲を左に90度回転", u"左回転"},
    {ID_DOT_ROTATE_180, u"180度回転(&O)", u"選択範囲を180度回転", u"180度回転"},
    {ID_DOT_FLIP_VERTICAL, u"上下反転(&V)", u"選択範囲を上下に反転", u"上下反転"},
    {ID_DOT_FLIP_HORIZONTAL, u"左右反転(&H)", u"選択範囲を左右に反転", u"左右反転"},
    {ID_DOT_DIVIDE, u"分割(&D)", u"選択範囲を新しい子部品に分ける", u"分割"},

    // View.
    {ID_VIEW_TOOLBAR, u"ツール バー(&T)", u"ツール バーの表示/非表示", u"ツール バー", {}, Check},
    {ID_VIEW_STATUS_BAR, u"ステータス バー(&S)", u"ステータス バーの表示/非表示", u"ステータス バー", {}, Check},
    {ID_VIEW_FRONT, u"前面(&F)\tCtrl+Shift+F", u"前の面を表示", u"前面", "Ctrl+Shift+F;Ctrl+Num+2", Radio, FaceGroup},
    {ID_VIEW_BACK, u"後面(&B)\tCtrl+Shift+B", u"後ろの面を表示", u"後面", "Ctrl+Shift+B;Ctrl+Num+8", Radio, FaceGroup},
    {ID_VIEW_LEFT, u"左面(&L)\tCtrl+Shift+L", u"左の面を表示", u"左面", "Ctrl+Shift+L;Ctrl+Num+6", Radio, FaceGroup},
    {ID_VIEW_RIGHT, u"右面(&R)\tCtrl+Shift+R", u"右の面を表示", u"右面", "Ctrl+Shift+R;Ctrl+Num+4", Radio, FaceGroup},
    {ID_VIEW_TOP, u"上面(&T)\tCtrl+Shift+T", u"上の面を表示", u"上面", "Ctrl+Shift+T;Ctrl+Num+5", Radio, FaceGroup},
    {ID_VIEW_BOTTOM, u"下面(&O)\tCtrl+Shift+O", u"下の面を表示", u"下面", "Ctrl+Shift+O;Ctrl+Num+0", Radio, FaceGroup},
    {ID_VIEW_DEEPER, u"奥へ(&S)\tCtrl+↑", u"奥の面を表示", u"奥へ", "Ctrl+Up"},
    {ID_VIEW_NEARER, u"手前へ(&A)\tCtrl+↓", u"手前の面を表示", u"手前へ", "Ctrl+Down"},
    {ID_PREVIEW_PART, u"部品(&P)\tCtrl+P", u"選択された部品のみ表示", u"部品表示", "Ctrl+P", Radio, PreviewGroup},
    {ID_PREVIEW_MODEL, u"モデル全体(&M)\tCtrl+M", u"モデル全体を表示", u"全体表示", "Ctrl+M", Radio, PreviewGroup},
    // Camera presets of the model preview: keypad keys only, no menu item.
    {ID_CAMERA_FRONT, u"前から見る", u"モデルを前から見る", u"前から見る", "Num+2"},
    {ID_CAMERA_BACK, u"後ろから見る", u"モデルを後ろから見る", u"後ろから見る", "Num+8"},
    {ID_CAMERA_RIGHT, u"左から見る", u"モデルを左から見る", u"左から見る", "Num+6"},
    {ID_CAMERA_LEFT, u"右から見る", u"モデルを右から見る", u"右から見る", "Num+4"},
    {ID_CAMERA_TOP, u"上から見る", u"モデルを上から見る", u"上から見る", "Num+5"},
    {ID_CAMERA_BOTTOM, u"下から見る", u"モデルを下から見る", u"下から見る", "Num+0"},

    // Tools.
    {ID_TOOL_SELECT, u"選択(&S)", u"範囲を選択", u"選択", {}, Radio, ToolGroup},
    {ID_TOOL_PENCIL, u"鉛筆ツール(&N)", u"ドットを描く", u"鉛筆ツール", {}, Radio, ToolGroup},
    {ID_TOOL_LINE, u"直線ツール(&L)", u"直線を描く", u"直線ツール", {}, Radio, ToolGroup},
    {ID_TOOL_RECTANGLE, u"矩形ツール(&R)", u"矩形を描く", u"矩形ツール", {}, Radio, ToolGroup},
    {ID_TOOL_FILLED_RECTANGLE, u"塗りつぶし矩形ツール(&F)", u"塗りつぶした矩形を描く", u"塗りつぶし矩形ツール", {}, Radio, ToolGroup},
    {ID_TOOL_PAINT, u"塗りつぶしツール(&P)", u"つながった同じ色の範囲を塗りつぶす", u"塗りつぶしツール", {}, Radio, ToolGroup},
    {ID_TOOL_SPOIT, u"色の選択ツール(&C)", u"クリックしたドットの色を描画色にする", u"色の選択ツール", {}, Radio, ToolGroup},

    // Dots and the document's settings.
    {ID_SET_COLOR1, u"色&1の設定...", u"色1の色と材質を設定", u"色1の設定"},
    {ID_SET_COLOR2, u"色&2の設定...", u"色2の色と材質を設定", u"色2の設定"},
    {ID_ALL_MATERIAL, u"全て材質(&M)", u"全ての色を材質、または全てをテクスチャにする", u"全て材質"},
    {ID_EDGE, u"エッジ(&E)", u"生成するモデルの材質にエッジを付ける", u"エッジ", {}, Check},
    {ID_DOT_SIZE, u"ドットの大きさ(&D)...", u"モデルでのドットの大きさを設定", u"ドットの大きさ"},
    {ID_BACKGROUND_COLOR, u"背景色(&C)...", u"プレビューの背景色を設定", u"背景色"},

    // Parts.
    {ID_PART_NEW, u"新規部品(&N)", u"新しい部品を追加", u"新規部品"},
    {ID_PART_STANDARD_BONES, u"定型ボーン(&S)...", u"よくあるボーンを追加", u"定型ボーン"},
    {ID_PART_RENAME, u"名前の変更(&A)\tF2", u"部品の名前を変更", u"名前の変更", "F2"},
    {ID_PART_INVERT, u"反転(&I)", u"部品を左右反転した部品を作成", u"反転"},
    {ID_PART_RATE, u"倍率(&R)...", u"部品の倍率を設定", u"倍率"},
    {ID_PART_BONE, u"ボーンの設定(B)...", u"部品のボーンを設定", u"ボーンの設定"},
    {ID_PART_RIGID_BODY, u"剛体(&G)", u"剛体を生成", u"剛体", {}, Check},
    {ID_PART_JOINT, u"ジョイント(&J)", u"ジョイントを生成", u"ジョイント", {}, Check},
    {ID_PART_PHYSICS, u"物理演算(&P)...", u"物理演算の設定", u"物理演算"},
};

constexpr MENU_ITEM FileMenu[] = {
    {ID_FILE_NEW}, {ID_FILE_OPEN}, {ID_FILE_SAVE}, {ID_FILE_SAVE_AS}, {0},
    {ID_GENERATE_MODEL}, {0},
    {ID_FILE_MRU_FILE1}, {0},
    {ID_APP_EXIT},
};
constexpr MENU_ITEM EditMenu[] = {
    {ID_EDIT_UNDO}, {ID_EDIT_REDO}, {0},
    {ID_EDIT_CUT}, {ID_EDIT_COPY}, {ID_EDIT_PASTE}, {ID_EDIT_CLEAR}, {0},
    {ID_EDIT_SELECT_ALL}, {0},
    {ID_DOT_ROTATE_RIGHT}, {ID_DOT_ROTATE_LEFT}, {ID_DOT_ROTATE_180},
    {ID_DOT_FLIP_VERTICAL}, {ID_DOT_FLIP_HORIZONTAL}, {0},
    {ID_DOT_DIVIDE},
};
constexpr MENU_ITEM ViewMenu[] = {
    {ID_VIEW_TOOLBAR}, {ID_VIEW_STATUS_BAR}, {0},
    {ID_VIEW_FRONT}, {ID_VIEW_BACK}, {ID_VIEW_LEFT}, {ID_VIEW_RIGHT}, {ID_VIEW_TOP},
    {ID_VIEW_BOTTOM}, {0},
    {ID_VIEW_DEEPER}, {ID_VIEW_NEARER}, {0},
    {ID_PREVIEW_PART}, {ID_PREVIEW_MODEL},
};
constexpr MENU_ITEM ToolMenu[] = {
    {ID_TOOL_SELECT}, {ID_TOOL_PENCIL}, {ID_TOOL_LINE}, {ID_TOOL_RECTANGLE},
    {ID_TOOL_FILLED_RECTANGLE}, {ID_TOOL_PAINT}, {ID_TOOL_SPOIT},
};
constexpr MENU_ITEM DotMenu[] = {
    {ID_SET_COLOR1}, {ID_SET_COLOR2}, {0},
    {ID_ALL_MATERIAL}, {ID_EDGE}, {0},
    {ID_DOT_SIZE}, {ID_BACKGROUND_COLOR},
};
constexpr MENU_ITEM PartMenu[] = {
    {ID_PART_NEW}, {ID_PART_STANDARD_BONES}, {0},
    {ID_PART_INVERT}, {ID_PART_RATE}, {0},
    {ID_PART_BONE}, {0},
    {ID_PART_RIGID_BODY}, {ID_PART_JOINT}, {ID_PART_PHYSICS},
};
constexpr MENU_ITEM HelpMenu[] = {
    {ID_APP_ABOUT},
};
constexpr POPUP_MENU MainMenu[] = {
    {u"ファイル(&F)", FileMenu}, {u"編集(&E)", EditMenu}, {u"表示(&V)", ViewMenu},
    {u"ツール(&T)", ToolMenu},   {u"ドット(&D)", DotMenu}, {u"部品(&P)", PartMenu},
    {u"ヘルプ(&H)", HelpMenu},
};

constexpr MENU_ITEM PartListItems[] = {
    {ID_PART_NEW}, {0},
    {ID_EDIT_CUT}, {ID_EDIT_COPY}, {ID_EDIT_PASTE}, {0},
    {ID_EDIT_CLEAR}, {ID_PART_RENAME}, {ID_PART_INVERT}, {ID_PART_RATE}, {0},
    {ID_PART_BONE}, {ID_PART_STANDARD_BONES, u"定型ボーン追加(&S)..."}, {0},
    {ID_PART_RIGID_BODY}, {ID_PART_JOINT}, {ID_PART_PHYSICS, u"物理演算(&H)..."},
};
constexpr POPUP_MENU PartListMenu[] = {{u"部品", PartListItems}};

constexpr MENU_ITEM DotViewItems[] = {
    {ID_DOT_DIVIDE}, {0},
    {ID_TOOL_SELECT}, {ID_TOOL_PENCIL}, {ID_TOOL_LINE}, {ID_TOOL_RECTANGLE},
    {ID_TOOL_FILLED_RECTANGLE}, {ID_TOOL_PAINT}, {ID_TOOL_SPOIT}, {0},
    {ID_DOT_ROTATE_RIGHT}, {ID_DOT_ROTATE_LEFT}, {ID_DOT_ROTATE_180},
    {ID_DOT_FLIP_VERTICAL}, {ID_DOT_FLIP_HORIZONTAL}, {0},
    {ID_EDIT_CUT}, {ID_EDIT_COPY}, {ID_EDIT_PASTE}, {ID_EDIT_CLEAR}, {0},
    {ID_EDIT_SELECT_ALL}, {0},
    {ID_VIEW_FRONT}, {ID_VIEW_BACK}, {ID_VIEW_LEFT}, {ID_VIEW_RIGHT}, {ID_VIEW_TOP},
    {ID_VIEW_BOTTOM}, {0},
    {ID_VIEW_DEEPER}, {ID_VIEW_NEARER},
};
constexpr POPUP_MENU DotViewMenu[] = {{u"ドット", DotViewItems}};

constexpr unsigned ToolBarButtons[] = {
    ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0,
    ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0,
    ID_EDIT_UNDO, ID_EDIT_REDO, 0,
    ID_TOOL_SELECT, ID_TOOL_PENCIL, ID_TOOL_LINE, ID_TOOL_RECTANGLE,
    ID_TOOL_FILLED_RECTANGLE, ID_TOOL_PAINT, ID_TOOL_SPOIT, 0,
    ID_PREVIEW_PART, ID_PREVIEW_MODEL, 0,
    ID_PART_STANDARD_BONES, ID_PART_RIGID_BODY, ID_PART_JOINT, ID_PART_PHYSICS, 0,
    ID_GENERATE_MODEL, 0,
    ID_APP_ABOUT,
};
// clang-format on

} // namespace

std::span<const COMMAND_INFO> GetCommandTable() { return Commands; }

const COMMAND_INFO* FindCommand(unsigned id) {
    auto it = std::find_if(std::begin(Commands), std::end(Commands),
                           [id](const COMMAND_INFO& c) { return c.id == id; });
    return it == std::end(Commands) ? nullptr : &*it;
}

std::span<const POPUP_MENU> GetMenu(unsigned resourceId) {
    switch (resourceId) {
    case MENU_MAIN: return MainMenu;
    case MENU_PART_LIST: return PartListMenu;
    case MENU_DOT_VIEW: return DotViewMenu;
    default: return {};
    }
}

std::span<const unsigned> GetToolBarButtons() { return ToolBarButtons; }
