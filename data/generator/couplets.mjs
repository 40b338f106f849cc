// SPDX-License-Identifier: GPL-3.0-or-later
// Builds ../seed/对仗词类.tsv: the words a couplet of regulated verse is
// split into, with the classes by which the program judges whether two
// facing words match (对仗).
//
// Columns: 词 (one or two characters, simplified), 词类 (the classes the word
// may stand in, most likely first, joined by "|": 名 动 形 数 方位 颜色 代
// 虚字), 细类 (a finer class for nouns and function words: 天文 地理 时令 …;
// empty where none is given; a two-character noun without one takes the
// fine class of its last character when the program reads it), 同义 (a
// group of words meaning the same, named by its first word; two lines whose
// facing words are the same or of one group say the same thing: 合掌).
//
// Sources:
// - The dictionary of jieba as Debian's python3-jieba ships it
//   (/usr/lib/python3/dist-packages/jieba/dict.txt, MIT): a word, its count
//   and its part-of-speech tag; and its tagging model
//   (posseg/char_state_tab.py): every tag a character takes standing alone.
//   A character gets the classes of the tags it takes alone; a word of two
//   characters the class of its tag.
// - Only what Tang poets wrote is kept: characters of the regulated verse of
//   全唐诗 (chinese-poetry, lib/usage.mjs) and two-character words found at
//   least MIN_WORD times at a word place of those lines (the first two, the
//   next two, the last two characters of a five-character line; in a
//   seven-character line from the start in twos, and the last two).
// - Modern tags mislead in classical lines (日 tagged as a number, 鸟 as a
//   morpheme, 松 as a verb): the lists below, written for this table, give
//   numbers, directions, colours, pronouns, function words and the common
//   nouns of the fine classes their classical use. A listed character gets
//   the listed class first; a listed noun loses the tags of number and
//   function word.
//
// Run: cd data/generator && npm ci && node couplets.mjs (python3-jieba
// installed). Deterministic: two runs give the same table.
import { readFileSync, existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as OpenCC from 'opencc-js';

import { writeTable } from './lib/tsv.mjs';
import { regulatedLines, tangPoemFiles } from './lib/usage.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const seedDir = join(here, '..', 'seed');
const jiebaDir = process.env.JIEBA_DIR || '/usr/lib/python3/dist-packages/jieba';
const MIN_WORD = 4;
const MIN_CHAR = 2;

for (const f of ['dict.txt', 'posseg/char_state_tab.py']) {
  if (!existsSync(join(jiebaDir, f))) {
    throw new Error(`${join(jiebaDir, f)} missing: apt-get install python3-jieba (or set JIEBA_DIR)`);
  }
}

// jieba's tags to the classes of a couplet.
const TAG_CLASS = {
  n: '名', ng: '名', nz: '名', nr: '名', nrt: '名', nrfg: '名', ns: '名', nt: '名', s: '名', q: '名',
  t: '名', tg: '名',
  v: '动', vg: '动', vd: '动', vi: '动', vq: '动', vn: '动',
  a: '形', ag: '形', ad: '形', an: '形', z: '形', b: '形',
  m: '数', mq: '数', mg: '数',
  f: '方位',
  r: '代', rr: '代', rz: '代', rg: '代',
  d: '虚字', dg: '虚字', df: '虚字', p: '虚字', c: '虚字',
  u: '虚字', uj: '虚字', ul: '虚字', uz: '虚字', ug: '虚字', uv: '虚字', ud: '虚字',
  y: '虚字', e: '虚字', o: '虚字',
};
const TAG_FINE = { ns: '地名', nr: '人名', nrt: '人名', nrfg: '人名' };

// ---- hand lists: classical usage ------------------------------------------------

const NOUNS = {
  天文: '天 日 月 星 辰 风 云 雨 雪 霜 露 雾 烟 霞 虹 雷 电 霄 汉 斗 晖 辉 光 影 阳 阴 气 岚 霭 霓 蟾 曦 景 空 晴 冰 雹 霰',
  地理: '山 水 江 河 湖 海 川 溪 泉 石 岩 峰 岭 峦 岫 丘 原 野 田 林 岸 洲 沙 波 浪 涛 潮 浦 渚 滩 池 塘 潭 谷 壑 径 路 道 城 郭 关 塞 津 渡 桥 村 郊 乡 国 地 土 尘 泥 陵 坡 岛 湾 渊 涧 瀑 流 源 堤 陌 阡 巷 街 市 邑 州 县 疆 域 边 峡 岳 坞 洞 崖 峤 岑 汀 沚 泽 濑 湍',
  时令: '春 夏 秋 冬 朝 暮 夕 晨 昼 夜 晓 宵 年 岁 时 今 古 昔 旦 午 节 序 腊 社 候 季 旬 晚 晡 更 漏',
  植物: '花 草 木 树 柳 松 竹 梅 兰 菊 荷 莲 桃 李 杏 桂 苔 藤 萍 芦 苇 蓬 叶 枝 根 蕊 柏 桑 麻 禾 稻 麦 蒿 苹 蘋 藻 杨 桐 枫 橘 槐 柑 蕉 芷 蕙 荻 菱 茅 芹 葵 榆 梧 藓 棠 芙 蓉 萝 薇 芳 英 荆 棘 果 实 瓜 豆 蒲 茶 萱 艾 蓼 楚 杉 桧 樟 栗 枣 杞 椒 薜 荔',
  动物: '鸟 雁 鹤 莺 燕 鸥 鹭 鸦 鹊 猿 马 牛 羊 犬 鸡 鱼 龙 虎 蝉 蝶 蜂 虫 萤 鹰 凤 鸾 鹃 蛩 雀 鸿 鹅 鸭 鹿 狐 兔 驹 骥 麟 鲸 蛙 鸳 鸯 鸠 鸽 鹏 蚁 蛇 豹 熊 狼 猴 狖 骢 骑 禽 兽 鳞 羽 翼 蝇 蛟 貂 鹂 鸣',
  宫室: '楼 台 阁 亭 殿 宫 堂 室 门 户 窗 轩 廊 阶 庭 院 墙 壁 屋 舍 庐 馆 寺 庙 观 榭 阙 邸 扉 槛 栏 檐 梁 柱 篱 垣 砌 苑 囿 园 圃 斋 宅 第 府 署 坛 塔 墀',
  器物: '舟 船 车 杯 酒 琴 剑 书 笔 灯 烛 镜 钟 鼓 笛 箫 帆 桨 棹 旗 弓 刀 枕 席 瓶 壶 盘 杖 鞭 弦 帐 帘 纸 墨 砚 扇 伞 锦 绣 罗 绮 炉 钩 针 丝 线 樽 觞 盏 棋 印 屏 帷 幕 鞍 辔 轮 缨 簪 钗 珠 玉 金 银 钱 帛 纶 网 锄 犁 机 梭 瑟 筝 琵 笙 磬 铃 戈 矛 戟 甲 箭 旌 节 符 琴 衾 被 褥 瓦 砖 鼎 爵 杵 砧',
  衣饰: '衣 裳 巾 袍 袖 衫 裙 襟 带 冠 帽 履 鞋 袜 佩 绶 簪 裘 褐 蓑 笠 衿',
  饮食: '饭 食 羹 粟 米 茗 肉 醪 酪 浆 脍 粥 饼',
  文史: '诗 文 章 词 赋 史 经 字 画 句 篇 卷 编 简 牍 笺 札 信 檄 曲 歌 谣 韵 律 调',
  身体: '头 首 面 眼 目 眉 心 手 足 发 鬓 须 口 齿 腰 肩 骨 泪 血 身 颜 容 腮 唇 耳 鼻 魂 魄 肠 胸 背 膝 指 掌 颊 臂 腹 肌 肤 形 躯 体 舌 睛 眸',
  // States, rivers and regions named by one character (秦 楚 吴 越 …);
  // those of another common use (燕 齐 陈 徐 扬 幽 …) are left out.
  地名: '秦 楚 吴 越 赵 魏 韩 汉 蜀 湘 巴 闽 粤 荆 洛 淮 泗 汾 渭 泾 陇 晋 鲁 郑 蔡 羌 蕃 潇 沅 澧 汴 邺 冀 兖 滇 黔 瓯 邛 岷 峨 嵩 虢 郢 鄂 襄',
  人伦: '人 客 臣 子 父 母 兄 弟 友 朋 僧 翁 童 妇 女 儿 孙 主 宾 侯 王 帝 官 吏 民 农 渔 樵 仙 佛 神 鬼 士 叟 妻 夫 郎 姬 娘 妾 使 将 相 师 徒 伴 侣 邻 家 君',
  人事: '情 意 思 愁 恨 梦 名 利 功 业 事 言 语 声 音 道 理 义 礼 德 恩 怨 志 怀 兴 趣 乐 欢 悲 哀 忧 喜 病 老 生 死 命 运 缘 计 谋 策 军 兵 战 功 路 程 期 约 信 书 音',
};

const CLASSES = {
  数: '一 二 三 四 五 六 七 八 九 十 百 千 万 两 半 双 孤 独 几 数 众 诸 群 亿 兆 再 零 单 只 初 第 首 寸 尺 丈 里 仞',
  方位: '东 西 南 北 上 下 前 后 左 右 中 内 外 里 间 边 旁 侧 畔 际 头 心 底 表 端 隅 角 面 央',
  颜色: '红 白 青 绿 黄 黑 紫 碧 翠 丹 朱 苍 玄 赤 乌 皓 缟 素 黛 彤 绛 蓝 皎 金 银 粉 黝 缃 赭',
  代: '我 吾 余 予 君 尔 汝 他 谁 何 此 彼 是 斯 兹 其 自 己 卿 侬 伊 渠 某 孰 尔 若 之 孰 奚 焉 安 胡 曷 那 这',
};

// Function words with a fine class: 否 (negation), 副 (adverbs and the
// auxiliaries 能 可 堪 欲 …, which face them), 介 (prepositions),
// 连 (conjunctions), 助 (particles).
const FUNCTION_WORDS = {
  否: '不 无 未 莫 非 勿 休 没 弗 毋 罔 靡',
  副: '能 可 堪 肯 敢 宜 会 拟 欲 须 应 当 要 已 犹 亦 且 又 复 更 还 却 只 唯 惟 应 须 欲 将 共 同 皆 俱 尽 曾 正 方 仍 空 徒 漫 谩 恰 偏 最 甚 太 颇 况 纵 虽 乃 即 便 则 遂 再 才 始 终 竟 每 各 相 互 频 屡 常 长 久 暂 忽 乍 顿 渐 稍 略 殊 浑 都 总 全 俱 独 但 只 仅 亲 遥 时 聊 宁 岂 讵 几 何 犹 尚 未 已 将 欲 暗 静 自 偶',
  介: '于 以 为 因 由 从 向 在 到 至 及 与 和 同 自 对 被 把 将 随 凭 傍 依 临 当 隔',
  连: '而 且 与 及 或 若 如 似 虽 纵 然 则 故 乃 况 但',
  助: '之 乎 者 也 矣 焉 哉 兮 耶 欤 夫 耳 尔 已 么 呢 兮 然 其',
};

// Verbs and adjectives of classical lines whose modern tags miss that use
// (卷 as a noun only, 多 as a number only): the class is added after the
// ones the character has.
const ALSO = {
  动: '至 到 来 去 归 回 还 行 飞 落 开 闭 入 出 起 坐 卧 立 望 看 见 闻 听 思 忆 怀 别 离 逢 过 度 渡 经 随 依 倚 临 登 上 下 绕 穿 照 映 流 浮 沉 吹 鸣 啼 歌 舞 笑 哭 泣 醉 醒 眠 梦 留 送 迎 寻 问 答 知 识 爱 怜 惜 恨 愁 悲 喜 忘 卷 舒 垂 挂 连 接 横 断 绝 尽 满 生 死 老 残 销 消 散 聚 合 分 移 转 迷 隔 傍 向 对 逐 追 惊 动 静 息 歇 住 停 驻 止 泊 游 征 戍 守 战 伐 耕 钓 采 种 折 攀 扫 洗 掩 敲 扣 吟 咏 读 写 题 书 画 饮 食 宿 居 在 有 无 成 作 为 添 增 减 侵 压 摇 拂 洒 滴 湿 沾 燃 烧 焚 耀 含 吐 衔 带 引 牵 拥 抱 遮 藏 隐 露 现 逝 驰 奔 走 步 跨 凌 越 渡 济 涉 问 语 言 谈 论 叹 吊 哀 伤 忧 羡 念 想 待 候 约 期 许 容 教 令 使 遣 催 助 劝 赠 寄 传 报 识 认 悟 觉 疑 信 宜 应 须 堪 能 可 解 会 得 失 胜 败 荣 枯 开 谢 发 生 长 暗 明 新 红 白 青 绿 黄 空',
  形: '多 少 大 小 高 低 长 短 深 浅 远 近 新 旧 老 轻 重 清 浊 明 暗 寒 暖 冷 热 孤 独 空 满 静 闲 忙 疏 密 稀 繁 残 衰 荒 幽 微 细 斜 直 平 险 危 遥 迢 久 古 香 芳 秀 美 好 佳 苦 甘 甜 酸 难 易 急 缓 迟 早 晚 晴 阴 干 乱 齐 壮 弱 强 贫 富 贵 贱 雄 悲 愁 欢 乐 凉 温 烈 猛 淡 浓 厚 薄 广 阔 窄 长 圆 尖 曲 高 峻 陡 乱 碎 全 半 满 虚 实 真 假 亲 疏 故 奇 异 怪 妙 巧 拙 愚 贤 圣 神 灵 精 粗 壮 健 病 瘦 肥 娇 媚 艳 丽 素 洁 净 污 湿 润 枯 焦 寂 寥 萧 瑟 凄 惨 哀 怨 恨 忧 惆 怅 悠 漫 茫 渺 苍 翠 碧 皎 朗 昏 冥 沉 浮 危 安 宁 康 泰',
};

// Groups of words that mean the same: two lines whose facing words are the
// same or of one group say one thing twice.
const SAME_SENSE = [
  '神州 赤县 华夏 中华 九州 中原',
  '千古 万古 万年 千秋 千载 万代 万世 终古 亘古',
  '日 阳 曦',
  '月 蟾 婵娟 玉兔 冰轮',
  '山 峰 岭 岳 峦 岫',
  '水 江 河 川 溪 流',
  '舟 船 帆 艇 棹 楫',
  '愁 忧 恨 悲 哀 伤 怨 戚',
  '喜 欢 乐 悦 欣',
  '看 望 见 视 观 睹 览 瞻 顾',
  '归 回 还 返',
  '去 往 行 走 赴',
  '来 至 到 临',
  '秀 美 丽 佳 好 妍',
  '青 绿 碧 翠 苍',
  '红 赤 丹 朱 绛 彤',
  '白 素 皓 皎 缟',
  '长 永 久 远',
  '高 崇 峻 巍',
  '大 巨 宏 洪',
  '小 细 微',
  '新 初',
  '旧 故 陈',
  '花 葩 英 华',
  '草 卉',
  '树 木',
  '路 道 径 途',
  '家 室 宅 居 舍',
  '国 邦 家国',
  '城 郭 邑',
  '门 户 扉',
  '言 语 话 辞 词',
  '歌 曲 谣 吟',
  '泪 涕',
  '心 怀 胸 衷 情 意',
  '老 衰 暮',
  '死 亡 殁 卒',
  '笑 哂',
  '哭 泣 啼',
  '风 飙 飔',
  '云 雾 岚 霭',
  '鸟 禽',
  '鱼 鳞',
  '春 阳春',
  '夜 宵',
  '朝 晨 晓 旦',
  '暮 晚 夕 昏',
  '年 岁 载',
  '万 千 百',
  '人 民 众',
  '君 王 帝 皇',
  '臣 吏 官',
  '旗 旌 帜',
  '兵 军 师 卒',
  '马 骑 驹 骥',
  '光 辉 晖 华 耀',
  '明 亮 朗',
  '暗 昏 冥',
  '冷 寒 凉 凄',
  '暖 温 热 暄',
  '静 寂 宁',
  '闲 暇 逸',
];

// ---- reading the sources ----------------------------------------------------------

function charTags() {
  const src = readFileSync(join(jiebaDir, 'posseg', 'char_state_tab.py'), 'utf8');
  const keys = [...src.matchAll(/'((?:\\u[0-9a-f]{4})+|[^'\\])':\s*\(/g)];
  const out = new Map();
  for (let i = 0; i < keys.length; i++) {
    const ch = JSON.parse(`"${keys[i][1]}"`);
    const body = src.slice(keys[i].index, i + 1 < keys.length ? keys[i + 1].index : src.length);
    out.set(ch, [...body.matchAll(/\('S', '(\w+)'\)/g)].map((m) => m[1]));
  }
  return out;
}

function dictionary() {
  const out = new Map();   // word -> { tag, count }
  for (const line of readFileSync(join(jiebaDir, 'dict.txt'), 'utf8').split('\n')) {
    const [word, count, tag] = line.trim().split(' ');
    if (!word || !tag || !/^\p{Script=Han}+$/u.test(word)) continue;
    const n = Number(count);
    const seen = out.get(word);
    if (!seen || n > seen.count) out.set(word, { tag, count: n });
  }
  return out;
}

// Characters and two-character words at their word places in Tang regulated verse.
function tangUsage() {
  const t2s = OpenCC.Converter({ from: 't', to: 'cn' });
  const chars = new Map();
  const pairs = new Map();
  const bump = (m, k) => m.set(k, (m.get(k) || 0) + 1);
  for (const file of tangPoemFiles()) {
    for (const poem of JSON.parse(readFileSync(file, 'utf8'))) {
      const lines = regulatedLines(poem.paragraphs || []);
      if (!lines) continue;
      for (const raw of lines) {
        const l = [...t2s(raw)];
        for (const c of l) bump(chars, c);
        const starts = l.length === 5 ? [0, 2, 3] : [0, 2, 4, 5];
        for (const s of starts) bump(pairs, l[s] + l[s + 1]);
      }
    }
  }
  return { chars, pairs };
}

const words = lists => lists.split(/\s+/).filter(Boolean);

// ---- the table ----------------------------------------------------------------------

const tags = charTags();
const dict = dictionary();
const usage = tangUsage();

const entries = new Map();   // word -> { classes: [], fine: '' }
const addClass = (e, c) => { if (c && !e.classes.includes(c)) e.classes.push(c); };

for (const [ch, n] of usage.chars) {
  if (n < MIN_CHAR || !/^\p{Script=Han}$/u.test(ch)) continue;
  const e = { classes: [], fine: '' };
  for (const t of tags.get(ch) || []) addClass(e, TAG_CLASS[t]);
  const d = dict.get(ch);
  if (d) addClass(e, TAG_CLASS[d.tag]);
  if (e.classes.length) entries.set(ch, e);
}

for (const [w, n] of usage.pairs) {
  if (n < MIN_WORD || [...w].length !== 2) continue;
  const d = dict.get(w);
  if (!d || !TAG_CLASS[d.tag]) continue;
  entries.set(w, { classes: [TAG_CLASS[d.tag]], fine: TAG_FINE[d.tag] || '' });
}

const entry = (w) => {
  if (!entries.has(w)) entries.set(w, { classes: [], fine: '' });
  return entries.get(w);
};
// A hand-listed class goes first; the fine class is the list's.
const put = (w, cls, fine) => {
  const e = entry(w);
  e.classes = [cls, ...e.classes.filter((c) => c !== cls)];
  if (fine) e.fine = fine;
};
for (const [fine, list] of Object.entries(FUNCTION_WORDS)) {
  for (const w of words(list)) {
    // Negations stand first as function words; the others are added after
    // the classes the character already has (临 依 随 are verbs as well).
    const e = entry(w);
    if (fine === '否') put(w, '虚字', fine);
    else addClass(e, '虚字');
    if (!e.fine) e.fine = fine;
  }
}
for (const [cls, list] of Object.entries(CLASSES)) for (const w of words(list)) put(w, cls, '');
for (const [fine, list] of Object.entries(NOUNS)) {
  for (const w of words(list)) {
    put(w, '名', fine);
    const e = entry(w);
    // A noun of this list is no number, and no function word unless listed so.
    e.classes = e.classes.filter((c) => c !== '数' || words(CLASSES.数).includes(w));
  }
}
for (const [cls, list] of Object.entries(ALSO)) for (const w of words(list)) addClass(entry(w), cls);
// Colours and numbers: the fine class is the class (a colour faces a colour).
// A colour is an adjective as well (丹山 faces 废苑 as 荒山 would).
for (const w of words(CLASSES.颜色)) {
  if (!entry(w).fine) entry(w).fine = '颜色';
  addClass(entry(w), '形');
}

const sense = new Map();
for (const group of SAME_SENSE) {
  const ws = words(group);
  for (const w of ws) if (!sense.has(w)) sense.set(w, ws[0]);
}
for (const w of sense.keys()) if (!entries.has(w) || !entries.get(w).classes.length) sense.delete(w);

const rows = [...entries]
  .filter(([, e]) => e.classes.length)
  .sort(([a], [b]) => [...a].length - [...b].length || (a < b ? -1 : a > b ? 1 : 0))
  .map(([w, e]) => [w, e.classes.join('|'), e.fine, sense.get(w) || '']);
const n = writeTable(join(seedDir, '对仗词类.tsv'), ['词', '词类', '细类', '同义'], rows);
console.log(`对仗词类.tsv: ${n} rows (${rows.filter((r) => [...r[0]].length === 1).length} characters)`);
