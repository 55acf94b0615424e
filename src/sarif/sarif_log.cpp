#include "sarif/sarif_log.h"

#include <cstring>

#include "common/version.h"
#include "sarif/notice_message.h"
#include "sarif/source_location.h"

namespace {

constexpr const char* kSchema = "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";
constexpr const char* kFingerprintName = "lqaNotice/v1";

inline char* Put(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

// MAJOR.MINOR.PATCH from the program's version ("7.75" is "7.75.0").
std::string SemanticVersion() {
  std::string v = kLqaVersion;
  int dots = 0;
  for (char c : v) dots += c == '.';
  for (; dots < 2; ++dots) v += ".0";
  return v;
}

void WriteRule(JsonWriter& json, const NoticeRule& rule) {
  json.BeginObject();
  json.Key("id").String(rule.id);
  json.Key("shortDescription").BeginObject().Key("text").String(rule.shortText).EndObject();
  json.Key("fullDescription").BeginObject().Key("text").String(rule.fullText).EndObject();
  json.Key("help").BeginObject().Key("text").String(rule.helpText).EndObject();
  json.Key("defaultConfiguration").BeginObject().Key("level").String(SarifLevelName(rule.rank.level)).EndObject();
  json.Key("properties").BeginObject();
  json.Key("category").String(CategoryName(rule.rank.category));
  json.Key("tags").BeginArray().String(CategoryName(rule.rank.category)).EndArray();
  json.EndObject();
  json.EndObject();
}

}  // namespace

void SarifLog::Begin(const NoticeRuleTable& rules, const std::string& baseDir) {
  json_.BeginObject();
  json_.Key("$schema").String(kSchema);
  json_.Key("version").String("2.1.0");
  json_.Key("runs").BeginArray().BeginObject();
  json_.Key("tool").BeginObject().Key("driver").BeginObject();
  json_.Key("name").String("lqa");
  json_.Key("version").String(kLqaVersion);
  json_.Key("semanticVersion").String(SemanticVersion());
  json_.Key("rules").BeginArray();
  for (const NoticeRule& rule : rules.rules) WriteRule(json_, rule);
  json_.EndArray().EndObject().EndObject();
  std::string base = FileUri(baseDir);
  if (base.empty() || base.back() != '/') base += '/';
  json_.Key("originalUriBaseIds").BeginObject().Key("SRCROOT").BeginObject().Key("uri").String(base).EndObject().EndObject();
  json_.Key("results").BeginArray();

  // Every result of a rule starts alike.
  resultHeads_.clear();
  messages_.clear();
  for (std::size_t i = 0; i < rules.rules.size(); ++i) {
    const NoticeRule& rule = rules.rules[i];
    std::string head = "{\"ruleId\":";
    AppendJsonString(head, rule.id);
    head += ",\"ruleIndex\":";
    AppendJsonInt(head, static_cast<long long>(i));
    head += ",\"level\":\"";
    head += SarifLevelName(rule.rank.level);
    head += "\",\"message\":{\"text\":\"";
    resultHeads_.push_back(std::move(head));
    std::string message;
    AppendJsonStringContent(message, NoticeMessageHead(rule, nullptr));
    messages_.push_back(std::move(message));
  }
  templates_.assign(rules.rules.size(), Template{});
}

const SarifLog::EntityText& SarifLog::EntityTextFor(int entity, const FileNotices& file) {
  EntityText& t = entityTexts_[static_cast<std::size_t>(entity)];
  if (t.made) return t;
  t.made = 1;
  const NoticeEntity& e = file.entities[static_cast<std::size_t>(entity)];
  AppendJsonStringContent(t.suffix, NoticeEntitySuffix(e));
  const std::string_view name = SimpleName(e.name);
  t.logical = "\"logicalLocations\":[{\"name\":";
  AppendJsonString(t.logical, name);
  if (name.size() != e.name.size()) {
    t.logical += ",\"fullyQualifiedName\":";
    AppendJsonString(t.logical, e.name);
  }
  t.logical += ",\"kind\":\"";
  t.logical += LogicalLocationKind(e.kind);
  t.logical += "\"}]";
  return t;
}

const SarifLog::Template& SarifLog::TemplateFor(const CapturedNotice& n, const FileNotices& file,
                                                const NoticeRuleTable& rules) {
  const auto r = static_cast<std::size_t>(n.rule);
  Template& t = templates_[r];
  if (t.key.Reuse(stamp_, n)) return t;
  t.beforeLine = resultHeads_[r];
  AppendNoticeMessageHead(t.beforeLine, rules.rules[r], n, messages_[r]);
  static const std::string kNone;
  const std::string* logical = &kNone;
  if (n.entity >= 0) {
    const EntityText& e = EntityTextFor(n.entity, file);
    t.beforeLine += e.suffix;
    logical = &e.logical;
  }
  t.beforeLine += "\"}";
  t.beforeFingerprint.clear();
  // Without a file the result has no line: everything up to the
  // fingerprint comes before it.
  std::string& tail = physicalHead_.empty() ? t.beforeLine : t.beforeFingerprint;
  if (!physicalHead_.empty()) {
    t.beforeLine += ",\"locations\":[{";
    t.beforeLine += physicalHead_;
    tail += "}}";
    if (!logical->empty()) tail += ',';
    tail += *logical;
    tail += "}]";
  } else if (!logical->empty()) {
    tail += ",\"locations\":[{" + *logical + "}]";
  }
  tail += ",\"partialFingerprints\":{\"";
  tail += kFingerprintName;
  tail += "\":\"";
  return t;
}

void SarifLog::Write(const FileNotices& file, const NoticeRuleTable& rules) {
  if (file.notices.empty()) return;
  ++stamp_;
  entityTexts_.clear();
  entityTexts_.resize(file.entities.size());
  physicalHead_.clear();
  // A notice without a file of its own (a made-up root of the inheritance
  // forest) has no physical location.
  if (!file.location.uri.empty()) {
    physicalHead_ = "\"physicalLocation\":{\"artifactLocation\":{\"uri\":";
    AppendJsonString(physicalHead_, file.location.uri);
    if (file.location.inBase) physicalHead_ += ",\"uriBaseId\":\"SRCROOT\"";
    physicalHead_ += "},\"region\":{\"startLine\":";
  }
  const bool physical = !physicalHead_.empty();
  for (const CapturedNotice& n : file.notices) {
    const Template& t = TemplateFor(n, file, rules);
    std::string& out = json_.BeginRawValue();
    // One resize and plain copies: this runs once for every notice.
    const std::size_t at = out.size();
    out.resize(at + t.beforeLine.size() + 20 + t.beforeFingerprint.size() + sizeof n.fingerprint + 3);
    char* p = out.data() + at;
    p = Put(p, t.beforeLine);
    if (physical) {
      p = WriteJsonInt(p, n.line);
      p = Put(p, t.beforeFingerprint);
    }
    p = Put(p, std::string_view(n.fingerprint, sizeof n.fingerprint));
    p = Put(p, "\"}}");
    out.resize(static_cast<std::size_t>(p - out.data()));
    json_.EndRawValue();
    ++results_;
  }
}

bool SarifLog::End() {
  json_.EndArray();  // results
  json_.EndObject().EndArray().EndObject();
  return json_.Flush();
}
