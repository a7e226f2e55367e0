// The editor's access keys, listed: within a menu, and within the window,
// no two captions share a letter.
#include "editor/ui/frm_change.h"
#include "editor_fixture.h"
#include "support/access_keys.h"

namespace quisk::test {
namespace {

using EditorAccessKeys = EditorTest;

TEST_F(EditorAccessKeys, AreDistinctInEveryMenuAndTheWindow) {
    auto ed = open(Choice::New);
    const auto groups = accessKeyGroups(*ed);
    const std::map<QString, QStringList> expected = {
        {"window", {"F ﾌｧｲﾙ(&F)", "E 編集(&E)", "D 表示(&D)", "C 一括変更(&C)", "O ｵﾌﾟｼｮﾝ(&O)"}},
        {"ﾌｧｲﾙ(&F)", {"O ﾌｧｲﾙを開く(&O)", "V 上書き保存(&V)", "S 名前を付けて保存(&S)"}},
        {"編集(&E)",
         {"C ｺﾋﾟｰ(&C)", "T 切り取り(&T)", "P 貼り付け(&P)", "I 行の挿入(&I)", "D 行の削除(&D)",
          "L 選択ｾﾙの消去(&L)", "S 選択範囲の消去(&S)"}},
        {"表示(&D)",
         {"R 選択行の非表示(&R)", "C 選択列の非表示(&C)", "U 非表示の解除(&U)", "P ﾌﾟﾚﾋﾞｭｰ(&P)",
          "G 区切り位置を推定(&G)"}},
        {"一括変更(&C)",
         {"C 全てをCharに変換(&C)", "N 全てをNumに変換(&N)", "S 任意の文字をCharに変換(&S)",
          "I 任意の文字をNumに変換(&I)"}},
        {"ｵﾌﾟｼｮﾝ(&O)", {"H ﾍｯﾀﾞｰ･ﾌｯﾀｰ(&H)", "R 特別列処理設定(&R)"}},
        {"ﾎﾟｯﾌﾟｱｯﾌﾟ(&P)",
         {"C ｺﾋﾟｰ(&C)", "T 切り取り(&T)", "P 貼り付け(&P)", "I 行の挿入(&I)", "D 行の削除(&D)",
          "R 10行挿入(&R)", "L 選択ｾﾙの消去(&L)", "S 選択範囲の消去(&S)", "H Charに変換(&H)",
          "N Numに変換(&N)"}},
    };
    EXPECT_EQ(groups, expected);
    EXPECT_TRUE(accessKeyClashes(groups).isEmpty())
        << accessKeyClashes(groups).join("\n").toStdString();
}

} // namespace
} // namespace quisk::test
