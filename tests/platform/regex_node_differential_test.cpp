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

TEST(RegexNodeDifferentialTest, AgreesWithJavaScript) {
  const QString node = QStandardPaths::findExecutable("node");
  if (node.isEmpty()) GTEST_SKIP() << "node is not installed";

  QJsonArray cases;
  for (const char* pattern : kPatterns)
    for (const char* subject : kSubjects)
      for (const char* flags : kFlags)
        cases.append(QJsonObject{{"pattern", QString::fromUtf8(pattern)},
                                 {"subject", QString::fromUtf8(subject)},
                                 {"flags", QString::fromUtf8(flags)},
                                 {"replacement", QString::fromUtf8(kReplacement)}});

  QProcess process;
  process.start(node, {"-e", QString::fromUtf8(kNodeScript)});
  ASSERT_TRUE(process.waitForStarted(10000));
  process.write(QJsonDocument(cases).toJson(QJsonDocument::Compact));
  process.closeWriteChannel();
  ASSERT_TRUE(process.waitForFinished(60000));
  const QJsonArray expected = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
  ASSERT_EQ(expected.size(), cases.size()) << process.readAllStandardError().toStdString();

  int failures = 0;
  for (qsizetype k = 0; k < cases.size() && failures < 20; ++k) {
    const QJsonObject c = cases[k].toObject();
    const QJsonObject ours = OursFor(c["pattern"].toString(), c["flags"].toString(),
                                     c["subject"].toString(), c["replacement"].toString());
    if (ours != expected[k].toObject()) {
      ++failures;
      ADD_FAILURE()
          << "pattern /" << c["pattern"].toString().toStdString() << "/"
          << c["flags"].toString().toStdString() << " subject \""
          << c["subject"].toString().toStdString() << "\"\n  node: "
          << QJsonDocument(expected[k].toObject()).toJson(QJsonDocument::Compact).toStdString()
          << "\n  ours: " << QJsonDocument(ours).toJson(QJsonDocument::Compact).toStdString();
    }
  }
}

}  // namespace
}  // namespace zendra
