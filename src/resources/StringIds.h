#pragma once
// Numbers of the string-table texts (resources/StringTable.cpp). The
// numbers are fixed; the comment beside each gives its text. Command prompts
// are keyed by their command number (resources/CommandIds.h) instead.

// Document type: title, base name, new-file name, filter, extension, type.
constexpr unsigned IDS_DOCUMENT_TYPE = 128;

// Undo labels, dialog captions and messages.
constexpr unsigned IDS_EDIT_COLOR = 129;       // 色の編集
constexpr unsigned IDS_PENCIL_TOOL = 130;      // 鉛筆ツール
constexpr unsigned IDS_DELETE = 131;           // 削除
constexpr unsigned IDS_LINE_TOOL = 132;        // 直線ツール
constexpr unsigned IDS_MOVE = 133;             // 移動
constexpr unsigned IDS_RATE = 134;             // 倍率
constexpr unsigned IDS_RECTANGLE = 135;        // 矩形
constexpr unsigned IDS_FILLED_RECTANGLE = 136; // 塗りつぶし矩形
constexpr unsigned IDS_FILL = 137;             // 塗りつぶし
constexpr unsigned IDS_MOVE_BONE = 138;        // ボーン移動
constexpr unsigned IDS_DOT_SIZE = 139;         // ドットサイズ変更
constexpr unsigned IDS_MODEL_FILTER = 140; // PMDファイル(*.pmd)|*.pmd|すべてのファイル(*.*)|*.*||
constexpr unsigned IDS_ROTATE = 141;       // 回転
constexpr unsigned IDS_FLIP = 142;         // 反転
constexpr unsigned IDS_PART = 143;         // 部品
constexpr unsigned IDS_RENAME = 145;       // 名前の変更
constexpr unsigned IDS_PART_EXISTS = 146;  // %s という部品は既にあります。
constexpr unsigned IDS_MATERIAL = 149;     // 材質
constexpr unsigned IDS_ALL_MATERIAL = 151; // 全て材質(&M)
constexpr unsigned IDS_PHYSICS = 152;      // 物理演算
constexpr unsigned IDS_RIGID_BODY = 153;   // 剛体
constexpr unsigned IDS_NEW_PART = 154;     // 新規部品
constexpr unsigned IDS_BONE_GROUP = 155;   // ボーン
constexpr unsigned IDS_JOINT = 158;        // ジョイント
constexpr unsigned IDS_ALL_TEXTURE = 159;  // 全てテクスチャ(&M)
constexpr unsigned IDS_EDGE = 160;         // エッジ
constexpr unsigned IDS_LEFT = 166;         // 左
constexpr unsigned IDS_RIGHT = 167;        // 右
constexpr unsigned IDS_EDIT_BONE = 176;    // ボーン編集
constexpr unsigned IDS_OVERWRITE = 177;    // 既存の %s に上書きします。
constexpr unsigned IDS_INVERT_PART = 178;  // 部品反転
constexpr unsigned IDS_DIVIDE = 179;       // 分割
constexpr unsigned IDS_IK_GROUP = 188;     // IK

// Names of the standard bones (and so of the parts of a new document).
constexpr unsigned IDS_CENTER = 500;      // センター
constexpr unsigned IDS_LEFT_ANKLE = 555;  // 左足首
constexpr unsigned IDS_RIGHT_ANKLE = 558; // 右足首

// Undo and redo menu items, and more undo labels.
constexpr unsigned IDS_UNDO = 900;  // 元に戻す(&U)\tCtrl+Z
constexpr unsigned IDS_REDO = 901;  // やり直し(&R)\tCtrl+Y
constexpr unsigned IDS_CUT = 902;   // 切り取り
constexpr unsigned IDS_PASTE = 903; // 貼り付け
