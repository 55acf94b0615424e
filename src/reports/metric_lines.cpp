#include "reports/metric_lines.h"

#include <algorithm>
#include <string>

#include "common/gcd.h"
#include "common/output.h"

namespace {

// One integer field of a metric line in each output form.
struct IntField {
  const char* text;  // text label, e.g. "  LOC "
  const char* html;  // the same with the word in bold
  const char* csv;   // the text label without its spaces
  const char* xml;   // element name
  int value;
};

OutputMode Mode(const GlobalData& gcd) { return gcd.sw.outputMode; }

// Text and HTML: "%s%-7d" for every field but the last, "%s%8d\n" for it.
// CSV: "%s,%d," and "%s,%d\n". XML: one element per field.
template <std::size_t N>
void WriteIntFields(const IntField (&fields)[N], GlobalData& gcd) {
  const OutputMode mode = Mode(gcd);
  for (std::size_t i = 0; i < N; ++i) {
    const IntField& f = fields[i];
    const bool last = i + 1 == N;
    switch (mode) {
      case OutputMode::Xml:
        OutF("<%s>%d</%s>\n", f.xml, f.value, f.xml);
        break;
      case OutputMode::Csv:
        if (last)
          OutF("%s,%d\n", f.csv, f.value);
        else
          OutF("%s,%d,", f.csv, f.value);
        break;
      case OutputMode::Html:
      case OutputMode::Text: {
        const char* label = mode == OutputMode::Html ? f.html : f.text;
        if (last)
          OutF("%s%8d\n", label, f.value);
        else
          OutF("%s%-7d", label, f.value);
        break;
      }
    }
  }
}

// The five counts of a LOC line, one call of the writer each line.
void WriteLocFields(int loc, int eloc, int lloc, int comments, int lines, GlobalData& gcd) {
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<loc>%d</loc>\n<eloc>%d</eloc>\n<lloc>%d</lloc>\n<comments>%d</comments>\n<lines>%d</lines>\n", loc,
           eloc, lloc, comments, lines);
      break;
    case OutputMode::Csv:
      OutF("LOC,%d,eLOC,%d,lLOC,%d,Comment,%d,Lines,%d\n", loc, eloc, lloc, comments, lines);
      break;
    case OutputMode::Html:
      OutF("  <b>LOC</b> %-7d  <b>eLOC</b> %-7d  <b>lLOC</b> %-7d  <b>Comment</b> %-7d  <b>Lines</b> %8d\n", loc,
           eloc, lloc, comments, lines);
      break;
    case OutputMode::Text:
      OutF("  LOC %-7d  eLOC %-7d  lLOC %-7d  Comment %-7d  Lines %8d\n", loc, eloc, lloc, comments, lines);
      break;
  }
}

// Publ / Prot / Private / Total rows of the attribute and method lines.
struct MemberLine {
  const char* text;     // leading label written alone
  const char* html;
  const char* csv;
  const char* xml;      // group element
  const char* xmlTotal; // element of the sum
  bool csvPadded;       // "%7d" and "%8d" columns in CSV
};

void WriteMemberLine(const MemberLine& line, int pub, int prot, int priv, GlobalData& gcd) {
  const int total = pub + prot + priv;
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<%s>\n<public>%d</public>\n<protected>%d</protected>\n<private>%d</private>\n<%s>%d</%s>\n</%s>\n",
           line.xml, pub, prot, priv, line.xmlTotal, total, line.xmlTotal, line.xml);
      return;
    case OutputMode::Csv:
      OutF("%s,", line.csv);
      if (line.csvPadded) {
        OutF("%s,%7d,%s,%7d,%s,%7d,", "Publ", pub, "Prot", prot, "Private", priv);
        OutF("%s,%8d\n", "Total", total);
      } else {
        OutF("%s,%d,%s,%d,%s,%d,%s,%d\n", "Publ", pub, "Prot", prot, "Private", priv, "Total", total);
      }
      return;
    case OutputMode::Html:
    case OutputMode::Text:
      break;
  }
  const bool html = Mode(gcd) == OutputMode::Html;
  OutS(html ? line.html : line.text);
  const IntField fields[] = {
      {"  Publ ", "  <b>Publ</b> ", "Publ", "public", pub},
      {"  Prot ", "  <b>Prot</b> ", "Prot", "protected", prot},
      {"  Private ", "  <b>Private</b> ", "Private", "private", priv},
      {"  Total ", "  <b>Total</b> ", "Total", "total", total},
  };
  WriteIntFields(fields, gcd);
}

// The three function point values of FPLine and FPLOCLine.
void WriteFunctionPoints(double fpLoc, double fpEloc, double fpLloc, const char* const (&xml)[3],
                         GlobalData& gcd) {
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<%s>%.1f</%s>\n<%s>%.1f</%s>\n<%s>%.1f</%s>\n", xml[0], fpLoc, xml[0], xml[1], fpEloc, xml[1],
           xml[2], fpLloc, xml[2]);
      break;
    case OutputMode::Csv:
      OutF("%s,%-7.1f,%s,%-7.1f,%s,%7.1f\n", "FP(LOC)", fpLoc, "FP(eLOC)", fpEloc, "FP(lLOC)", fpLloc);
      break;
    case OutputMode::Html:
      OutF("%s%-7.1f%s%-7.1f%s%7.1f\n", "  <b>Function Points</b>         <b>FP(LOC)</b> ", fpLoc,
           " <b>FP(eLOC)</b> ", fpEloc, "<b>FP(lLOC)</b> ", fpLloc);
      break;
    case OutputMode::Text:
      OutF("%s%-7.1f%s%-7.1f%s%7.1f\n", "  Function Points         FP(LOC) ", fpLoc, " FP(eLOC) ", fpEloc,
           "FP(lLOC) ", fpLloc);
      break;
  }
}

}  // namespace

void LOCLine(int loc, int eloc, int lloc, int comments, int lines, GlobalData& gcd) {
  WriteLocFields(std::max(loc, 0), std::max(eloc, 0), std::max(lloc, 0), std::max(comments, 0), lines, gcd);
}

void LOCFileAvg(int loc, int eloc, int lloc, int comments, int lines, int files, GlobalData& gcd) {
  if (files < 1) return;
  const int avgLoc = std::max(loc, 0) / files;
  const int avgEloc = std::max(eloc, 0) / files;
  const int avgLloc = std::max(lloc, 0) / files;
  const int avgComments = std::max(comments, 0) / files;
  const int avgLines = lines / files;
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      return;
    case OutputMode::Csv:
      OutS("Avg ");
      break;
    case OutputMode::Html:
      OutF("  <b>Average per File</b>, metric/%-d files\n", files);
      break;
    case OutputMode::Text:
      OutF("  Average per File, metric/%-d files\n", files);
      break;
  }
  WriteLocFields(avgLoc, avgEloc, avgLloc, avgComments, avgLines, gcd);
}

void DataLine(int publicCount, int protectedCount, int privateCount, GlobalData& gcd) {
  static constexpr MemberLine kLine{"  Attributes ", "  <b>Attributes</b> ", "Attributes", "attributes", "total",
                                    true};
  WriteMemberLine(kLine, publicCount, protectedCount, privateCount, gcd);
}

void MethodLine(int publicCount, int protectedCount, int privateCount, GlobalData& gcd) {
  static constexpr MemberLine kLine{"  Methods    ", "  <b>Methods</b>    ", "Methods", "methods", "totals", false};
  WriteMemberLine(kLine, publicCount, protectedCount, privateCount, gcd);
}

void ClassFuncLine(int classes, int functions, GlobalData& gcd) {
  const double perClass = classes < 1 ? 0.0 : static_cast<double>(functions) / classes;
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<total_classes>%d</total_classes>\n<total_functions>%d</total_functions>\n"
           "<average_methods_per_class>%.2f</average_methods_per_class>\n",
           classes, functions, perClass);
      break;
    case OutputMode::Csv:
      OutF("%s,%d,%s,%d,%s,%6.2f\n", "Total Classses", classes, "Total Functions", functions, "Avg Func/Class",
           perClass);
      break;
    case OutputMode::Html:
      OutF("%s%-10d%s%-6d%s%6.2f\n", "  <b>Total Classses</b> ", classes, "  <b>Total Functions</b> ", functions,
           "  <b>Avg Func/Class</b> ", perClass);
      break;
    case OutputMode::Text:
      OutF("%s%-10d%s%-6d%s%6.2f\n", "  Total Classses ", classes, "  Total Functions ", functions,
           "  Avg Func/Class ", perClass);
      break;
  }
}

void ComplexLine(int parameters, int returns, int cyclomatic, GlobalData& gcd) {
  if (!gcd.sw.complexity) return;
  const int interface = parameters + returns;
  const int total = interface + cyclomatic;
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<parameters>%d</parameters>\n<returns>%d</returns>\n<interface_complexity>%d</interface_complexity>\n"
           "<cyclomatic_complexity>%d</cyclomatic_complexity>\n<total_complexity>%d</total_complexity>\n",
           parameters, returns, interface, cyclomatic, total);
      break;
    case OutputMode::Csv:
      OutF("Param,%d,Return,%d,Cyclo Vg,%d,Total,%d\n", parameters, returns, cyclomatic, total);
      break;
    case OutputMode::Html:
      OutF("  <b>Complexity</b>   <b>Param</b> %-7d <b>Return</b> %-6d <b>Cyclo Vg</b> %-7d <b>Total</b> %8d\n",
           parameters, returns, cyclomatic, total);
      break;
    case OutputMode::Text:
      OutF("  Complexity   Param %-7d Return %-6d Cyclo Vg %-7d Total %8d\n", parameters, returns, cyclomatic,
           total);
      break;
  }
}

void FileMethodNotices(int functions, int notices, int eloc, GlobalData& gcd) {
  const double perFunction = functions <= 0 ? 0.0 : static_cast<double>(notices) / functions;
  const double perKeloc = eloc <= 0 ? 0.0 : static_cast<double>(notices) / eloc * 1000.0;
  switch (Mode(gcd)) {
    case OutputMode::Xml:
      OutF("<function_count>%d</function_count>\n<quality_notices>%d</quality_notices>\n"
           "<notices_per_function>%.1f</notices_per_function>\n<notices_per_KeLOC>%.0f</notices_per_KeLOC>\n",
           functions, notices, perFunction, perKeloc);
      break;
    case OutputMode::Csv:
      OutF("%s,%-7d,%s,%-7d,%s,%-7.1f,%s,%-7.0f\n", "Funcs ", functions, "Notice", notices, "QN/Func", perFunction,
           "QN/KeLOC", perKeloc);
      break;
    case OutputMode::Html:
      OutF("%s%-7d%s %-7d%s  %-7.1f%s %6.0f\n", "  <b>Quality</b>      <b>Funcs</b> ", functions,
           " <b>Notice</b>", notices, "<b>QN/Func</b>", perFunction, "<b>QN/KeLOC</b>", perKeloc);
      break;
    case OutputMode::Text:
      OutF("%s%-7d%s %-7d%s  %-7.1f%s %6.0f\n", "  Quality      Funcs ", functions, " Notice", notices, "QN/Func",
           perFunction, "QN/KeLOC", perKeloc);
      break;
  }
}

void FPLine(double fpLoc, double fpEloc, double fpLloc, GlobalData& gcd) {
  static constexpr const char* kXml[3] = {"function_point_loc", "function_point_eloc", "function_point_lloc"};
  WriteFunctionPoints(fpLoc, fpEloc, fpLloc, kXml, gcd);
}

void FPFileLine(double fpLoc, double fpEloc, double fpLloc, GlobalData& gcd) {
  static constexpr const char* kXml[3] = {"function_points_loc", "function_points_eloc", "function_points_lloc"};
  WriteFunctionPoints(fpLoc, fpEloc, fpLloc, kXml, gcd);
}
