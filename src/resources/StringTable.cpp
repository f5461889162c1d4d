#include "resources/StringTable.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Entry {
    unsigned id;
    std::u16string_view text;
};

// Sorted by id. Command prompts (keyed by command number) hold the status
// bar text and the tool tip separated by "\n".
constexpr Entry Table[] = {
    // Document type: window title, base name, name for new files, file
    // dialog filter name, extension, file type id and name.
    {128, u"Kubrell\n\n無題\nKubrellファイル (*.kbrl)\n.kbrl\nKubrell.Document\nKubrell.Document"},

    // Undo labels, dialog captions and messages.
    {129, u"色の編集"},
    {130, u"鉛筆ツール"},
    {131, u"削除"},
    {132, u"直線ツール"},
    {133, u"移動"},
    {134, u"倍率"},
    {135, u"矩形"},
    {136, u"塗りつぶし矩形"},
    {137, u"塗りつぶし"},
    {138, u"ボーン移動"},
    {139, u"ドットサイズ変更"},
    {140, u"PMDファイル(*.pmd)|*.pmd|すべてのファイル(*.*)|*.*||"},
    {141, u"回転"},
    {142, u"反転"},
    {143, u"部品"},
    {145, u"名前の変更"},
    {146, u"%s という部品は既にあります。"},
    {149, u"材質"},
    {151, u"全て材質(&M)"},
    {152, u"物理演算"},
    {153, u"剛体"},
    {154, u"新規部品"},
    {155, u"ボーン"},
    {158, u"ジョイント"},
    {159, u"全てテクスチャ(&M)"},
    {160, u"エッジ"},
    {166, u"左"},
    {167, u"右"},
    {176, u"ボーン編集"},
    {177, u"既存の %s に上書きします。"},
    {178, u"部品反転"},
    {179, u"分割"},
    {188, u"IK"},

    // Names of the standard bones (and so of the parts of a new document).
    {500, u"センター"},
    {501, u"左足"},
    {502, u"右足"},
    {504, u"上半身"},
    {507, u"左足ＩＫ"},
    {508, u"右足ＩＫ"},
    {509, u"左ひざ"},
    {510, u"左腕"},
    {511, u"左ひじ"},
    {512, u"左手首"},
    {527, u"右ひざ"},
    {528, u"首"},
    {529, u"頭"},
    {530, u"右腕"},
    {531, u"右ひじ"},
    {532, u"右手首"},
    {550, u"下半身"},
    {554, u"左肩"},
    {555, u"左足首"},
    {556, u"左足ＩＫ"},
    {557, u"右肩"},
    {558, u"右足首"},
    {559, u"右足ＩＫ"},

    // Undo and redo menu items, and more undo labels.
    {900, u"元に戻す(&U)\tCtrl+Z"},
    {901, u"やり直し(&R)\tCtrl+Y"},
    {902, u"切り取り"},
    {903, u"貼り付け"},

    // Command prompts: status bar text, then the tool tip. The depth
    // commands use one text for both.
    {32774, u"手前の面を表示\n手前の面を表示"},
    {32792, u"PMDファイルを生成\nモデル生成"},
    {32796, u"奥の面を表示\n奥の面を表示"},
    {32824, u"選択された部品のみ表示\n部品表示"},
    {32825, u"モデル全体を表示\n全体表示"},
    {32832, u"よくあるボーンを追加\n定型ボーン"},
    {32857, u"物理演算の設定\n物理演算"},
    {32860, u"剛体を生成\n剛体"},
    {32862, u"ジョイントを生成\nジョイント"},
};

constexpr bool IsSorted() {
    for (size_t i = 1; i < std::size(Table); ++i)
        if (Table[i - 1].id >= Table[i].id)
            return false;
    return true;
}
static_assert(IsSorted(), "the string table must be sorted by id without duplicates");

const Entry* Find(unsigned id) {
    const auto it = std::lower_bound(std::begin(Table), std::end(Table), id,
                                     [](const Entry& e, unsigned key) { return e.id < key; });
    return it != std::end(Table) && it->id == id ? it : nullptr;
}

} // namespace

std::u16string LoadString(unsigned id) {
    const Entry* entry = Find(id);
    return entry ? std::u16string(entry->text) : std::u16string();
}

bool HasString(unsigned id) { return Find(id) != nullptr; }

std::u16string FormatText(std::u16string_view pattern,
                          std::initializer_list<std::u16string_view> args) {
    std::u16string result;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c != u'%' || i + 1 == pattern.size()) {
            result.push_back(c);
            continue;
        }
        const char16_t kind = pattern[i + 1];
        if (kind == u'%') {
            result.push_back(u'%');
            ++i;
        } else if (kind == u's' || kind == u'd') {
            if (next != args.end())
                result.append(*next++);
            ++i;
        } else {
            result.push_back(c);
        }
    }
    return result;
}

std::u16string FormatString(unsigned id, std::initializer_list<std::u16string_view> args) {
    return FormatText(LoadString(id), args);
}
