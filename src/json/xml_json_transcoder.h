// A streaming transcoder of lqa's own XML document into one JSON document,
// {"format_version": 1, "lqadoc": {...}}, pretty-printed.
//
// It is fed the bytes the XML writers produce, in pieces of any size, and
// never builds a tree: it keeps the stack of open elements, the text of the
// current leaf, and the few members that must wait for the end of their
// object (see Placement in xml_json_rules.h). An element with children
// becomes an object, a leaf a member; a leaf's text becomes a JSON number
// when it reads as one (blanks stripped) and the element is no text element,
// null when it was printed as nan or inf, else a string with the entities
// decoded. Text written between the children of an element (extraction,
// listings, line traces, messages) goes, line by line without blank lines,
// into the array "text" at the end of its object. Bytes after the root
// element pass through as they are, from the first line that is not empty.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "json/json_writer.h"

class XmlJsonTranscoder {
 public:
  // Writes to out, which is not closed.
  explicit XmlJsonTranscoder(FILE* out);
  XmlJsonTranscoder(const XmlJsonTranscoder&) = delete;
  XmlJsonTranscoder& operator=(const XmlJsonTranscoder&) = delete;

  void Feed(const char* data, std::size_t n);
  void Feed(std::string_view text) { Feed(text.data(), text.size()); }
  // Closes every element still open (a run ended early), completes the
  // document and flushes. False once any write has failed.
  bool Finish();
  bool ok() const { return writer_.ok(); }
  int failure() const { return writer_.failure(); }

  // A JSON value written later than it was read: members deferred to the end
  // of their object are recorded and replayed.
  struct Event {
    enum Kind : unsigned char { BeginObject, EndObject, BeginArray, EndArray, Key, String, Raw, Null };
    Kind kind = Null;
    std::string text;
  };
  using EventList = std::vector<Event>;

 private:
  struct LateArray {
    std::string name;  // the member name the rules give
    std::string key;   // the name written
    EventList events;
  };
  struct Frame {
    std::string name;
    std::string key;                // the member name in the parent
    EventList* target = nullptr;    // where the value goes; null: the writer
    bool object = false;            // a child element was seen
    bool entry = false;             // a listing entry: "kind" first
    std::string text;               // the leaf's text, or the text since the last child
    std::string openArray;          // the key of the array being written
    int parameters = 0;             // parameters children seen
    EventList pending;              // members deferred to the end
    // Written to only before the child that records into one starts.
    std::vector<LateArray> lateArrays;
    std::vector<std::string> lines;  // text lines between the children
    std::string keys;                // member names written so far, each after a NUL
    std::uint64_t keyBits = 0;       // a bit per name written (a hash of it)
  };
  enum class Lex { Text, TagOpen, StartName, StartRest, EndName, Skip, SkipPi, Entity };
  enum class Doc { BeforeRoot, InRoot, After };

  void Emit(EventList* target, Event::Kind kind, std::string_view text = {});
  void Replay(const EventList& events, EventList* target);
  void StartElement(std::string_view name);
  std::size_t SimpleTag(const char* data, std::size_t i, std::size_t n);
  void EndElement(std::string_view name);
  void CloseTop();
  void BecomeObject(Frame& f);
  static std::string_view UniqueKey(Frame& parent, std::string_view key, std::string& scratch);
  Frame& Push();
  Frame& Top() { return *frames_[depth_ - 1]; }
  void TakeLines(Frame& f);
  void WriteLeaf(const Frame& f, std::string_view parent);
  void AppendText(std::string_view text);
  void AppendRawText(std::string_view text);
  void FinishEntity();

  JsonWriter writer_;
  FILE* out_;
  // [0, depth_) are open; each frame stays where it is while others are added.
  std::vector<std::unique_ptr<Frame>> frames_;
  std::size_t depth_ = 0;
  std::string keyScratch_;
  Lex lex_ = Lex::Text;
  Doc doc_ = Doc::BeforeRoot;
  std::string name_;     // the tag name being read
  std::string entity_;   // the entity being read
  bool selfClosing_ = false;
  char skipPrev_ = 0;    // the byte before in a skipped declaration
  bool passing_ = false; // after the root: the bytes pass through
  bool afterCr_ = false; // the last text byte was a CR (written as LF)
};
