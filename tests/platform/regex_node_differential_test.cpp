// Compares the regular-expression component with Node.js's RegExp over a corpus of
// patterns, subjects and flags. Runs offline; skipped where node is not installed.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include "platform/codepage/code_page.h"
#include "platform/regex/pcre2_program.h"
#include "platform/regex/pcre2_reg_exp.h"

namespace zendra {
namespace {

// Every pattern is one that JavaScript accepts.
const char* const kPatterns[] = {
    R"(\d+)",
    R"((a)|(b))",
    R"(a*?)",
    R"(^)",
    R"($)",
    R"(^\w+$)",
    R"(x*)",
    R"((a)(b)?)",
    R"([\s\S]*?)",
    R"(<a>([\s\S]*?)</a>)",
    R"(\s+)",
    R"([^\s]+)",
    R"(\S+)",
    R"(\bfoo\b)",
    R"((\w)\1)",
    R"((a)?\1b)",
    R"(.)",
    R"(.+)",
    R"([a-c]+)",
    R"([\d-z]+)",
    R"(\u4e2d)",
    R"(\x41|\x61)",
    R"(a{2})",
    R"(a{,2})",
    R"(a{2,})",
    R"({)",
    R"(a|)",
    R"((?:ab)+)",
    R"((?=a)a)",
    R"(a(?!b))",
    R"((?<=a)b)",
    R"((?<!a)b)",
    R"((?<n>\w)\k<n>)",
    R"(\cJ)",
    R"([\b])",
    R"(\0)",
    R"([^])",
    R"([])",
    R"(\/)",
    R"(\-)",
    R"([\]])",
    R"([[])",
    R"([a-])",
    R"((a|ab)(c|bcd)(d*))",
    R"(\p)",
    R"(\a\e\q)",
    R"(\k)",
    R"(\8)",
    R"(\12)",
    "中+",
    "[中文]+",
    R"(^a|b$)",
    R"(\v)",
    R"(a.c)",
    R"(\w+@\w+)",
    R"([^a-z\s]+)",
    R"((\d)(\d)?(\d)?)",
    R"([\w\u4e00-\u9fff]+)",
    R"(B)",
    R"([^\d\s])",
    R"(\3(a)(b)(c))",
    R"((?:)|b)",
    R"(\u3000)",
    R"([\s]+)",
    R"(}|])",
    R"(a\b)",
    R"(\B.)",
    R"(é)",
    // Repeated groups: captures cleared at each repetition, an empty repetition ends them.
    R"((?:(a)|b)+)",
    R"((a*)*b)",
    R"((z)((a+)?(b+)?(c))*)",
    R"((a*)+b)",
    R"((a?)?c)",
    R"(((a)|b){2,3})",
    R"((?:(x)|(y))*?z)",
    R"((\w)+?c)",
    R"((?<w>a|b)*c\k<w>)",
    R"((a)|\1b)",
    R"(((a)|(b))*)",
    R"((?:(a)|())*b)",
    // Control escapes inside sets, lone surrogates.
    R"([\c1\c_]+)",
    R"([\cJ\c])",
    R"(\ud800|a)",
    R"([\ud800-\udbff]|b)",
    R"([^\udc00]+)",
    R"([\ud7ff-\ue000])",
    // Letter case outside ASCII.
    R"(θ+)",
    R"([α-ω]+)",
    R"([^k]+)",
    R"(Ω|k)",
};

const char* const kSubjects[] = {
    "",
    "abc",
    "aaa",
    "a1b22c333",
    "foo bar\nbaz foo",
    "<a>1</a><a>x\ny</a>",
    "中文中 abc　def",
    "A\tB\vC\fD",
    "aabbcc",
    "ab\nab\n",
    "xa\nb",
    "Ab12cD345",
    "a/b-c]d[e{f}",
    "\b\n\x01x",
    "abcbcd",
    "x@y.z mail@host",
    "éeE",
    "ab",
    "aab",
    "zaacbbbcac",
    "bbaacxyz",
    "\x11\x1f_1\\c",
    "θΘωΩ kK sS",
};

const char* const kFlags[] = {"", "g", "gi", "gm", "gim"};
const char* const kReplacement = "[$1|$&|$`|$'|$$|$2|$10|$0|$<n>]";

const char* const kNodeScript = R"JS(
let input = '';
process.stdin.setEncoding('utf8');
process.stdin.on('data', d => input += d);
process.stdin.on('end', () => {
  const cases = JSON.parse(input);
  const out = cases.map(c => {
    let re;
    try { re = new RegExp(c.pattern, c.flags); } catch (e) { return { error: true }; }
    const list = c.flags.includes('g') ? [...c.subject.matchAll(re)]
                                        : [re.exec(c.subject)].filter(m => m);
    const matches = list.map(m => ({ index: m.index, value: m[0],
                                     groups: m.slice(1).map(g => g === undefined ? null : g) }));
    re.lastIndex = 0;
    return { matches, replaced: c.subject.replace(re, c.replacement) };
  });
  process.stdout.write(JSON.stringify(out));
});
)JS";

QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject OursFor(const QString& pattern, const QString& flags, const QString& subject,
                    const QString& replacement) {
  auto cp936 = [](const QString& s) { return Utf16ToCp936(s.toStdU16String()); };
  auto back = [](const Text& t) { return ToQString(Cp936ToUtf16(t)); };
  const ObjectRef<RegExp> engine = MakePcre2RegExp();
  engine.Call(&RegExp::SetGlobal, flags.contains('g'));
  engine.Call(&RegExp::SetIgnoreCase, flags.contains('i'));
  engine.Call(&RegExp::SetMultiline, flags.contains('m'));
  engine.Call(&RegExp::SetPattern, cp936(pattern));
  const ObjectRef<MatchCollection> found = engine.Call(&RegExp::Execute, Variant(cp936(subject)));
  if (!found) return QJsonObject{{"error", true}};
  QJsonArray matches;
  for (std::int32_t k = 0; k < found.Call(&MatchCollection::Count); ++k) {
    const ObjectRef<Match> match = found.Call(&MatchCollection::Item, k);
    const ObjectRef<SubMatchCollection> groups = match.Call(&Match::SubMatches);
    QJsonArray groupValues;
    for (std::int32_t g = 0; g < groups.Call(&SubMatchCollection::Count); ++g) {
      const Variant value = groups.Call(&SubMatchCollection::Item, g);
      groupValues.append(value.IsEmpty() ? QJsonValue() : QJsonValue(back(value.AsText())));
    }
    matches.append(QJsonObject{{"index", match.Call(&Match::FirstIndex)},
                               {"value", back(match.Call(&Match::Value).AsText())},
                               {"groups", groupValues}});
  }
  const Text replaced =
      engine.Call(&RegExp::Replace, Variant(cp936(subject)), Variant(cp936(replacement)));
  return QJsonObject{{"matches", matches}, {"replaced", back(replaced)}};
}

// What Node.js makes of each case; skips the test where node is not installed.
QJsonArray NodeResults(const QJsonArray& cases) {
  const QString node = QStandardPaths::findExecutable("node");
  if (node.isEmpty()) return {};
  QProcess process;
  process.start(node, {"-e", QString::fromUtf8(kNodeScript)});
  // No time limit: on a busy machine node takes as long as it takes.
  if (!process.waitForStarted(-1)) return {};
  process.write(QJsonDocument(cases).toJson(QJsonDocument::Compact));
  process.closeWriteChannel();
  process.waitForFinished(-1);
  const QJsonArray results = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
  EXPECT_EQ(results.size(), cases.size()) << process.readAllStandardError().toStdString();
  return results;
}

void ReportDifference(const QJsonObject& c, const QJsonObject& node, const QJsonObject& ours) {
  ADD_FAILURE() << "pattern /" << c["pattern"].toString().toStdString() << "/"
                << c["flags"].toString().toStdString() << " subject \""
                << c["subject"].toString().toStdString() << "\"\n  node: "
                << QJsonDocument(node).toJson(QJsonDocument::Compact).toStdString()
                << "\n  ours: " << QJsonDocument(ours).toJson(QJsonDocument::Compact).toStdString();
}

TEST(RegexNodeDifferentialTest, AgreesWithJavaScript) {
  if (QStandardPaths::findExecutable("node").isEmpty()) GTEST_SKIP() << "node is not installed";

  QJsonArray cases;
  for (const char* pattern : kPatterns)
    for (const char* subject : kSubjects)
      for (const char* flags : kFlags)
        cases.append(QJsonObject{{"pattern", QString::fromUtf8(pattern)},
                                 {"subject", QString::fromUtf8(subject)},
                                 {"flags", QString::fromUtf8(flags)},
                                 {"replacement", QString::fromUtf8(kReplacement)}});
  const QJsonArray expected = NodeResults(cases);
  ASSERT_EQ(expected.size(), cases.size());

  int failures = 0;
  for (qsizetype k = 0; k < cases.size() && failures < 20; ++k) {
    const QJsonObject c = cases[k].toObject();
    const QJsonObject ours = OursFor(c["pattern"].toString(), c["flags"].toString(),
                                     c["subject"].toString(), c["replacement"].toString());
    if (ours != expected[k].toObject()) {
      ++failures;
      ReportDifference(c, expected[k].toObject(), ours);
    }
  }
}

// Letter case beyond what code page 936 holds (U+212A KELVIN SIGN, U+017F, U+2126, U+03F4
// and the like), so these go to the engine as UTF-16 text directly.
const char16_t* const kCasePatterns[] = {
    u"k",
    u"K",
    u"\\u212a",
    u"s",
    u"\\u017f",
    u"[a-z]+",
    u"[^k]",
    u"[^a-z]+",
    u"\\u03b8",
    u"\\u03f4",
    u"[\\u0391-\\u03c9]+",
    u"\\u03c9",
    u"\\u2126",
    u"\\u00df",
    u"\\u1e9e",
    u"\\u00e5",
    u"\\u212b",
    u"[\\W]+",
    u"[\\w]+",
    u"\\u1f80",
    u"[\\u1f80-\\u1f87]+",
    u"[^\\u03b8]",
    u"(?:s|\\u03c9)+",
    u"\\u00b5",
    u"[\\u00b5]",
};
const char16_t* const kCaseSubjects[] = {
    u"kK\u212a sS\u017f",
    u"\u03b8\u0398\u03d1\u03f4 \u03c9\u03a9\u2126",
    u"\u00df\u1e9e \u00e5\u00c5\u212b \u00b5\u03bc\u039c",
    u"\u1f80\u1f88\u1fb3\u1fbc",
};

QJsonObject OursForUtf16(const QString& pattern, const QString& flags, const QString& subject) {
  const auto program =
      Pcre2Program::Compile(pattern.toStdU16String(), flags.contains('i'), flags.contains('m'));
  if (!program) return QJsonObject{{"error", true}};
  const std::u16string text = subject.toStdU16String();
  QJsonArray matches;
  program->ForEachMatch(text, flags.contains('g'), [&](const std::size_t* offsets) {
    QJsonArray groups;
    for (std::uint32_t g = 1; g <= program->CaptureCount(); ++g) {
      if (offsets[2 * g] == static_cast<std::size_t>(-1)) {
        groups.append(QJsonValue());
      } else {
        groups.append(ToQString(text.substr(offsets[2 * g], offsets[2 * g + 1] - offsets[2 * g])));
      }
    }
    matches.append(
        QJsonObject{{"index", static_cast<qint64>(offsets[0])},
                    {"value", ToQString(text.substr(offsets[0], offsets[1] - offsets[0]))},
                    {"groups", groups}});
  });
  return QJsonObject{{"matches", matches}};
}

TEST(RegexNodeDifferentialTest, FoldsLetterCaseAsJavaScript) {
  if (QStandardPaths::findExecutable("node").isEmpty()) GTEST_SKIP() << "node is not installed";

  QJsonArray cases;
  for (const char16_t* pattern : kCasePatterns)
    for (const char16_t* subject : kCaseSubjects)
      for (const char* flags : {"gi", "i", "g"})
        cases.append(QJsonObject{{"pattern", QString::fromStdU16String(pattern)},
                                 {"subject", QString::fromStdU16String(subject)},
                                 {"flags", QString::fromUtf8(flags)},
                                 {"replacement", QString()}});
  const QJsonArray expected = NodeResults(cases);
  ASSERT_EQ(expected.size(), cases.size());

  int failures = 0;
  for (qsizetype k = 0; k < cases.size() && failures < 20; ++k) {
    const QJsonObject c = cases[k].toObject();
    QJsonObject node = expected[k].toObject();
    node.remove("replaced");
    const QJsonObject ours =
        OursForUtf16(c["pattern"].toString(), c["flags"].toString(), c["subject"].toString());
    if (ours != node) {
      ++failures;
      ReportDifference(c, node, ours);
    }
  }
}

}  // namespace
}  // namespace zendra
