// Line data file names when files are analysed on worker threads. The run
// gives a file's data file the first free name of its munged path ("a_b_c",
// then "a_b_c_2", ...) at the moment the file is opened, in file order. A
// worker cannot wait for that: it takes the name planned for its place in
// the list, as though every file before it had taken one, and the merge
// checks that the name (and the -wv mode line's place) is the one the
// serial run gives; when it is not, the file is analysed again on the main
// thread.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

struct GlobalData;
struct WorkDiffState;

// The names planned for the files of the input list, by index: every file
// whose name lets it be opened takes one, in list order; empty for the
// others. first is the first file with a name (the one assumed to show the
// -wv mode line), -1 for none.
struct DataNamePlan {
  std::vector<std::string> names;
  int first = -1;
};

// What a worker did with its file's data file, checked and applied at the
// merge. Nothing is set for a file analysed on the main thread.
struct LineDataOutcome {
  bool opened = false;     // the data file was created in the staging directory
  bool failed = false;     // its creation or a write of it failed
  bool modeShown = false;  // the -wv mode line was taken as shown by an earlier file
  std::string base;        // the munged path the name was made from
  std::string name;        // the name it was given
  std::string writePath;   // where it was written

  void Clear();
};

// The first of base, base_2, base_3... that used does not hold.
std::string FreeDataName(const std::string& base, const std::unordered_set<std::string>& used);

// The plan for the run's file list; empty when the run writes no line data.
DataNamePlan PlanDataFileNames(GlobalData& run);

// Lets a worker's record write line data files into the run's staging
// directory under the planned names (nothing when the plan is empty).
void PrepareWorkerLineData(const WorkDiffState& run, const DataNamePlan& plan, WorkDiffState& worker);

// True when the worker's data file cannot stand for the serial run's: its
// creation or a write failed, its name is not the one the run gives now, or
// it assumed the -wv mode line shown when it was not (or the other way).
bool LineDataOverturned(const LineDataOutcome& outcome, const GlobalData& run);

// Removes the data file a worker wrote for a file about to be analysed
// again. No other file can hold that name at this point: a worker writes
// only its own planned name, and the serial run gives a file no planned name
// of a later file.
void DiscardWorkerDataFile(const LineDataOutcome& outcome);

// Applies an accepted worker data file to the run: its name is taken, and
// under -wv the mode line has been shown.
void MergeLineData(const LineDataOutcome& outcome, GlobalData& run);
