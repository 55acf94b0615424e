// Type bodies: the stack of nested types, the header lines around a body and
// the class records.
#include <string>

#include "common/gcd.h"
#include "structure/entity_records.h"
#include "common/output.h"
#include "engine/trace.h"
#include "inheritance/inheritance.h"
#include "notices/notices.h"
#include "reports/entity_lines.h"
#include "reports/format.h"
#include "structure/classes.h"
#include "structure/entity_index.h"
#include "structure/structure_log.h"
#include "structure/qualify.h"

namespace {

// The words of a type's header and trace lines.
struct TypeWords {
  const char* label;       // "Class", "Struct", "Interface"
  const char* noticeKind;  // "class", "struct", "interface"
  int noticeNumber;        // no preceding comment: 52, 53, 54
};

TypeWords WordsOf(const TypeState& t) {
  if (t.isInterface) return {"Interface", "interface", 54};
  if (t.isStruct) return {"Struct", "struct", 53};
  return {"Class", "class", 52};
}

bool TypeLinesShown(const GlobalData& gcd) { return gcd.sw.objectMetrics && !gcd.sw.totalsOnly; }

std::string Escaped(const char* text) {
  std::string out(6 * std::string_view(text).size() + 1, '\0');
  HTML_esc(text, out.data());
  out.resize(std::string_view(out.c_str()).size());
  return out;
}

// "  Class: %s\n" and its relatives; leadingNewline for the closing line.
void WriteTypeLine(const char* leadingNewline, bool withTemplate, GlobalData& gcd) {
  const TypeState& t = gcd.st.type;
  const TypeWords w = WordsOf(t);
  const bool nested = gcd.st.classDepth >= 1;
  std::string label = std::string(nested ? "Nested " : "") + w.label;
  // Width 74 less the label's length ("  Class: " is 9 wide).
  const int indent = static_cast<int>(label.size()) + 4;
  const int width = 74 - indent;
  char name[kTextBuf];
  AdjNameLength(t.name.c_str(), name, width, indent, gcd);
  char templ[kTextBuf];
  AdjNameLength(t.templ.c_str(), templ, width, indent, gcd);
  const bool showTemplate = withTemplate && !t.isInterface && !t.templ.empty();
  switch (gcd.sw.outputMode) {
    case OutputMode::Html: {
      const char* color = gcd.cfg.htmlClassColor.c_str();
      if (t.isInterface)
        OutF("%s  <b>%s</b>: <b><font color=\"%s\">%-46s</font></b>\n", leadingNewline, label.c_str(), color,
             Escaped(name).c_str());
      else
        OutF("%s  <b>%s</b>: <b><font color=\"%s\">%s</font></b>\n", leadingNewline, label.c_str(), color,
             Escaped(name).c_str());
      if (showTemplate)
        OutF("  <b>Template</b>: <b><font color=\"%s\">%s</font></b>\n", gcd.cfg.htmlTemplateColor.c_str(),
             Escaped(templ).c_str());
      break;
    }
    case OutputMode::Text:
      if (showTemplate)
        OutF("%s  %s: %s\n  Template: %s\n", leadingNewline, label.c_str(), name, templ);
      else
        OutF("%s  %s: %s\n", leadingNewline, label.c_str(), name);
      break;
    default:
      break;
  }
}

std::string StateLabel(const char* what, GlobalData& gcd) {
  const TypeWords w = WordsOf(gcd.st.type);
  return std::string(gcd.st.classDepth >= 1 ? "Nested " : "") + w.label + " " + what;
}

}  // namespace

void ResetAccess(GlobalData& gcd) {
  TypeState& t = gcd.st.type;
  // C++ structs and every interface start public, classes private.
  const bool open = t.isInterface || (t.isStruct && !gcd.lang.isCSharp);
  t.access[0] = open ? 1 : 0;
  t.access[1] = 0;
  t.access[2] = open ? 0 : 1;
}

void SetAccess(int section, GlobalData& gcd) {
  TypeState& t = gcd.st.type;
  for (int k = 0; k < 3; ++k) t.access[k] = k == section ? 1 : 0;
}

void PushNestedClass(GlobalData& gcd) {
  StructureState& st = gcd.st;
  ++st.classDepth;
  if (st.classDepth <= kMaxSavedTypes) st.savedTypes.push_back(std::move(st.type));
  st.type = TypeState{};
}

void PopNestedClass(GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (st.classDepth <= 0) {
    // Only a pop without a push gets here: the brace frames pop what was pushed.
    OutF("\n  Error: Nested Class indexing\n");
    st.classDepth = 0;
    return;
  }
  // Levels beyond the saved frames only decrement the depth (and credit nothing).
  if (st.classDepth <= kMaxSavedTypes && !st.savedTypes.empty()) {
    st.type = std::move(st.savedTypes.back());
    st.savedTypes.pop_back();
  } else {
    st.type = TypeState{};
  }
  --st.classDepth;
}

void ClassBegin(GlobalData& gcd) {
  if (!TypeLinesShown(gcd)) return;
  ShowStateLine(gcd.drv.lineNumber, StateLabel("Begin", gcd).c_str());
  WriteTypeLine("", true, gcd);
}

void ClassEnd(GlobalData& gcd) {
  if (!TypeLinesShown(gcd)) return;
  WriteTypeLine("\n", false, gcd);
}

void Add_Class2Class(GlobalData& gcd) {
  StructureState& st = gcd.st;
  if (st.classDepth <= 0 || st.savedTypes.empty()) return;
  const TypeState& inner = st.type;
  TypeState& outer = st.savedTypes.back();
  if (outer.record == nullptr || IsNamespaceName(outer.record->name, gcd)) return;
  // The enclosing type's counters take the nested type's, so that they reach
  // its record, and every type around it, when it closes.
  for (int k = 0; k < 3; ++k) {
    outer.methods[k] += inner.methods[k];
    outer.attributes[k] += inner.attributes[k];
  }
  ClassHoldsNested(*outer.record) = 1;
}

void OpenClassBody(int lineNumber, GlobalData& gcd) {
  StructureState& st = gcd.st;
  TypeHead& head = st.head;
  std::string name = head.name;
  QualifyTypeName(name, gcd);
  // The part of a template argument list that ran on past the name's line.
  if (head.openAngles > 0) {
    int depth = head.openAngles;
    std::size_t p = 0;
    for (; p < head.text.size() && depth > 0; ++p) {
      if (head.text[p] == '<') ++depth;
      else if (head.text[p] == '>') --depth;
    }
    head.text.erase(0, p);
  }
  // The base list: after the first single ':' in C++ and C#, the extends
  // (and implements) words in Java.
  std::string bases;
  if (gcd.lang.isJava) {
    bases = head.text;
  } else {
    for (std::size_t p = head.text.find(':'); p != std::string::npos; p = head.text.find(':', p + 2)) {
      if (p + 1 < head.text.size() && head.text[p + 1] == ':') continue;
      bases = head.text.substr(p + 1);
      break;
    }
  }
  FormatInheritline(bases, gcd);
  const int kind = head.kind;
  if (st.class_flag) PushNestedClass(gcd);
  TypeState& t = st.type;
  t.name = name;
  t.nameLine = head.nameEndLine > 0 ? head.nameEndLine : lineNumber;
  t.isStruct = kind == 2;
  t.isInterface = kind == 3;
  t.bases = bases;
  if (!st.pendingTemplate.empty()) t.templ = st.pendingTemplate;
  t.begin = TakeLineSnapshot(lineNumber, gcd);
  ResetAccess(gcd);
  st.class_flag = 1;
  ++st.classBodyDepth;
  FileCounts& fc = gcd.eng.fc;
  ++(t.isInterface ? fc.interfaces : t.isStruct ? fc.structs : fc.classes);

  NodeData rec;
  rec.name = t.isInterface ? "Interface-" + name : name;
  if (rec.name.size() > kTextMax) rec.name.resize(kTextMax);
  rec.text1 = t.templ;
  rec.text2 = bases;
  rec.fileName = gcd.drv.currentFileName;
  rec.line = lineNumber;
  ClassParents(rec) = CountParents(bases);
  ClassIsStruct(rec) = t.isStruct;
  ClassIsNested(rec) = st.classDepth >= 1 ? 1 : 0;
  t.record = PlaceTypeRecord(std::move(rec), t.isInterface, gcd);

  const TypeWords w = WordsOf(t);
  if (!gcd.eng.lex.comment_pending) EmitNoComment(w.noticeNumber, w.noticeKind, gcd);
  fc.commentRun = 0;
  gcd.eng.lex.comment_pending = 0;
  if (gcd.sw.qualityNotices)
    ClassBegin(gcd);
  else
    EmitClass(gcd);
  if (!bases.empty()) EmitInheritanceLine(t.isInterface ? ("Interface-" + name).c_str() : name.c_str(),
                                          bases.c_str(), gcd);
  st.pendingTemplate.clear();
  head = TypeHead{};
}

void CloseClassBody(int lineNumber, GlobalData& gcd) {
  StructureState& st = gcd.st;
  TypeState& t = st.type;
  const FileCounts& fc = gcd.eng.fc;
  const LineSnapshot& b = t.begin;
  const int loc = fc.loc + 1 - b.loc;
  const int eloc = loc - (fc.parenOnlyLines + fc.braceOnlyLines - b.nonEffective);
  const int lloc = fc.statements - b.statements - (fc.fors - b.fors);
  const int comments = fc.comment - b.comments + b.commentRun;
  const int blanks = fc.blank - b.blanks;
  const int lines = lineNumber - b.line + 1;

  ClassEndInfo info;
  const TypeWords w = WordsOf(t);
  info.kind = w.label;
  info.isStruct = t.isStruct;
  info.loc = loc;
  info.comments = comments;
  info.blanks = blanks;
  info.whitespace = fc.whitespace - b.whitespace;
  info.characters = fc.characters - b.characters;
  info.methods = t.methods[0] + t.methods[1] + t.methods[2];
  info.virtualMethods = fc.virtuals - b.virtuals;
  info.virtualDestructor = t.virtualDestructor;
  CheckClassEnd(info, gcd);

  if (gcd.sw.qualityNotices && TypeLinesShown(gcd)) {
    ClassEnd(gcd);
    ShowStateLine(lineNumber, StateLabel("End", gcd).c_str());
  }
  if (NodeData* rec = t.record) {
    rec->loc += loc;
    rec->eloc += eloc;
    rec->lloc += lloc;
    rec->comments += comments;
    rec->blanks += blanks;
    rec->lines += lines;
    ClassPublicMethods(*rec) += t.methods[0];
    ClassProtectedMethods(*rec) += t.methods[1];
    ClassPrivateMethods(*rec) += t.methods[2];
    ClassPublicAttributes(*rec) += t.attributes[0];
    ClassProtectedAttributes(*rec) += t.attributes[1];
    ClassPrivateAttributes(*rec) += t.attributes[2];
  }
  --st.classBodyDepth;
  if (st.classDepth > 0) {
    Add_Class2Class(gcd);
    PopNestedClass(gcd);
  } else {
    st.type = TypeState{};
    st.class_flag = 0;
  }
}
