#pragma once
// Command numbers of every menu item, accelerator and tool-bar button. The
// numbers are fixed: the routing layer, the menus and the tests all key on
// them. The comment beside each gives its menu text.

// File and application commands (standard numbers).
constexpr unsigned ID_FILE_NEW = 57600;        // 新規作成(&N)
constexpr unsigned ID_FILE_OPEN = 57601;       // 開く(&O)...
constexpr unsigned ID_FILE_CLOSE = 57602;      // 閉じる
constexpr unsigned ID_FILE_SAVE = 57603;       // 上書き保存(&S)
constexpr unsigned ID_FILE_SAVE_AS = 57604;    // 名前を付けて保存(&A)...
constexpr unsigned ID_FILE_MRU_FILE1 = 57616;  // 最近使ったファイル (1 of 16)
constexpr unsigned ID_FILE_MRU_FILE16 = 57631; // 最近使ったファイル (16 of 16)
constexpr unsigned ID_APP_ABOUT = 57664;       // バージョン情報(&A)...
constexpr unsigned ID_APP_EXIT = 57665;        // アプリケーションの終了(&X)

// Edit commands (standard numbers).
constexpr unsigned ID_EDIT_CLEAR = 57632;      // 削除(&D)\tDel
constexpr unsigned ID_EDIT_COPY = 57634;       // コピー(&C)\tCtrl+C
constexpr unsigned ID_EDIT_CUT = 57635;        // 切り取り(&T)\tCtrl+X
constexpr unsigned ID_EDIT_PASTE = 57637;      // 貼り付け(&P)\tCtrl+V
constexpr unsigned ID_EDIT_SELECT_ALL = 57642; // すべて選択(&A)\tCtrl+A
constexpr unsigned ID_EDIT_UNDO = 57643;       // 元に戻す(&U)\tCtrl+Z
constexpr unsigned ID_EDIT_REDO = 57644;       // やり直し(&R)\tCtrl+Y

// View bars (standard numbers).
constexpr unsigned ID_VIEW_TOOLBAR = 59392;    // ツール バー(&T)
constexpr unsigned ID_VIEW_STATUS_BAR = 59393; // ステータス バー(&S)

// Tools of the dot view.
constexpr unsigned ID_TOOL_PAINT = 32773;            // 塗りつぶしツール(&P)
constexpr unsigned ID_TOOL_PENCIL = 32777;           // 鉛筆ツール(&N)
constexpr unsigned ID_TOOL_SELECT = 32778;           // 選択(&S)
constexpr unsigned ID_TOOL_LINE = 32779;             // 直線ツール(&L)
constexpr unsigned ID_TOOL_RECTANGLE = 32781;        // 矩形ツール(&R)
constexpr unsigned ID_TOOL_FILLED_RECTANGLE = 32782; // 塗りつぶし矩形ツール(&F)
constexpr unsigned ID_TOOL_SPOIT = 32784;            // 色の選択ツール(&C)

// Faces and depth of the dot view (handled by the current part).
constexpr unsigned ID_VIEW_NEARER = 32774; // 手前へ(&A)\tCtrl+↓
constexpr unsigned ID_VIEW_DEEPER = 32796; // 奥へ(&S)\tCtrl+↑
constexpr unsigned ID_VIEW_FRONT = 32790;  // 前面(&F)\tCtrl+Shift+F
constexpr unsigned ID_VIEW_BACK = 32791;   // 後面(&B)\tCtrl+Shift+B
constexpr unsigned ID_VIEW_RIGHT = 32793;  // 右面(&R)\tCtrl+Shift+R
constexpr unsigned ID_VIEW_TOP = 32794;    // 上面(&T)\tCtrl+Shift+T
constexpr unsigned ID_VIEW_BOTTOM = 32795; // 下面(&O)\tCtrl+Shift+O
constexpr unsigned ID_VIEW_LEFT = 32797;   // 左面(&L)\tCtrl+Shift+L

// Selection transforms of the dot view.
constexpr unsigned ID_DOT_ROTATE_RIGHT = 32785;    // 右回転(&R)
constexpr unsigned ID_DOT_ROTATE_LEFT = 32786;     // 左回転(&L)
constexpr unsigned ID_DOT_ROTATE_180 = 32787;      // 180度回転(&O)
constexpr unsigned ID_DOT_FLIP_HORIZONTAL = 32788; // 左右反転(&H)
constexpr unsigned ID_DOT_FLIP_VERTICAL = 32789;   // 上下反転(&V)
constexpr unsigned ID_DOT_DIVIDE = 32834;          // 分割(&D)

// Document settings.
constexpr unsigned ID_DOT_SIZE = 32780;         // ドットの大きさ(&D)...
constexpr unsigned ID_GENERATE_MODEL = 32792;   // モデル生成(&G)...
constexpr unsigned ID_BACKGROUND_COLOR = 32798; // 背景色(&C)...
constexpr unsigned ID_ALL_MATERIAL = 32839;     // 全て材質(&M) / 全てテクスチャ(&M)
constexpr unsigned ID_SET_COLOR1 = 32849;       // 色&1の設定...
constexpr unsigned ID_SET_COLOR2 = 32851;       // 色&2の設定...
constexpr unsigned ID_EDGE = 32866;             // エッジ(&E)

// Part commands.
constexpr unsigned ID_PART_RENAME = 32804;         // 名前の変更(&A)\tF2
constexpr unsigned ID_PART_INVERT = 32813;         // 反転(&I)
constexpr unsigned ID_PART_NEW = 32817;            // 新規部品(&N)
constexpr unsigned ID_PART_BONE = 32820;           // ボーンの設定(B)...
constexpr unsigned ID_PART_STANDARD_BONES = 32832; // 定型ボーン追加(&S)... / 定型ボーン(&S)...
constexpr unsigned ID_PART_RATE = 32854;           // 倍率(&R)...
constexpr unsigned ID_PART_PHYSICS = 32857;        // 物理演算(&P)...
constexpr unsigned ID_PART_RIGID_BODY = 32860; // 剛体(&G)
constexpr unsigned ID_PART_JOINT = 32862;      // ジョイント(&J)

// Model preview.
constexpr unsigned ID_PREVIEW_PART = 32824;  // 部品(&P)\tCtrl+P
constexpr unsigned ID_PREVIEW_MODEL = 32825; // モデル全体(&M)\tCtrl+M
// Camera presets (keypad accelerators, no menu text): pitch, yaw.
constexpr unsigned ID_CAMERA_TOP = 32842;    // Numpad 5: +π/2, 0
constexpr unsigned ID_CAMERA_RIGHT = 32843;  // Numpad 6: 0, +π/2
constexpr unsigned ID_CAMERA_LEFT = 32844;   // Numpad 4: 0, −π/2
constexpr unsigned ID_CAMERA_FRONT = 32845;  // Numpad 2: 0, 0
constexpr unsigned ID_CAMERA_BACK = 32846;   // Numpad 8: 0, π
constexpr unsigned ID_CAMERA_BOTTOM = 32847; // Numpad 0: −π/2, 0
