// Run state of the machine-readable notice documents (SARIF log, GitLab
// report): what the command line asked for, the capture of the notices and
// the open documents.
#pragma once

#include <memory>
#include <string>

#include "gate/gate_state.h"
#include "sarif/notice_capture.h"

// One document asked for on the command line.
struct NoticeDocumentRequest {
  int wanted = 0;
  int toReportStream = 0;  // written to the report stream, which carries nothing else
  std::string file;
};

// The open documents (notice_documents.cpp).
struct SarifOutputs;
struct SarifOutputsFree {
  void operator()(SarifOutputs* outputs) const;
};

// A worker's file: its captured notices, written to the documents at its
// merge, and its records for the gate snapshot.
struct DeferredFileNotices {
  FileNotices notices;
  bool due = false;
  GateFileRecords gate;
  void Reset() {
    due = false;
    gate.Clear();
  }
};

struct SarifState {
  NoticeDocumentRequest sarif;   // -x"SARIF file", -xSARIF
  NoticeDocumentRequest gitlab;  // -x"GITLAB file", -xGITLAB
  int capturing = 0;             // a document is open: every counted notice is captured
  NoticeCaptureState capture;
  std::unique_ptr<SarifOutputs, SarifOutputsFree> outputs;
  // While a worker analyses a file: where its captured notices go.
  DeferredFileNotices* deferred = nullptr;
};
