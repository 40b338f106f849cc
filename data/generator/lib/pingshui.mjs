// SPDX-License-Identifier: GPL-3.0-or-later
// The 206 rhymes of 廣韻 merged into the 106 groups of 平水韻, and the
// program's 108 numbered group names (two of which, 5 缁 and 65 邃, have no
// counterpart among the 106).

// Each 平水韻 group (traditional head character) with the 廣韻 rhymes it takes in.
const MERGES = [
  // 平聲
  ['東', '東'], ['冬', '冬鍾'], ['江', '江'], ['支', '支脂之'], ['微', '微'], ['魚', '魚'],
  ['虞', '虞模'], ['齊', '齊'], ['佳', '佳皆'], ['灰', '灰咍'], ['真', '真諄臻'], ['文', '文欣'],
  ['元', '元魂痕'], ['寒', '寒桓'], ['刪', '刪山'], ['先', '先仙'], ['蕭', '蕭宵'], ['肴', '肴'],
  ['豪', '豪'], ['歌', '歌戈'], ['麻', '麻'], ['陽', '陽唐'], ['庚', '庚耕清'], ['青', '青'],
  ['蒸', '蒸登'], ['尤', '尤侯幽'], ['侵', '侵'], ['覃', '覃談'], ['鹽', '鹽添嚴'], ['咸', '咸銜凡'],
  // 上聲
  ['董', '董'], ['腫', '腫'], ['講', '講'], ['紙', '紙旨止'], ['尾', '尾'], ['語', '語'],
  ['麌', '麌姥'], ['薺', '薺'], ['蟹', '蟹駭'], ['賄', '賄海'], ['軫', '軫準'], ['吻', '吻隱'],
  ['阮', '阮混很'], ['旱', '旱緩'], ['潸', '潸產'], ['銑', '銑獮'], ['篠', '篠小'], ['巧', '巧'],
  ['晧', '晧'], ['哿', '哿果'], ['馬', '馬'], ['養', '養蕩'], ['梗', '梗耿靜'], ['迥', '迥拯等'],
  ['有', '有厚黝'], ['寑', '寑'], ['感', '感敢'], ['琰', '琰忝儼'], ['豏', '豏檻范'],
  // 去聲
  ['送', '送'], ['宋', '宋用'], ['絳', '絳'], ['寘', '寘至志'], ['未', '未'], ['御', '御'],
  ['遇', '遇暮'], ['霽', '霽祭'], ['泰', '泰'], ['卦', '卦怪夬'], ['隊', '隊代廢'], ['震', '震稕'],
  ['問', '問焮'], ['願', '願慁恨'], ['翰', '翰換'], ['諫', '諫襇'], ['霰', '霰線'], ['嘯', '嘯笑'],
  ['效', '效'], ['号', '号'], ['箇', '箇過'], ['禡', '禡'], ['漾', '漾宕'], ['敬', '映諍勁'],
  ['徑', '徑證嶝'], ['宥', '宥候幼'], ['沁', '沁'], ['勘', '勘闞'], ['豔', '豔㮇釅'], ['陷', '陷鑑梵'],
  // 入聲
  ['屋', '屋'], ['沃', '沃燭'], ['覺', '覺'], ['質', '質術櫛'], ['物', '物迄'], ['月', '月沒'],
  ['曷', '曷末'], ['黠', '黠鎋'], ['屑', '屑薛'], ['藥', '藥鐸'], ['陌', '陌麥昔'], ['錫', '錫'],
  ['職', '職德'], ['緝', '緝'], ['合', '合盍'], ['葉', '葉怗'], ['洽', '洽狎業乏'],
];

// The program's numbered groups; null marks the two numbers left without a
// 平水韻 counterpart (5 缁, 65 邃).
const NUMBERED = [
  '東', '冬', '江', '支', null, '微', '魚', '虞', '齊', '佳',
  '灰', '真', '文', '元', '寒', '刪', '先', '蕭', '肴', '豪',
  '歌', '麻', '陽', '庚', '青', '蒸', '尤', '侵', '覃', '鹽',
  '咸', '董', '腫', '講', '紙', '尾', '語', '麌', '薺', '蟹',
  '賄', '軫', '吻', '阮', '旱', '潸', '銑', '篠', '巧', '晧',
  '哿', '馬', '養', '梗', '迥', '有', '寑', '感', '琰', '豏',
  '送', '宋', '絳', '寘', null, '未', '御', '遇', '霽', '泰',
  '卦', '隊', '震', '問', '願', '翰', '諫', '霰', '嘯', '效',
  '号', '箇', '禡', '漾', '敬', '徑', '宥', '沁', '勘', '豔',
  '陷', '屋', '沃', '覺', '質', '物', '月', '曷', '黠', '屑',
  '藥', '陌', '錫', '職', '緝', '合', '葉', '洽',
];

// The names the program shows for the numbers (for documentation and checks).
export const GROUP_NAMES = ('东冬江支缁微鱼虞齐佳灰真文元寒删先萧肴豪歌麻阳筐青蒸尤侵覃盐'
  + '咸董肿讲纸尾语雨荠蟹贿轸吻阮旱潸铣小巧皓哿马养梗迥有寝感琰槛'
  + '送宋绛置邃未御遇霁泰卦队震问愿翰谏霰啸效号个驾漾敬径宥沁勘艳'
  + '陷屋沃觉质物月曷黠屑药陌锡职缉合叶洽').split('');

const RHYME_TO_GROUP = new Map();
const HEAD_TO_NUMBER = new Map();
NUMBERED.forEach((head, i) => { if (head) HEAD_TO_NUMBER.set(head, i + 1); });
for (const [head, rhymes] of MERGES) {
  const number = HEAD_TO_NUMBER.get(head);
  if (!number) throw new Error(`平水韻 group ${head} has no number`);
  for (const r of rhymes) {
    if (RHYME_TO_GROUP.has(r)) throw new Error(`廣韻 rhyme ${r} merged twice`);
    RHYME_TO_GROUP.set(r, number);
  }
}
if (GROUP_NAMES.length !== 108 || HEAD_TO_NUMBER.size !== 106 || RHYME_TO_GROUP.size !== 206) {
  throw new Error('rhyme tables are inconsistent');
}

// The 108-numbering of the 廣韻 rhyme (韻目 as the book gives it), or undefined.
export function groupOfRhyme(rhyme) { return RHYME_TO_GROUP.get(rhyme); }

// 平 上 去 入 of a group number.
export function toneClassOfGroup(n) {
  if (n >= 1 && n <= 31) return '平';
  if (n <= 60) return '上';
  if (n <= 91) return '去';
  return '入';
}
export function isLevelGroup(n) { return n >= 1 && n <= 31; }

export const ALL_RHYMES = [...RHYME_TO_GROUP.keys()];

// Characters 廣韻 writes with another glyph that neither Unihan's variant links
// nor the book's own notes connect, checked by hand against the entries
// (modern or traditional form -> the book's glyph and what the entry says).
export const BOOK_GLYPHS = new Map([
  ['聯', '聮'],   // 仙 力延切 聮綿不絕
  ['樣', '㨾'],   // 漾 餘亮切 式㨾
  ['享', '亯'],   // 養 許兩切 獻也祭也
  ['嘴', '觜'],   // 紙 即委切 喙也
  ['勾', '句'],   // 侯 古侯切 / 候 古候切
  ['做', '作'],   // 暮 臧祚切 造也 (and 箇, 鐸)
  ['蝴', '胡'],   // 胡蝶
  ['葡', '蒲'],   // 蒲桃
  ['槁', '槀'],   // 晧 苦浩切 木枯也
  ['髭', '頾'],   // 支 即移切
  ['淘', '洮'],   // 豪 土刀切 又清汰
  ['瀟', '潚'],   // 蕭 蘇彫切 水名
  ['潇', '潚'],
  ['卮', '巵'],   // 支 章移切 酒器
  ['蒂', '蔕'],   // 霽 都計切 草木綴實
  ['撐', '橕'],   // 庚 丑庚切 撥也
  ['撑', '橕'],
  ['敧', '攲'],   // 支 去奇切
  ['噀', '潠'],   // 慁 蘇困切 潠水
  ['婷', '娗'],   // 青 特丁切 好皃 (娉婷)
  ['鶗', '鷤'],   // 齊 杜奚切 鷤䳏鳥 (鶗鴂)
]);

// Readings of 廣韻 that verse does not use, checked by hand for the common
// characters of the library: rare senses (何 "負荷", 如 去聲, 光 去聲, 深 去聲),
// loan readings (不 as 否) and readings a simplified form has only as a rare
// character of its own (听 "笑皃", 宁 "門屏之間", 众 …). Left in, each would make a
// character a poet reads with one tone "2" (平仄两读), and an entering-tone
// character like 不 would not be "1". Real 两读 stay (看 思 望 听 忘 过 教 论 醒
// 胜 中 重 长 为 …). Character (simplified; its standard traditional form is
// corrected alike) -> the groups (names as shown) to leave out.
export const UNUSED_READINGS = new Map(Object.entries({
  不: '尤', 如: '御', 深: '沁', 留: '宥', 收: '宥', 苍: '养', 题: '霁', 临: '沁', 经: '径', 缘: '霰', 钱: '铣', 吟: '沁',
  淹: '陷', 娇: '小', 封: '宋', 廷: '径', 轻: '敬', 油: '宥', 延: '霰', 旄: '号', 除: '御', 嵬: '贿', 沾: '艳', 穿: '霰',
  溶: '肿', 敲: '效', 裁: '队', 欧: '有', 盟: '敬', 驱: '遇', 兼: '艳', 缠: '霰', 澜: '翰', 饶: '啸', 标: '小', 栽: '队',
  蜓: '铣', 芋: '虞', 共: '冬', 怨: '元', 澹: '覃', 戏: '支', 妨: '漾', 涨: '阳', 填: '震霰', 摩: '个', 娑: '哿',
  蘼: '纸', 橙: '径', 畋: '霰', 折: '齐', 比: '支', 堕: '支', 凝: '径', 牵: '霰', 迎: '敬', 丽: '支', 浸: '侵', 浑: '阮',
  嘹: '啸', 机: '纸', 宁: '语御', 呵: '个', 稹: '真', 听: '吻文', 种: '东', 只: '支',
  齐: '霁', 坏: '灰', 恶: '虞',
  // 赶 gǎn is 旱 (added below); 巨言切 / 其月切 are 趕's old "舉尾走".
  // 柿 is 纸: the table lists it in 队, taking it for 杮 (fèi). 着 is 药
  // (着 / 著 zhuó); 菩 is 虞 (菩提, 菩萨). 佔 is zhàn, 占's 艳 (廣韻's 佔 丁兼切
  // is 佔侸, another word). 鶗 is 齐 only (鶗鴂; 寒 belongs to 鷤 of 鸛鷤).
  赶: '元月', 柿: '队', 着: '鱼', 菩: '贿有职', 佔: '盐', 鶗: '寒',
}).map(([ch, names]) => [ch, [...names]]));

// Readings 平水韵 gives that the derivation from 廣韻 misses, each with a
// character whose 廣韻 entry spells it: 听 takes 徑 from 聽 and 称 takes 證 from
// 稱 (the Mandarin fit of the simplified form fails there); 漫 is also 寒
// ("漫漫"; 廣韻 has only 換; 母官切 as 瞞), 探 also 勘 ("探取"; 透母 闞 as 賧),
// 粗 虞 (as 麤, 倉胡切; 廣韻 has 粗 only as 徂古切, which UNUSED_READINGS leaves
// out), 娉 also 庚 ("娉婷"; 集韻 披耕切, as 怦), 恍 also 養 (as 怳), 杆 also 寒
// ("欄杆"; 集韻 居寒切, as 竿), 苹 also 真 (it writes 蘋 "白蘋" in
// simplified text). Applied before UNUSED_READINGS.
// Character -> [group name, character that has that reading].
// Further readings a poet meets at once: 赶 / 趕 gǎn is 旱 (as 稈, 古旱切);
// 厌 / 厭 is also 盐 (厌厌 = 恹恹, as 懕, 一鹽切); 撒 is 曷 (as 薩, 桑割切;
// 廣韻 lacks 撒); 柿 is 纸 (as 士, 鉏里切); 令 is also 青 (郎丁切, as 零);
// 从 also 宋 (侍从, 疾用切 of 從); 判 also 寒 (判 = 拚 pān, 杜甫 久判野鹤如霜鬓;
// as 潘, 普官切); 歎 and 攢 read as 叹 and 攒 (寒 besides 翰); 佔 as 占's 艳;
// 麼 麽 么 share 歌 and 哿 (廣韻 麼 亡果切; the table's 么 in 歌).
// A character without readings of its own gets the list it is given.
export const ADDED_READINGS = new Map(Object.entries({
  漫: [['寒', '瞞']], 苹: [['真', '蘋']], 凭: [['径', '凭']], 憑: [['径', '凭']],
  赶: [['旱', '稈']], 趕: [['旱', '稈']], 厌: [['盐', '懕']], 厭: [['盐', '懕']],
  撒: [['曷', '薩']], 柿: [['纸', '士']], 令: [['青', '零']], 从: [['宋', '從']],
  判: [['寒', '潘']], 歎: [['寒', '叹']], 攢: [['寒', '攒']], 佔: [['艳', '占']],
  麼: [['歌', '么']], 麽: [['歌', '么'], ['哿', '麼']], 么: [['哿', '麼']],
}));

// The spelling (拼音 column) of a row where the rule of rhymes.md gives the
// syllable of another sense: 还 is xuán (= 旋) in 先 and huán in 删; hái,
// its most common syllable today, belongs to neither.
export const ROW_SPELLINGS = new Map([
  ['还', new Map([['先', 'xuan'], ['删', 'huan']])],
  ['還', new Map([['先', 'xuan'], ['删', 'huan']])],
]);

// The group shown (the last row) where the rule of rhymes.md picks a reading
// the character no longer has in simplified text: 乾 rhymes in 寒 in Tang
// verse as 乾 "dry", which simplified writes 干; 乾 itself is 乾坤 (先).
// 苹 shows 真: in verse it is 蘋 (白苹, 苹花), not 苹果.
// 厌 / 厭 show 艳 and 判 翰 (their usual sense), beside the level readings
// added above; 麼 and 麽 show 歌 (the particle, 什麽).
export const SHOWN_GROUPS = new Map([['乾', '先'], ['苹', '真'], ['厌', '艳'], ['厭', '艳'], ['判', '翰'],
  ['麼', '歌'], ['麽', '歌']]);

// Variant glyphs whose own entry in 廣韻 is another word: they read as the
// character they are written for. 擧 is 舉 (廣韻 also lists 擧 under 魚 as
// 舁 "對舉", which no poem means). 揹 (Big5's form of 背 bēi, "carry on the
// back") reads as 背.
export const READ_AS = new Map([['擧', '舉'], ['揹', '背']]);

export function groupNumberOfName(name) {
  const n = GROUP_NAMES.indexOf(name) + 1;
  if (n < 1) throw new Error(`no 平水韵 group named ${name}`);
  return n;
}
