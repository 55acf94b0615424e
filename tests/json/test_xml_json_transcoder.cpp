// The XML to JSON transcoder on small documents: the shape rules, values,
// entities, documents cut anywhere into pieces, broken and unfinished input.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "json/xml_json_transcoder.h"

namespace {

// Transcodes the document fed in pieces of `piece` bytes (0: all at once).
std::string Transcode(const std::string& xml, std::size_t piece = 0) {
  char* buffer = nullptr;
  std::size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  {
    XmlJsonTranscoder t(out);
    if (piece == 0) {
      t.Feed(xml);
    } else {
      for (std::size_t i = 0; i < xml.size(); i += piece) t.Feed(xml.data() + i, std::min(piece, xml.size() - i));
    }
    EXPECT_TRUE(t.Finish());
  }
  std::fclose(out);
  std::string json(buffer, size);
  std::free(buffer);
  return json;
}

// The JSON without its layout (no string below holds a blank that matters
// outside the ones compared explicitly).
std::string Compact(const std::string& json) {
  std::string out;
  bool inString = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      out.push_back(c);
      if (c == '\\') out.push_back(json[++i]);
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
      out.push_back(c);
    } else if (c != ' ' && c != '\n') {
      out.push_back(c);
    }
  }
  return out;
}

const std::string kHead = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n<lqadoc>\n";

TEST(XmlJsonTranscoder, ShapesValuesAndPrettyLayout) {
  const std::string xml = kHead +
                          "<program>Line Quality Analyzer</program>\n<version>7.75</version>\n"
                          "<file>\n<name>007</name>\n<loc>  12</loc>\n</file>\n"
                          "<report>\n<name>Project Functional Metrics</name>\n"
                          "<function>\n<name>f</name>\n<parameters>(int a)</parameters>\n<parameters>1</parameters>\n"
                          "</function>\n<class>\n<name>C</name>\n</class>\n<total>1.50</total>\n<avg>-nan</avg>\n"
                          "<max>inf</max>\n</report>\n</lqadoc>\n";
  const std::string json = Transcode(xml);
  EXPECT_EQ(json.substr(0, 50), "{\n  \"format_version\": 1,\n  \"lqadoc\": {\n    \"progra");
  EXPECT_EQ(Compact(json),
            "{\"format_version\":1,\"lqadoc\":{\"program\":\"Line Quality Analyzer\",\"version\":\"7.75\","
            "\"file\":[{\"name\":\"007\",\"loc\":12}],"
            "\"report\":[{\"name\":\"Project Functional Metrics\",\"entries\":["
            "{\"kind\":\"function\",\"name\":\"f\",\"parameters\":\"(int a)\",\"parameter_count\":1},"
            "{\"kind\":\"class\",\"name\":\"C\"}],\"total\":1.50,\"avg\":null,\"max\":null}]}}");
  EXPECT_EQ(json.back(), '\n');
}

TEST(XmlJsonTranscoder, LateMembersAndLateArraysWaitForTheEndOfTheirObject) {
  // The elapsed time interleaves its value and units; a member after an
  // array has begun, and a notice between the files, go to the end.
  const std::string xml = kHead +
                          "<file><name>a</name></file>\n<notice><type>40</type></notice>\n"
                          "<file><name>b</name></file>\n<totals><loc>3</loc></totals>\n"
                          "<Elapsed_Time><value>1.5</value><units>seconds</units><value>0:00:00:01</value>"
                          "<units>Day:Hr:Min:Sec</units></Elapsed_Time>\n</lqadoc>\n";
  EXPECT_EQ(Compact(Transcode(xml)),
            "{\"format_version\":1,\"lqadoc\":{\"file\":[{\"name\":\"a\"},{\"name\":\"b\"}],"
            "\"totals\":{\"loc\":3},\"Elapsed_Time\":{\"value\":[1.5,\"0:00:00:01\"],"
            "\"units\":[\"seconds\",\"Day:Hr:Min:Sec\"]},\"notice\":[{\"type\":40}]}}");
}

TEST(XmlJsonTranscoder, EntitiesTextLinesAndPieces) {
  const std::string xml = kHead +
                          "<title>T&lt;&amp;&gt;&quot;&apos; G&#252;nther &#x263A; &bogus; &#0; a & b</title>\n"
                          "<file>\n<name>x.c</name>\n      76: first line\r\n\r\n   \r      94: second &amp; last\r"
                          "<loc>2</loc>\n</file>\n</lqadoc>\n  Error: after the document\n";
  const std::string whole = Transcode(xml);
  EXPECT_NE(whole.find("\"title\": \"T<&>\\\"' G\xc3\xbcnther \xe2\x98\xba &bogus; ? a & b\""), std::string::npos)
      << whole;
  EXPECT_NE(Compact(whole).find("\"text\":[\"      76: first line\",\"      94: second & last\"]"),
            std::string::npos)
      << whole;
  // What follows the document passes through after it.
  EXPECT_EQ(whole.substr(whole.size() - 30), "}\n  Error: after the document\n");
  for (std::size_t piece : {1, 2, 3, 7, 64}) EXPECT_EQ(Transcode(xml, piece), whole) << piece;
}

TEST(XmlJsonTranscoder, BrokenOrUnfinishedInputStillGivesOneDocument) {
  // A run that ends early leaves elements open; a stray end tag is ignored,
  // one that skips open elements closes them.
  EXPECT_EQ(Compact(Transcode(kHead + "<file><name>a</name><report><name>r</name>")),
            "{\"format_version\":1,\"lqadoc\":{\"file\":[{\"name\":\"a\",\"report\":[{\"name\":\"r\"}]}]}}");
  EXPECT_EQ(Compact(Transcode(kHead + "</nothing><file><name>a</file><x/><y a=\"1\">2</y></lqadoc>")),
            "{\"format_version\":1,\"lqadoc\":{\"file\":[{\"name\":\"a\"}],\"x\":\"\",\"y\":2}}");
  EXPECT_EQ(Transcode(""), "");
#ifdef NDEBUG
  // A name the tables do not know to repeat is numbered, never written twice
  // (builds with assertions stop on it instead).
  EXPECT_EQ(Compact(Transcode(kHead + "<a>1</a><a>2</a><a>3</a></lqadoc>")),
            "{\"format_version\":1,\"lqadoc\":{\"a\":1,\"a#2\":2,\"a#3\":3}}");
#endif
}

}  // namespace
