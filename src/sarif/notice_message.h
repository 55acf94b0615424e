// The text a document gives a notice, shared by the SARIF log and the GitLab
// report: the rule's short text (notice 22: its keyword and the scope
// wording), and " in function NAME" (class, struct, interface) when it
// belongs to one.
#pragma once

#include <string>

#include "sarif/notice_capture.h"

// "function", "class", "struct", "interface"; "" for none.
const char* NoticeEntityKindWord(NoticeEntityKind kind);
// The kind a SARIF logical location gives: "function" or "type".
const char* LogicalLocationKind(NoticeEntityKind kind);
// The message without its entity part.
std::string NoticeMessageHead(const NoticeRule& rule, const char* keyword);
// " in function NAME", or "" for none.
std::string NoticeEntitySuffix(const NoticeEntity& entity);
// The whole message of a captured notice.
std::string NoticeMessage(const NoticeRule& rule, const CapturedNotice& notice, const FileNotices& file);
// What the text of a document's result depends on besides its rule: the
// notice's entity and keyword. A document keeps one result template per
// rule and makes it again only when these change within a file.
struct NoticeTemplateKey {
  unsigned stamp = 0;  // the file it was made for
  int entity = -2;
  char keyword[sizeof CapturedNotice::keyword] = {};
  // True when the notice has this key in the file of stamp; otherwise the
  // key becomes the notice's and false says the template is to be made.
  bool Reuse(unsigned fileStamp, const CapturedNotice& n);
};
// Appends a notice's message head, JSON-escaped: escapedHead, the rule's
// own, or for a scope notice the text naming its keyword.
void AppendNoticeMessageHead(std::string& out, const NoticeRule& rule, const CapturedNotice& n,
                             const std::string& escapedHead);
// The last part of a qualified name (after the last "::" or "." outside
// template arguments).
std::string_view SimpleName(std::string_view qualified);
