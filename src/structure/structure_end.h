// What structure recognition does when a file ends.
#pragma once

struct GlobalData;

// A Java package (or file-scoped C# namespace) still open at the end of the
// file ends here.
void ClosePackageAtEndOfFile(GlobalData& gcd);
// A function whose body never closed is named after the open-scope message;
// no metrics are filed for it.
void ReportOpenFunctionAtEndOfFile(GlobalData& gcd);
