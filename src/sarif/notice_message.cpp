#include "sarif/notice_message.h"

#include <cstring>

#include "json/json_writer.h"
#include "notices/notice_emit.h"

const char* NoticeEntityKindWord(NoticeEntityKind kind) {
  switch (kind) {
    case NoticeEntityKind::Function: return "function";
    case NoticeEntityKind::Class: return "class";
    case NoticeEntityKind::Struct: return "struct";
    case NoticeEntityKind::Interface: return "interface";
    case NoticeEntityKind::None: break;
  }
  return "";
}

const char* LogicalLocationKind(NoticeEntityKind kind) { return kind == NoticeEntityKind::Function ? "function" : "type"; }

std::string NoticeMessageHead(const NoticeRule& rule, const char* keyword) {
  if (keyword == nullptr || keyword[0] == '\0') return rule.shortText;
  return std::string("'") + keyword + "' " + kScopeNoticeWording;
}

std::string NoticeEntitySuffix(const NoticeEntity& entity) {
  if (entity.kind == NoticeEntityKind::None || entity.name.empty()) return std::string();
  return std::string(" in ") + NoticeEntityKindWord(entity.kind) + " " + entity.name;
}

std::string NoticeMessage(const NoticeRule& rule, const CapturedNotice& notice, const FileNotices& file) {
  std::string text = NoticeMessageHead(rule, notice.keyword);
  if (notice.entity >= 0 && notice.entity < static_cast<int>(file.entities.size()))
    text += NoticeEntitySuffix(file.entities[static_cast<std::size_t>(notice.entity)]);
  return text;
}

std::string_view SimpleName(std::string_view qualified) {
  int angles = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < qualified.size(); ++i) {
    const char c = qualified[i];
    if (c == '<') ++angles;
    else if (c == '>' && angles > 0) --angles;
    else if (angles == 0 && c == '.' ) start = i + 1;
    else if (angles == 0 && c == ':' && i + 1 < qualified.size() && qualified[i + 1] == ':') start = i + 2;
  }
  // An operator name keeps its symbols ("operator::" is not split after it).
  if (start >= qualified.size()) return qualified;
  return qualified.substr(start);
}

bool NoticeTemplateKey::Reuse(unsigned fileStamp, const CapturedNotice& n) {
  if (stamp == fileStamp && entity == n.entity && keyword[0] == n.keyword[0] &&
      (n.keyword[0] == '\0' || std::strcmp(keyword, n.keyword) == 0))
    return true;
  stamp = fileStamp;
  entity = n.entity;
  std::memcpy(keyword, n.keyword, sizeof keyword);
  return false;
}

void AppendNoticeMessageHead(std::string& out, const NoticeRule& rule, const CapturedNotice& n,
                             const std::string& escapedHead) {
  if (n.keyword[0] != '\0') AppendJsonStringContent(out, NoticeMessageHead(rule, n.keyword));
  else out += escapedHead;
}
