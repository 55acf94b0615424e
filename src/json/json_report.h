// The JSON output mode (-J): the run writes its XML document, and the report
// stream transcodes it to JSON on its way to standard output or the -O file.
// The report stream is replaced by a stream of our own (fopencookie) whose
// bytes feed an XmlJsonTranscoder writing to the stream it replaced, so that
// every XML writer, and every message written into the document, passes it.
#pragma once

struct GlobalData;

// Puts the transcoder in front of the report stream. Called where the XML
// document begins; does nothing without -J, when it is already in place, or
// when a notice document takes the report stream (the report then goes
// nowhere).
void StartJsonReport(GlobalData& gcd);
// Completes the JSON document (closing what an early end left open) and puts
// the stream it wrote to back as the report stream. False when a write
// failed. Does nothing when no transcoder is in place.
bool EndJsonReport(GlobalData& gcd);
